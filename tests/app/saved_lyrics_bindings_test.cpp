#include "app/bindings/saved_lyrics_bindings.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/adapters/gbk.h"
#include "app/adapters/qt_interval_timer.h"
#include "app/adapters/qt_paths.h"
#include "app/bindings/playback_bindings.h"
#include "app/editor_app.h"
#include "app/window/balloon_tip.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "support/fake_services.h"

namespace {

std::string gbk(const char* utf8) { return app::toGbk(QString::fromUtf8(utf8)); }
// The document form of a native (UTF-8) path.
std::string nativeToGbk(const std::string& path) {
  return app::toGbkPath(QString::fromStdString(path));
}

const char* const kStoreFiles[] = {"保存歌手.txt",   "保存歌曲.txt",     "保存专辑.txt",
                                   "保存编辑人.txt", "保存歌曲路径.txt", "保存时间.txt",
                                   "保存歌词.txt"};

// Two records as a library of an earlier run left them: seven fields each, in file order.
const char* const kRecords[2][7] = {
    {"周杰伦", "晴天", "叶惠美", "青禾", "/music/晴天.mp3", "2014年3月5日9时7分3秒",
     "[00:01.00]故事的小黄花\r\n\r\nbb\r\n"},
    {"", "", "", "", "/m/x.WMA", "2014年3月5日", "a\r\nbb\r\n"}};

// The real editor window with a library folder, a desktop and a clipboard of its own, shown
// offscreen and active.
struct Editor {
  explicit Editor(bool withRecords = false) {
    if (withRecords) {
      for (int field = 0; field < 7; ++field) {
        std::string bytes;
        for (const auto& record : kRecords) bytes += gbk(record[field]) + "======";
        dir.write(std::string("program/") + kStoreFiles[field], bytes);
      }
    }
    dialogs.desktop = nativeToGbk(dir.file("桌面")) + "/";
    EXPECT_TRUE(harness.startActive()) << "waited for the window to be active";
  }

  app::MainWindow& window() const { return editor->window(); }
  app::SavedLyricsBindings& saved() const { return editor->savedLyrics(); }
  QTreeView* list() const { return window().savedLyricsList(); }
  QGroupBox* panel() const {
    return window().control<QGroupBox>(QStringLiteral("分组框_保存文件"));
  }
  QLabel* picture() const { return window().control<QLabel>(QStringLiteral("图片框_开")); }
  app::QtIntervalTimer* timer(const char* name) const {
    return window().timer(QString::fromUtf8(name));
  }
  QString cell(int row, int column, int role = Qt::DisplayRole) const {
    return list()->model()->index(row, column).data(role).toString();
  }
  // The test folder's names are native (UTF-8) paths.
  std::string storeFile(int field) const {
    return dir.read(std::string("program/") + kStoreFiles[field]);
  }

  // A double-click as the platform delivers it: through the window, which turns the second
  // press into the double-click.
  void doubleClick(QWidget* target, QPoint at) {
    const QPoint inWindow = target->mapTo(&window(), at);
    QTest::mouseDClick(window().windowHandle(), Qt::LeftButton, {}, inWindow);
    QTest::mouseRelease(window().windowHandle(), Qt::LeftButton, {}, inWindow);
  }
  // A right-button press and release on the library list's viewport at `at`.
  void rightClick(QPoint at) {
    const QPoint inWindow = list()->viewport()->mapTo(&window(), at);
    QTest::mousePress(window().windowHandle(), Qt::RightButton, {}, inWindow);
    QTest::mouseRelease(window().windowHandle(), Qt::RightButton, {}, inWindow);
  }
  QPoint rowCentre(int row) const {
    return list()->visualRect(list()->model()->index(row, 1)).center();
  }
  void toggle() { doubleClick(picture(), picture()->rect().center()); }
  // Double-clicks the toggle picture and waits for the slide to end at `left`.
  bool slideTo(int left) {
    toggle();
    return QTest::qWaitFor(
        [&] {
          return panel()->x() == left && timer("时钟_保存歌词开")->interval() == 0 &&
                 timer("时钟_保存歌词关")->interval() == 0;
        },
        3000);
  }

  testsupport::EditorHarness harness;
  testsupport::TempDir& dir = harness.home;
  testsupport::RecordingPrompter& prompter = harness.prompter;
  testsupport::ScriptedDialogs& dialogs = harness.dialogs;
  testsupport::RecordingClipboard& clipboard = harness.clipboard;
  std::unique_ptr<app::EditorApp>& editor = harness.editor;
};

// Which way the toggle picture points: the arrow's head, its tallest part, lies on the side it
// points to; the shaft on the other side is less than half as tall. Also checks it is blue.
enum class Arrow { Left, Right, Neither };
Arrow arrowOf(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  int tallest[2] = {0, 0};
  long red = 0;
  long blue = 0;
  for (int x = 0; x < image.width(); ++x) {
    int height = 0;
    for (int y = 0; y < image.height(); ++y) {
      const QColor colour = image.pixelColor(x, y);
      if (colour.alpha() < 128) continue;
      ++height;
      red += colour.red();
      blue += colour.blue();
    }
    const int half = x < image.width() / 2 ? 0 : 1;
    tallest[half] = std::max(tallest[half], height);
  }
  if (blue <= 2 * red) return Arrow::Neither;
  if (tallest[0] > 2 * tallest[1]) return Arrow::Left;
  if (tallest[1] > 2 * tallest[0]) return Arrow::Right;
  return Arrow::Neither;
}

}  // namespace

TEST(SavedLyricsBindings, TheTogglePictureSlidesThePanelInAndOutAndShowsWhichWayItGoes) {
  Editor e;
  EXPECT_EQ(arrowOf(e.picture()->pixmap()), Arrow::Left);
  EXPECT_EQ(e.panel()->x(), 530);

  // Each tick's position, read after the panel's own step.
  std::vector<int> steps;
  for (const char* name : {"时钟_保存歌词开", "时钟_保存歌词关"}) {
    QObject::connect(e.timer(name), &app::QtIntervalTimer::ticked, e.panel(),
                     [&] { steps.push_back(e.panel()->x()); });
  }
  struct Slide {
    int end;
    Arrow picture;
    std::vector<int> steps;
  };
  Slide in{0, Arrow::Right, {}};
  for (int left = 500; left > 20; left -= 30) in.steps.push_back(left);
  in.steps.push_back(0);
  Slide out{530, Arrow::Left, {}};
  for (int left = 30; left < 540; left += 30) out.steps.push_back(left);
  out.steps.push_back(530);
  for (const Slide& slide : {in, out}) {
    steps.clear();
    e.toggle();
    EXPECT_EQ(e.timer(slide.end == 0 ? "时钟_保存歌词开" : "时钟_保存歌词关")->interval(), 10);
    // The picture changes only when the slide has ended.
    EXPECT_EQ(arrowOf(e.picture()->pixmap()), slide.end == 0 ? Arrow::Left : Arrow::Right);
    ASSERT_TRUE(QTest::qWaitFor([&] { return steps.size() >= slide.steps.size(); }, 3000))
        << "the slide to " << slide.end << " did not end";
    QTest::qWait(40);
    EXPECT_EQ(steps, slide.steps);
    EXPECT_EQ(e.panel()->pos(), QPoint(slide.end, 57));
    EXPECT_EQ(e.timer("时钟_保存歌词开")->interval(), 0);
    EXPECT_EQ(e.timer("时钟_保存歌词关")->interval(), 0);
    EXPECT_EQ(arrowOf(e.picture()->pixmap()), slide.picture);
    if (slide.end == 0) {
      // Open, the panel covers the lyrics list, and the picture stays on top of it.
      QWidget* client = e.window().clientArea();
      QWidget* hit = client->childAt(QPoint(260, 300));
      ASSERT_NE(hit, nullptr);
      EXPECT_TRUE(e.panel()->isAncestorOf(hit)) << hit->objectName().toStdString();
      // Where the picture, the panel's bottom edge and the status bar's end overlap.
      EXPECT_EQ(client->childAt(QPoint(495, 525)), e.picture());
    }
  }
}

TEST(SavedLyricsBindings, ADoubleClickOnARecordOpensItAndClosesThePanelAtOnce) {
  Editor e(true);
  e.editor->state().lyrics.replaceAll({"old"});
  const struct {
    int row;
    const char* format;
    std::vector<std::string> lines;
    const char* lineCount;
    const char* byteCount;
  } cases[] = {{0, "mp3格式", {gbk("[00:01.00]故事的小黄花"), "", "bb"}, "行:3", "字:30"},
               {1, "WMA格式", {"a", "bb"}, "行:2", "字:7"}};
  for (const auto& test : cases) {
    ASSERT_TRUE(e.slideTo(0)) << "the panel did not open";
    // The first click selects the row, the second one opens it.
    e.doubleClick(e.list()->viewport(), e.rowCentre(test.row));
    const auto& record = kRecords[test.row];
    EXPECT_EQ(e.editor->state().library.selectedRow(), test.row);
    for (int field = 0; field < 4; ++field) {
      EXPECT_EQ(e.window().headerEdit(field)->text(), QString::fromUtf8(record[field]));
    }
    QTreeWidgetItem* song = e.window().songList()->topLevelItem(0);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(song->text(0), QString::fromUtf8(record[1]));
    EXPECT_EQ(song->text(1), QString::fromUtf8(record[0]));
    EXPECT_EQ(song->text(2), QString::fromUtf8(test.format));
    EXPECT_EQ(song->text(3), QStringLiteral("正常"));
    EXPECT_EQ(song->text(4), QString::fromUtf8(record[4]));
    EXPECT_EQ(e.editor->state().lyrics.lines(), test.lines);
    EXPECT_EQ(e.editor->state().lyrics.selection(), -1);
    EXPECT_EQ(e.window().statusLabel(4)->text(), QString::fromUtf8(test.lineCount));
    EXPECT_EQ(e.window().statusLabel(5)->text(), QString::fromUtf8(test.byteCount));
    EXPECT_EQ(e.panel()->x(), 530);
    EXPECT_EQ(arrowOf(e.picture()->pixmap()), Arrow::Left);
  }

  // Opened while the panel still slides in, the record closes it and both slides stop.
  e.toggle();
  ASSERT_TRUE(QTest::qWaitFor([&] { return e.panel()->x() < 400; }, 3000));
  e.window().menus().popupAction(QStringLiteral("OpenSavedRecord"))->trigger();
  EXPECT_EQ(e.panel()->x(), 530);
  EXPECT_EQ(e.timer("时钟_保存歌词开")->interval(), 0);
  EXPECT_EQ(e.timer("时钟_保存歌词关")->interval(), 0);
  QTest::qWait(50);
  EXPECT_EQ(e.panel()->x(), 530);
  EXPECT_TRUE(e.prompter.shown.empty());
}

TEST(SavedLyricsBindings, TheLastRunsLibraryFillsTheListAndItsPopUpItemsReachTheirCommands) {
  Editor e(true);
  QTreeView* list = e.list();
  EXPECT_EQ(list->parentWidget(), e.panel());
  ASSERT_EQ(list->model()->rowCount(), 2);
  ASSERT_EQ(list->model()->columnCount(), 7);
  const char* headers[] = {"保存歌手", "保存歌曲", "专辑",    "编辑人",
                           "歌曲路径", "保存时间", "保存歌词"};
  const int widths[] = {80, 80, 80, 60, 80, 100, 100};
  for (int column = 0; column < 7; ++column) {
    EXPECT_EQ(list->model()->headerData(column, Qt::Horizontal).toString(),
              QString::fromUtf8(headers[column]));
    EXPECT_EQ(list->columnWidth(column), widths[column]) << column;
  }
  EXPECT_EQ(e.cell(0, 4), QStringLiteral("/music/晴天.mp3"));
  // A row shows the lyrics on one line; the tooltip keeps the line breaks.
  EXPECT_EQ(e.cell(0, 6), QStringLiteral("[00:01.00]故事的小黄花  bb "));
  EXPECT_EQ(e.cell(0, 6, Qt::ToolTipRole), QStringLiteral("[00:01.00]故事的小黄花\r\n\r\nbb\r\n"));
  EXPECT_EQ(e.editor->state().library.selectedRow(), -1);
  ASSERT_TRUE(e.slideTo(0)) << "the panel did not open";
  QMenu* popup = e.window().menus().popup(QStringLiteral("超级列表框_保存歌词"));
  const auto run = [&](const char* command) {
    e.window().menus().popupAction(QString::fromUtf8(command))->trigger();
  };

  // The right button selects the row under the pointer, then the pop-up comes 3 px off it.
  e.rightClick(e.rowCentre(1));
  ASSERT_TRUE(QTest::qWaitFor([&] { return popup->isVisible(); }, 2000)) << "no pop-up";
  EXPECT_EQ(popup->pos(), e.list()->viewport()->mapToGlobal(e.rowCentre(1)) + QPoint(3, 3));
  EXPECT_EQ(e.editor->state().library.selectedRow(), 1);
  popup->hide();

  run("CopySavedSongPath");
  run("CopySavedLyrics");
  EXPECT_EQ(e.clipboard.texts, (std::vector<std::string>{"/m/x.WMA", "a\r\nbb\r\n"}));

  // The desktop folder does not exist yet; the export makes it.
  run("ExportRecordToDesktop");
  const std::filesystem::path desktop = e.dir.path() / "桌面";
  std::vector<std::filesystem::path> exported;
  if (std::filesystem::is_directory(desktop)) {
    for (const auto& entry : std::filesystem::directory_iterator(desktop)) {
      exported.push_back(entry.path());
    }
  }
  ASSERT_EQ(exported.size(), 1u);
  const std::string name = exported[0].filename().string();
  EXPECT_TRUE(name.starts_with("青禾歌词编辑器导出文本") && name.ends_with(".txt")) << name;
  const std::string text = e.dir.read("桌面/" + name);
  EXPECT_TRUE(text.starts_with(std::string(36, ' ') + gbk("青禾歌词编辑器，写歌词就这么简单~")));
  EXPECT_TRUE(
      text.ends_with(gbk("保存时间：2014年3月5日") + std::string(118, '=') + "\r\na\r\nbb\r\n"));

  // Deleting asks first; only Yes deletes, and the files follow at once.
  e.prompter.answers = {false, true};
  run("DeleteSavedRecord");
  EXPECT_EQ(e.list()->model()->rowCount(), 2);
  run("DeleteSavedRecord");
  EXPECT_EQ(e.list()->model()->rowCount(), 1);
  EXPECT_EQ(e.cell(0, 0), QStringLiteral("周杰伦"));
  EXPECT_EQ(e.storeFile(0), gbk("周杰伦======"));
  EXPECT_EQ(e.editor->state().library.selectedRow(), -1);
  ASSERT_EQ(e.prompter.shown.size(), 2u);
  for (const auto& shown : e.prompter.shown) {
    EXPECT_TRUE(shown.question);
    EXPECT_EQ(shown.text, gbk("确认删除当前选中的歌词文件？"));
    EXPECT_EQ(shown.title, gbk("tolva_提示："));
  }

  // Below the last row the pop-up still comes; with no row selected its record items do
  // nothing, and clearing needs no selection.
  e.rightClick(QPoint(100, e.list()->viewport()->height() - 10));
  ASSERT_TRUE(QTest::qWaitFor([&] { return popup->isVisible(); }, 2000)) << "no pop-up";
  popup->hide();
  EXPECT_EQ(e.editor->state().library.selectedRow(), -1);
  run("CopySavedLyrics");
  EXPECT_EQ(e.clipboard.texts.size(), 2u);
  e.prompter.answers = {true};
  run("ClearSavedRecords");
  EXPECT_EQ(e.prompter.shown.back().text, gbk("确认清空所有歌词文件？"));
  EXPECT_EQ(e.list()->model()->rowCount(), 0);
  for (int field = 0; field < 7; ++field) EXPECT_EQ(e.storeFile(field), "") << field;
}

TEST(SavedLyricsBindings, SavingThroughMenuAndToolbarShowsTheBalloonAndWritesTheFiles) {
  Editor e;
  e.window().lyricsView()->setFocus();
  QAction* save = e.window().menus().action(QStringLiteral("SaveLyrics"));
  QAction* saveButton = e.window().findChild<QAction*>(QStringLiteral("工具条_控制播放_2"));
  ASSERT_NE(saveButton, nullptr);

  // Nothing to save: the warning and no balloon.
  save->trigger();
  ASSERT_EQ(e.prompter.shown.size(), 1u);
  EXPECT_EQ(e.prompter.shown[0].text, gbk("保存无效"));
  EXPECT_EQ(e.prompter.shown[0].icon, platform::MessageIcon::Warning);
  EXPECT_EQ(e.saved().balloon(), nullptr);
  EXPECT_EQ(e.list()->model()->rowCount(), 0);

  e.editor->state().playback.setCurrentSong("/music/a.mp3", "a.mp3", gbk("mp3格式"));
  e.window().headerEdit(lyrics::HeaderFields::Singer)->setText(QStringLiteral("周杰伦"));
  e.window().headerEdit(lyrics::HeaderFields::Song)->setText(QStringLiteral("晴天"));
  e.window().headerEdit(lyrics::HeaderFields::Album)->setText(QStringLiteral("叶惠美"));
  e.editor->state().lyrics.replaceAll({"a", "", "b"});
  save->trigger();
  ASSERT_EQ(e.list()->model()->rowCount(), 1);
  EXPECT_EQ(e.cell(0, 0), QStringLiteral("周杰伦"));
  const std::string expected[] = {gbk("周杰伦======"),   gbk("晴天======"),
                                  gbk("叶惠美======"),   "======",
                                  "/music/a.mp3======",  "",
                                  "a\r\n\r\nb\r\n======"};
  for (int field = 0; field < 7; ++field) {
    if (field != 5) {
      EXPECT_EQ(e.storeFile(field), expected[field]) << field;
    }
  }
  const QRegularExpression savedAt(
      QStringLiteral("^\\d{4}年\\d{1,2}月\\d{1,2}日(\\d+时(\\d+分(\\d+秒)?)?)?======$"));
  EXPECT_TRUE(savedAt.match(app::toQString(e.storeFile(5))).hasMatch()) << e.storeFile(5);

  // The balloon points just above the status bar near the window's lower right corner and
  // leaves the focus where it was.
  app::BalloonTip* balloon = e.saved().balloon();
  ASSERT_NE(balloon, nullptr);
  EXPECT_TRUE(balloon->isVisible());
  EXPECT_EQ(balloon->text(), QStringLiteral("歌词已保存，双击查看歌词文件"));
  const QRect frame = e.window().frameGeometry();
  const QPoint anchor(frame.x() + frame.width() - 30,
                      frame.y() + frame.height() - e.window().editStatusBar()->height() - 20);
  EXPECT_EQ(balloon->anchor(), anchor);
  EXPECT_GE(anchor.x(), balloon->x());
  EXPECT_LE(anchor.x(), balloon->geometry().right());
  EXPECT_TRUE(balloon->y() + balloon->height() == anchor.y() || balloon->y() == anchor.y());
  EXPECT_EQ(QApplication::activeWindow(), &e.window());
  EXPECT_EQ(QApplication::focusWidget(), e.window().lyricsView());
  QTest::mouseClick(balloon, Qt::LeftButton, {}, balloon->rect().center());
  EXPECT_FALSE(balloon->isVisible());

  // The toolbar's 保存 adds the next record after the first.
  e.window().headerEdit(lyrics::HeaderFields::Singer)->setText(QStringLiteral("B"));
  saveButton->trigger();
  ASSERT_EQ(e.list()->model()->rowCount(), 2);
  EXPECT_EQ(e.cell(1, 0), QStringLiteral("B"));
  EXPECT_TRUE(balloon->isVisible());
  EXPECT_EQ(e.storeFile(0), gbk("周杰伦======B======"));
  EXPECT_EQ(e.prompter.shown.size(), 1u);

  // 另存 and the two menu items write their files (their names and bytes are the commands').
  const struct {
    QAction* action;
    const char* chosen;
    const char* written;
  } writes[] = {
      {e.window().findChild<QAction*>(QStringLiteral("工具条_控制播放_3")), "a", "a.lrc"},
      {e.window().menus().action(QStringLiteral("SaveLyricsAs")), "b.lrc", "b.lrc"},
      {e.window().menus().action(QStringLiteral("WriteLyricsBesideAudio")), "s.mp3", "s.lrc"}};
  for (const auto& write : writes) {
    ASSERT_NE(write.action, nullptr);
    e.dialogs.choice = e.dir.file(write.chosen);
    write.action->trigger();
    EXPECT_TRUE(e.dir.read(write.written).ends_with("a\r\n\r\nb\r\n")) << write.written;
  }
  EXPECT_EQ(e.dialogs.opened.back().title, gbk("tolva_LRC镶嵌"));
  EXPECT_EQ(e.prompter.shown.size(), 1u);

  // The shutdown writes the library again, whatever happened to its files meanwhile.
  for (int field = 0; field < 7; ++field) {
    std::filesystem::remove(e.dir.path() / "program" / kStoreFiles[field]);
  }
  e.window().close();
  EXPECT_EQ(e.storeFile(0), gbk("周杰伦======B======"));
  EXPECT_EQ(e.storeFile(6), "a\r\n\r\nb\r\n======a\r\n\r\nb\r\n======");
}
