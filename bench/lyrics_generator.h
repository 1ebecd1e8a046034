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

}  // namespace bench
