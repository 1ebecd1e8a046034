#pragma once

#include <QString>
#include <QStringEncoder>
#include <cstdio>
#include <string>

namespace bench {

// A tagged GBK lyrics text of about `targetBytes` bytes, CR LF lines of varying length.
inline std::string generateGbkLyrics(std::size_t targetBytes) {
  const QString words[] = {
      QStringLiteral("故事的小黄花"),         QStringLiteral("从出生那年就飘着"),
      QStringLiteral("童年的荡秋千"),         QStringLiteral("随记忆一直晃到现在"),
      QStringLiteral("Re So So Si Do Si La"), QStringLiteral("刮风这天")};
  const QString tails[] = {QStringLiteral("一起走过"), QStringLiteral("你在哪里"),
                           QStringLiteral("我想你"),   QStringLiteral("窗外的雨滴"),
                           QStringLiteral("晴天"),     QStringLiteral("说好的幸福呢")};
  QStringEncoder encoder("GB18030", QStringConverter::Flag::Stateless);
  std::string encoded[6];
  std::string tail[6];
  for (int i = 0; i < 6; ++i) {
    encoded[i] = QByteArray(encoder.encode(words[i])).toStdString();
    tail[i] = QByteArray(encoder.encode(tails[i])).toStdString();
  }
  std::string text;
  text.reserve(targetBytes + 64);
  for (long line = 0; text.size() < targetBytes; ++line) {
    char tag[16];
    std::snprintf(tag, sizeof tag, "[%02ld:%02ld.%02ld]", (line / 6000) % 100, (line / 100) % 60,
                  line % 100);
    text += tag;
    text += encoded[line % 6];
    text += tail[(line / 6) % 6];
    text += "\r\n";
  }
  return text;
}

// One GBK line of exactly `bytes` bytes without a line break: tags and lyrics run together,
// cut at a character boundary and padded with ASCII spaces.
inline std::string generateGbkLine(std::size_t bytes) {
  std::string line = generateGbkLyrics(bytes + bytes / 4 + 64);
  std::string joined;
  joined.reserve(line.size());
  for (std::size_t pos = 0; pos < line.size(); ++pos) {
    if (line[pos] == '\r' && pos + 1 < line.size() && line[pos + 1] == '\n') {
      ++pos;
      continue;
    }
    joined += line[pos];
  }
  // Every character of the generated text is one ASCII byte or two bytes.
  std::size_t end = 0;
  while (end < joined.size()) {
    const std::size_t width = static_cast<unsigned char>(joined[end]) >= 0x80 ? 2 : 1;
    if (end + width > bytes) break;
    end += width;
  }
  joined.resize(end);
  joined.resize(bytes, ' ');
  return joined;
}

}  // namespace bench
