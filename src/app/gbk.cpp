#include "app/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace app {

namespace {

bool isAscii(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

QString toQString(std::string_view gbk) {
  // Most lyric lines of a tagged file start with ASCII tags; plain ASCII skips the codec.
  if (isAscii(gbk)) return QString::fromLatin1(gbk.data(), static_cast<qsizetype>(gbk.size()));
  // Stateless: a lone lead byte at the end must come out as U+FFFD, not wait for a next call.
  // QStringConverter::encodingForName does not know "GB18030" in Qt 6.4; the ICU name does.
  thread_local QStringDecoder decoder("GB18030", QStringConverter::Flag::Stateless);
  return decoder.decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
}

std::string toGbk(const QString& text) {
  thread_local QStringEncoder encoder("GB18030", QStringConverter::Flag::Stateless);
  const QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace app
