#include "app/adapters/qt_paths.h"

#include <QFile>

#include "platform/native_path.h"

namespace app {

std::string toGbkPath(const QByteArray& nativePath) {
  return platform::gbkPath(std::string_view(nativePath.constData(), nativePath.size()));
}

std::string toGbkPath(const QString& path) { return toGbkPath(QFile::encodeName(path)); }

QString fromGbkPath(std::string_view gbkPath) {
  const std::string native = platform::nativePath(gbkPath);
  return QFile::decodeName(QByteArray(native.data(), static_cast<qsizetype>(native.size())));
}

QUrl localFileUrl(std::string_view gbkPath) {
  const std::string native = platform::nativePath(gbkPath);
  // Percent-encoding keeps every byte; QUrl::fromLocalFile would take the path as text first.
  const QByteArray encoded =
      QByteArray(native.data(), static_cast<qsizetype>(native.size())).toPercentEncoding("/");
  QUrl url;
  url.setScheme(QStringLiteral("file"));
  url.setPath(QString::fromLatin1(encoded), QUrl::TolerantMode);
  return url;
}

QByteArray nativePathOf(const QUrl& url) {
  // The fully encoded path still holds undecodable bytes as %XX; toLocalFile would have made
  // them U+FFFD.
  QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  if (!url.host().isEmpty()) path.prepend("//" + url.host(QUrl::FullyEncoded).toLatin1());
  return path;
}

}  // namespace app
