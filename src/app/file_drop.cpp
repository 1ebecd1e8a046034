#include "app/file_drop.h"

#include <QMimeData>
#include <QUrl>

namespace app {

QString droppedPathText(const QMimeData* mime) {
  if (!mime || !mime->hasUrls()) return {};
  QStringList paths;
  for (const QUrl& url : mime->urls()) {
    // Links to web pages and other remote places are not files the editor can read.
    if (url.isLocalFile()) paths.push_back(url.toLocalFile());
  }
  if (paths.size() == 1) return paths.front();
  QString text;
  for (const QString& path : paths) text += path + QStringLiteral("\r\n");
  return text;
}

}  // namespace app
