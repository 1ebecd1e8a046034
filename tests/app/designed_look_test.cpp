// Designed colours, faces and tick marks, checked on what the start-up skin really draws.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <random>

#include "app/gbk.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "app/qt_test_play_view.h"
#include "support/fake_services.h"
#include "support/skin_scope.h"

namespace {

struct DesignedLookTest : ::testing::Test {
  testsupport::SkinScope skin;
  app::MainWindow window;

  void SetUp() override {
    window.show();
    QApplication::processEvents();
  }
  template <typename T>
  T* control(const char* name) const {
    return window.control<T>(QString::fromUtf8(name));
  }
};

int pixelsOf(const QImage& image, const QColor& colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
  return count;
}

// The tick marks in the strip of `image` from row `top` down: runs of columns holding a pixel
// much darker than the strip's lightest one.
int tickMarks(const QImage& image, int top) {
  int lightest = 0;
  for (int y = top; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      lightest = std::max(lightest, image.pixelColor(x, y).lightness());
  int marks = 0;
  bool inMark = false;
  for (int x = 0; x < image.width(); ++x) {
    bool dark = false;
    for (int y = top; y < image.height() && !dark; ++y)
      dark = image.pixelColor(x, y).lightness() < lightest - 60;
    marks += dark && !inMark;
    inMark = dark;
  }
  return marks;
}

}  // namespace

TEST_F(DesignedLookTest, TheTestPlayLineIsDrawnInEachColourTheTickGivesIt) {
  app::QtTestPlayView view(window);
  view.setDisplayText(app::toGbk(QStringLiteral("██████")));
  view.moveDisplayBox(10, 500);
  view.setDisplayVisible(true);
  auto* display = control<QLineEdit>("编辑框_青禾歌词编辑器");
  ASSERT_NE(display, nullptr);
  std::mt19937 random(18);
  std::uniform_int_distribution<std::uint32_t> colours(0, 0xFFFFFF);
  for (int tick = 0; tick < 5; ++tick) {
    const std::uint32_t colour = colours(random);
    SCOPED_TRACE(colour);
    view.setDisplayColour(colour);
    QApplication::processEvents();
    const QColor ink(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    // The solid blocks' inside is the ink itself.
    EXPECT_GT(pixelsOf(display->grab().toImage(), ink), 100) << ink.name().toStdString();
  }
}

TEST(DesignedLook, TheQuickStartAndAboutPanelsAreDrawnInAKaiFace) {
  // The real start-up, which attaches the skin after the panels are filled.
  testsupport::SkinScope restored(0);
  testsupport::EditorHarness harness;
  harness.start();
  // A panel gets its text and face when it is first shown.
  harness.window().menus().action(QStringLiteral("ShowQuickStart"))->trigger();
  harness.window().menus().action(QStringLiteral("ShowAbout"))->trigger();
  const struct {
    const char* name;
    int pixelHeight;
  } cases[] = {{"标签_软件说明", 19}, {"标签_关于软件", 21}};
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.name);
    auto* panel = harness.window().control<QLabel>(QString::fromUtf8(entry.name));
    ASSERT_NE(panel, nullptr);
    panel->ensurePolished();
    const QFontInfo drawn(panel->font());
    EXPECT_TRUE(drawn.family() == QStringLiteral("楷体") ||
                drawn.family().contains(QLatin1String("Kai")))
        << drawn.family().toStdString() << ": is a Kai face (fonts-arphic-ukai) installed?";
    EXPECT_EQ(drawn.pixelSize(), entry.pixelHeight);
  }
}

TEST_F(DesignedLookTest, SlidersDrawTheirDesignedTickMarks) {
  // The volume slider has a mark at every step of 0..100, the progress slider at 0 and 100.
  const struct {
    const char* name;
    int minimum;
    int maximum;
  } cases[] = {{"滑块条_右声道1", 95, 101}, {"滑块条_播放进度", 2, 2}};
  control<QWidget>("分组框_声音控制")->show();
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.name);
    auto* slider = control<QSlider>(entry.name);
    ASSERT_NE(slider, nullptr);
    slider->setValue(50);
    QApplication::processEvents();
    const QImage image = slider->grab().toImage();
    const int marks = tickMarks(image, image.height() * 3 / 4);
    EXPECT_GE(marks, entry.minimum);
    EXPECT_LE(marks, entry.maximum);
  }
}
