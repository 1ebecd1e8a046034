#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app/adapters/gbk.h"
#include "app/window/font_dialog.h"
#include "app/window/lyrics_list_view.h"
#include "app/window/main_menus.h"
#include "app/window/skin.h"
#include "support/fake_services.h"
#include "support/skin_scope.h"

namespace {

using Values = platform::FontChooser::Values;

// What a widget really draws its text in, once its style sheets are applied.
struct Drawn {
  QString family;
  int pointSize;
  bool bold;
  QColor text;
};

Drawn drawn(QWidget* widget) {
  widget->ensurePolished();
  const QFontInfo info(widget->font());
  return {info.family(), info.pointSize(), info.bold(), widget->palette().color(QPalette::Text)};
}

}  // namespace

TEST(FontBindings, ChangeFontRestylesOnlyTheLyricsListAndThePreviewBoxUnderTheSkin) {
  testsupport::SkinScope skin;
  testsupport::EditorHarness harness;
  harness.start();
  app::MainWindow& window = harness.window();
  QWidget* lyricsList = window.lyricsView();
  QWidget* previewBox = window.previewBox();
  auto* singer = window.findChild<QLineEdit*>(QStringLiteral("编辑框_歌手"));
  ASSERT_NE(singer, nullptr);
  QAction* changeFont = window.menus().action(QStringLiteral("ChangeFont"));
  ASSERT_NE(changeFont, nullptr);

  const Drawn listBefore = drawn(lyricsList);
  const Drawn singerBefore = drawn(singer);
  const QFont singerFont = singer->font();

  // A first cancel still applies the start values: the skin's face and size, black text.
  harness.fontChooser.answer = std::nullopt;
  changeFont->trigger();
  ASSERT_EQ(harness.fontChooser.opened.size(), 1u);
  EXPECT_EQ(harness.fontChooser.opened[0], Values{});
  for (QWidget* target : {lyricsList, previewBox}) {
    SCOPED_TRACE(target->objectName().toStdString());
    const Drawn now = drawn(target);
    EXPECT_EQ(now.family, listBefore.family);
    EXPECT_EQ(now.pointSize, listBefore.pointSize);
    EXPECT_FALSE(now.bold);
    EXPECT_EQ(now.text, QColor(0, 0, 0));
  }

  // 14-point bold red reaches both controls through the skin, and nothing else.
  const QString face = QStringLiteral("DejaVu Serif");
  harness.fontChooser.answer = Values{app::toGbk(face), 14, 700, false, false, false, {255, 0, 0}};
  changeFont->trigger();
  for (QWidget* target : {lyricsList, previewBox}) {
    SCOPED_TRACE(target->objectName().toStdString());
    const Drawn now = drawn(target);
    EXPECT_EQ(now.family, face);
    EXPECT_EQ(now.pointSize, 14);
    EXPECT_TRUE(now.bold);
    EXPECT_EQ(now.text, QColor(255, 0, 0));
  }
  const Drawn singerAfter = drawn(singer);
  EXPECT_EQ(singer->font(), singerFont);
  EXPECT_EQ(singerAfter.family, singerBefore.family);
  EXPECT_EQ(singerAfter.text, singerBefore.text);

  // The preview box really paints its text red.
  auto* preview = window.previewBox();
  preview->setPlainText(QStringLiteral("██████"));
  const QImage shot = preview->viewport()->grab().toImage();
  bool red = false;
  for (int y = 0; y < shot.height() && !red; ++y)
    for (int x = 0; x < shot.width() && !red; ++x) red = shot.pixelColor(x, y) == QColor(255, 0, 0);
  EXPECT_TRUE(red);

  // A later cancel opens with and keeps the confirmed values.
  harness.fontChooser.answer = std::nullopt;
  changeFont->trigger();
  ASSERT_EQ(harness.fontChooser.opened.size(), 3u);
  EXPECT_EQ(harness.fontChooser.opened[2].size, 14);
  EXPECT_EQ(drawn(lyricsList).text, QColor(255, 0, 0));
  EXPECT_EQ(drawn(previewBox).pointSize, 14);
}

TEST(FontDialog, ShowsAndGivesBackItsValuesAndOpensInTheDefaultFace) {
  app::FontDialog dialog;
  EXPECT_EQ(dialog.objectName(), QStringLiteral("通用对话框_更改字体"));
  ASSERT_NE(dialog.fontChooser(), nullptr);

  // No name and size 0 show the face and size the application draws with.
  dialog.setValues({});
  const QFontInfo standard(dialog.font());
  Values shown = dialog.values();
  EXPECT_EQ(app::toQString(shown.name), standard.family());
  EXPECT_EQ(shown.size, standard.pointSize());
  EXPECT_LT(shown.weight, 700);
  EXPECT_EQ(shown.colour, (platform::RgbColour{0, 0, 0}));

  const Values cases[] = {
      {app::toGbk(QStringLiteral("DejaVu Serif")), 14, 700, false, false, false, {255, 0, 0}},
      // Its regular style is called "Book": the dialog must not fall back to another style.
      {app::toGbk(QStringLiteral("DejaVu Sans")), 12, 400, false, false, false, {0, 0, 0}},
      {app::toGbk(QStringLiteral("DejaVu Sans")), 9, 400, true, true, true, {0, 128, 255}},
  };
  for (const Values& values : cases) {
    SCOPED_TRACE(values.name);
    dialog.setValues(values);
    EXPECT_EQ(dialog.values(), values);
  }

  // A face picked in the embedded chooser is what the dialog gives back, with the colour kept.
  QFont picked(QStringLiteral("DejaVu Sans Mono"));
  picked.setPointSize(20);
  picked.setBold(true);
  dialog.fontChooser()->setCurrentFont(picked);
  shown = dialog.values();
  EXPECT_EQ(app::toQString(shown.name), QStringLiteral("DejaVu Sans Mono"));
  EXPECT_EQ(shown.size, 20);
  EXPECT_GE(shown.weight, 700);
  EXPECT_EQ(shown.colour, (platform::RgbColour{0, 128, 255}));
}
