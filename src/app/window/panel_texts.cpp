#include "app/window/panel_texts.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>
#include <algorithm>

namespace app {

namespace {
// The product's own name stands where a program names its author and its publisher.
const char kProductName[] = "青禾歌词编辑器";
}  // namespace

QString quickStartText() {
  return QStringLiteral(
      "欢迎大家使用：青禾程序集—LRC歌词编辑器\r\n"
      "\r\n"
      "下面由我为大家介绍一下使用方法：\r\n"
      "\r\n"
      "第一步：文件→打开歌词文件→添加txt."
      "lrc歌词文件（可以直接拖拽歌词\\文本文件直接到歌词编辑框）\r\n"
      "\r\n"
      "第二步：文件→ "
      "打开音乐—添加mp3,"
      "wav格式歌曲文件（可以直接拖拽音频文件直接到歌词编辑器窗口注意：歌词编辑框除外）\r\n"
      "\r\n"
      "第三步：当歌曲和歌词都导入成功以后，现在就可以开始编辑了。\r\n"
      "\r\n"
      "第四步：我们单击播放，这时前面的时间标签就开始走了。我们只要在歌曲唱到的歌词部分，我们单击加"
      "入标签（快捷键F5）就可以将滚动的时间标签加入到歌词文本处首\r\n"
      "\r\n"
      "第四步：当在编辑歌词过程中，如果有错误。或自己还想加入文本。您只需在编辑区右击→预览或编辑歌"
      "词。这时您就可以随意编辑。但注意：前面的时间标签不能更改。 "
      "鼠标移至歌词预览编辑框底部关闭此编辑框\r\n"
      "\r\n"
      "第五步：当你觉得歌词全部编辑完以后。我建议你在生成之前最好测试一下歌词。编辑→测试播放 或 "
      "直接点测试按钮（F2 快捷键） 进行对歌词的测试\r\n"
      " \r\n"
      "                                                                   →双击关闭←");
}

QString aboutText(const ContactTexts& contact) {
  QStringList lines = {
      QString(16, QLatin1Char(' ')) + QStringLiteral("关于软件："),
      QStringLiteral("软件作者：") + QString::fromUtf8(kProductName),
      QStringLiteral("软件版本：青禾程序集—LRC歌词编辑器V2013.07.21"),
      QStringLiteral("发布单位：") + QString::fromUtf8(kProductName),
      QStringLiteral("联系邮箱：") + contact.email,
      QStringLiteral("联系账号：") + contact.account,
      QStringLiteral("开发日期：2013.07.21"),
      QStringLiteral("适用系统：windows xp；windows7；windows8 "),
  };
  // Each line after the heading follows an empty one.
  for (qsizetype i = lines.size() - 1; i > 0; --i) lines.insert(i, QString());
  for (int i = 0; i < 7; ++i) lines.append(QString());
  lines.append(QString(28, QLatin1Char(' ')) + QStringLiteral("→双击关闭←"));
  return lines.join(QStringLiteral("\r\n"));
}

QString panelFace() {
  // 楷体 under its Chinese and its Latin name, then the Kai faces of Debian's fonts-arphic-ukai;
  // the CJK faces Debian installs stand in only where no Kai face is there.
  static const char* const kFaces[] = {"楷体",
                                       "KaiTi",
                                       "AR PL UKai CN",
                                       "AR PL UKai TW",
                                       "AR PL UKai HK",
                                       "AR PL ZenKai Uni",
                                       "Noto Serif CJK SC",
                                       "Noto Sans CJK SC"};
  const QStringList installed = QFontDatabase::families();
  for (const char* face : kFaces) {
    const QString name = QString::fromUtf8(face);
    if (installed.contains(name, Qt::CaseInsensitive)) return name;
  }
  return QString::fromUtf8(kFaces[0]);
}

QFont panelFont(int pixelHeight) {
  QFont font(panelFace());
  font.setPixelSize(pixelHeight);
  return font;
}

QString panelStyleSheet(const QFont& font) {
  return QStringLiteral("font-family: \"%1\"; font-size: %2px;")
      .arg(font.family())
      .arg(font.pixelSize());
}

QString panelRichText(const QString& text, const QFont& font, int pixelHeight) {
  QStringList lines = text.split(QStringLiteral("\r\n"));
  for (QString& line : lines) line = line.toHtmlEscaped();
  // One block, so that empty lines keep their height; pre-wrap keeps runs of spaces.
  const int distance = std::min(0, pixelHeight - QFontMetrics(font).lineSpacing());
  return QStringLiteral(
             "<p style=\"margin:0; white-space:pre-wrap; -qt-line-height-type:line-distance; "
             "line-height:%1px;\">%2</p>")
      .arg(QString::number(distance), lines.join(QStringLiteral("<br />")));
}

}  // namespace app
