#include "app/window/skin.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStringListModel>
#include <QToolBar>
#include <QWidget>
#include <map>

#include "app/program_directory.h"
#include "app/window/lyrics_list_view.h"
#include "app/window/main_window.h"
#include "design_layout.h"
#include "support/skin_scope.h"

namespace {

using testsupport::SkinScope;

// Every named widget of `window` with its geometry.
std::map<QString, QRect> namedGeometries(const app::MainWindow& window) {
  std::map<QString, QRect> geometries;
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    if (!widget->objectName().isEmpty() && !widget->objectName().startsWith(QLatin1String("qt_"))) {
      geometries[widget->objectName()] = widget->geometry();
    }
  }
  return geometries;
}

void showAndPolish(app::MainWindow& window) {
  window.show();
  QApplication::processEvents();
}

}  // namespace

TEST(SkinTest, OnlyNumbersWithASheetChangeTheLook) {
  for (int number : {-1, 0, 1, 13, 15, 33, 34, 1000}) {
    SCOPED_TRACE(number);
    SkinScope skin(number);
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
  }
  {
    SkinScope skin(app::kStartupSkin);
    EXPECT_EQ(app::kStartupSkin, 14);
    EXPECT_FALSE(qApp->styleSheet().isEmpty());
    EXPECT_EQ(qApp->styleSheet(), app::skinStyleSheet(14));
    // Going to a number without a sheet gives the platform look back.
    app::applySkin(0);
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
  }
}

TEST(SkinTest, EveryImageTheSheetNamesIsBuiltIn) {
  const QString sheet = app::skinStyleSheet(14);
  const QRegularExpression url(QStringLiteral(R"(url\(([^)]+)\))"));
  int images = 0;
  for (const QRegularExpressionMatch& match : url.globalMatch(sheet)) {
    const QString path = match.captured(1);
    SCOPED_TRACE(path.toStdString());
    EXPECT_TRUE(path.startsWith(QLatin1String(":/skins/")));
    EXPECT_FALSE(QImage(path).isNull());
    ++images;
  }
  EXPECT_GE(images, 4);
}

TEST(SkinTest, NoSkinLibraryIsWritten) {
  const QDir directory(app::programDirectory());
  const QStringList before = directory.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
  app::ensureSkinLibrary();
  { SkinScope skin(14); }
  const QStringList after = directory.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
  for (const QString& name : after) {
    if (before.contains(name)) continue;
    EXPECT_FALSE(name.contains(QLatin1String("skin"), Qt::CaseInsensitive)) << name.toStdString();
  }
  EXPECT_FALSE(directory.exists(QStringLiteral("SkinH_EL.dll")));
}

TEST(SkinTest, TheStartUpSkinLeavesEveryControlAtItsDesignPlace) {
  // Both windows in the skin's face, so that only the sheet's borders and paddings differ: the
  // platform look would draw the Chinese captions in whichever CJK face the machine falls back
  // to (a Kai face where one is installed), whose height is not the skin's business.
  const QFont platformFont = QApplication::font();
  QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC")));
  SkinScope platformLook(0);
  app::MainWindow plain;
  showAndPolish(plain);
  const std::map<QString, QRect> plainGeometries = namedGeometries(plain);

  SkinScope skin(app::kStartupSkin);
  app::MainWindow window;
  showAndPolish(window);
  EXPECT_EQ(window.size(), QSize(530, 685));
  for (const designlayout::ControlSpec& spec : designlayout::kControls) {
    SCOPED_TRACE(spec.name);
    auto* widget = window.findChild<QWidget*>(QString::fromUtf8(spec.name));
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), spec.rect);
  }
  // Everything else that has a name too: the client area, the status-bar parts, the toolbars'
  // actions' buttons.
  const std::map<QString, QRect> skinned = namedGeometries(window);
  EXPECT_EQ(skinned.size(), plainGeometries.size());
  for (const auto& [name, rect] : plainGeometries) {
    SCOPED_TRACE(name.toStdString());
    ASSERT_TRUE(skinned.count(name));
    EXPECT_EQ(skinned.at(name), rect);
  }
  int left = 0;
  for (int part = 0; part < 6; ++part) {
    EXPECT_EQ(window.statusLabel(part)->geometry(),
              QRect(left, 0, app::MainWindow::kStatusWidths[part], 20));
    left += app::MainWindow::kStatusWidths[part];
  }
  // The lowest control of the visible layout still fits below the menu bar.
  EXPECT_GE(window.clientArea()->height(), 564 + 53);
  EXPECT_EQ(window.clientArea()->height(), plain.clientArea()->height());
  QApplication::setFont(platformFont);
}

TEST(SkinTest, TheStartUpSkinRepaintsTheWindow) {
  SkinScope platformLook(0);
  app::MainWindow plain;
  showAndPolish(plain);
  const QImage plainMenu = plain.menuBar()->grab().toImage();

  SkinScope skin(app::kStartupSkin);
  app::MainWindow window;
  showAndPolish(window);
  const QImage menu = window.menuBar()->grab().toImage();
  // A jade menu bar instead of the platform's grey one.
  const QColor jade = menu.pixelColor(2, menu.height() / 2);
  EXPECT_GT(jade.green() - jade.red(), 60) << jade.name().toStdString();
  const QColor grey = plainMenu.pixelColor(2, plainMenu.height() / 2);
  EXPECT_LT(std::abs(grey.green() - grey.red()), 20) << grey.name().toStdString();

  // The lyrics list takes the skin's lines: the selected one green, the others white.
  QStringListModel lines({QStringLiteral("\u4E00"), QStringLiteral("\u4E8C")});
  window.lyricsView()->setModel(&lines);
  window.lyricsView()->setCurrentIndex(lines.index(1, 0));
  const QImage list = window.lyricsView()->viewport()->grab().toImage();
  const int line = window.lyricsView()->lineHeight();
  EXPECT_EQ(list.pixelColor(list.width() - 4, line + line / 2), QColor(0x2f, 0x9e, 0x7b));
  EXPECT_EQ(list.pixelColor(list.width() - 4, line / 2), QColor(Qt::white));
}
