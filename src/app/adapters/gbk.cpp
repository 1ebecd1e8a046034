#include "app/adapters/gbk.h"

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

// Length of the text without a character cut off at its end (a lead byte without its trail,
// or a four-byte GB18030 form missing bytes).
std::size_t completeLength(std::string_view bytes) {
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    std::size_t width = 1;
    if (lead >= 0x81 && lead <= 0xFE) {
      width = 2;
      if (pos + 1 < bytes.size()) {
        const auto second = static_cast<unsigned char>(bytes[pos + 1]);
        if (second >= 0x30 && second <= 0x39) width = 4;
      }
    }
    if (pos + width > bytes.size()) return pos;
    pos += width;
  }
  return pos;
}

}  // namespace

QString toQString(std::string_view gbk) {
  // Most lyric lines of a tagged file start with ASCII tags; plain ASCII skips the codec.
  if (isAscii(gbk)) return QString::fromLatin1(gbk.data(), static_cast<qsizetype>(gbk.size()));
  // Stateless: a lone lead byte at the end must come out as U+FFFD, not wait for a next call.
  // QStringConverter::encodingForName does not know "GB18030" in Qt 6.4; the ICU name does.
  thread_local QStringDecoder decoder("GB18030", QStringConverter::Flag::Stateless);
  // The ICU-backed decoder silently drops a character cut off at the end, even when stateless;
  // the user must see that something is there, so it becomes U+FFFD.
  const std::size_t complete = completeLength(gbk);
  QString text = decoder.decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(complete)));
  if (complete < gbk.size()) text += QChar::ReplacementCharacter;
  return text;
}

std::string toGbk(const QString& text) {
  thread_local QStringEncoder encoder("GB18030", QStringConverter::Flag::Stateless);
  const QByteArray bytes = encoder.encode(text);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace app
