#include <gtest/gtest.h>

#include <QAction>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <memory>

#include "app/editor_app.h"
#include "app/gbk.h"
#include "app/lyrics_bindings.h"
#include "app/lyrics_list_model.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "app/playback_bindings.h"
#include "app/saved_lyrics_bindings.h"
#include "feedback/ui/feedback_window.h"
#include "support/fake_services.h"

namespace {

std::string gbk(const char* utf8) { return app::toGbk(QString::fromUtf8(utf8)); }

std::string fixture(const char* name) {
  QFile file(QStringLiteral(LRC_TEST_DATA_DIR "/") + QLatin1String(name));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return file.readAll().toStdString();
}

class EditorAppTest : public ::testing::Test {
 protected:
  // An editor started with `arguments`, writing its association into the temp tree.
  app::EditorApp& start(std::vector<std::string> arguments = {}) {
    return m_harness.start(std::move(arguments));
  }

  // Drags files over the middle of `target` and drops them, the way the platform delivers a
  // drop: to the window, which finds the widget under the pointer that takes drops.
  void drop(QWidget* target, const QList<QUrl>& urls) {
    QMimeData mime;
    if (!urls.isEmpty()) mime.setUrls(urls);
    QWidget* window = target->window();
    const QPoint pos = target->mapTo(window, target->rect().center());
    QDragEnterEvent enter(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &enter);
    QDropEvent dropped(QPointF(pos), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &dropped);
  }

  // A pointer move to `pos` in client coordinates as the platform delivers it: to the window,
  // which hands it to the widget under the pointer.
  void moveMouse(app::EditorApp& editor, QPoint pos) {
    app::MainWindow& window = editor.window();
    QTest::mouseMove(window.windowHandle(), window.clientArea()->mapTo(&window, pos));
  }

  testsupport::EditorHarness m_harness;
  testsupport::TempDir& m_dir = m_harness.home;
  testsupport::RecordingPrompter& m_prompter = m_harness.prompter;
  testsupport::ScriptedDialogs& m_dialogs = m_harness.dialogs;
  std::unique_ptr<app::EditorApp>& m_editor = m_harness.editor;
};

}  // namespace

TEST_F(EditorAppTest, StartUpLoadsTheCommandLineFileAndSetsTheStartingState) {
  // The file name is split over two arguments, which are joined with nothing between them.
  std::filesystem::create_directories(m_dir.path() / "歌词 库");
  m_dir.write("歌词 库/晴天.lrc", fixture("five_lines_gbk.lrc"));
  const std::string folder = (m_dir.path() / "歌词 库").string();
  app::EditorApp& editor = start({folder + "/晴", "天.lrc"});
  app::MainWindow& window = editor.window();

  ASSERT_EQ(editor.state().lyrics.count(), 5);
  EXPECT_EQ(editor.state().lyrics.line(0), gbk("[ti:晴天]"));
  EXPECT_EQ(editor.state().lyrics.line(4), gbk("童年的荡秋千"));
  EXPECT_EQ(editor.state().lyrics.selection(), 0);
  EXPECT_EQ(window.lyricsView()->currentIndex().row(), 0);
  EXPECT_EQ(window.lyricsView()->model()->index(2, 0).data().toString(),
            QStringLiteral("[00:01.00]故事的小黄花"));
  // The command line leaves the status bar, the header boxes and the title alone.
  EXPECT_EQ(window.statusLabel(4)->text(), QStringLiteral("行："));
  EXPECT_EQ(window.headerEdit(1)->text(), QString());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("青禾歌词编辑器"));

  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.width(), 530);
  EXPECT_NEAR(window.windowOpacity(), 245.0 / 255, 0.01);
  EXPECT_EQ(window.control<QLabel>(QStringLiteral("标签_歌词预览左"))->pos(), QPoint(-265, 466));
  EXPECT_EQ(window.control<QLabel>(QStringLiteral("标签_歌词预览右"))->pos(), QPoint(530, 466));
  EXPECT_EQ(editor.state().currentTag.value(), "[00:00.00]");
  EXPECT_TRUE(editor.state().doubleClickMode.addsTag());
  EXPECT_FALSE(editor.state().doubleClickMode.deletesTag());
  EXPECT_TRUE(window.menus().action(QStringLiteral("ToggleDoubleClickAdd"))->isChecked());
  EXPECT_FALSE(window.menus().action(QStringLiteral("ToggleDoubleClickDelete"))->isChecked());
  // The association follows the first picture; the window is painted within the bound.
  const QString entry = QString::fromStdString(
      (m_dir.path() / "data/applications/qinghe-lrc-editor.desktop").string());
  EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(entry); }, 5000))
      << "waited 5 s for the .lrc association after the first paint";
  EXPECT_TRUE(
      QFile::exists(QString::fromStdString((m_dir.path() / "config/mimeapps.list").string())));
  EXPECT_TRUE(m_prompter.shown.empty());
}

TEST_F(EditorAppTest, WithoutArgumentsOrWithAMissingFileTheListStaysEmpty) {
  EXPECT_EQ(start().state().lyrics.count(), 0);
  EXPECT_EQ(m_editor->state().lyrics.selection(), -1);
  EXPECT_FALSE(m_editor->window().lyricsView()->currentIndex().isValid());
  m_editor.reset();
  EXPECT_EQ(start({"/nonexistent/file.lrc"}).state().lyrics.count(), 0);
  EXPECT_TRUE(m_prompter.shown.empty());
}

TEST_F(EditorAppTest, OpenLyricsFileFromTheMenuAndFromThePopup) {
  app::EditorApp& editor = start();
  app::MainMenus& menus = editor.window().menus();
  m_dialogs.choice = m_dir.write("a.lrc", gbk("第一行\r\n第二行\r\n"));
  menus.action(QStringLiteral("OpenLyricsFile"))->trigger();
  ASSERT_EQ(m_dialogs.opened.size(), 1u);
  EXPECT_EQ(m_dialogs.opened[0].title, gbk("tolva_打开歌词文件"));
  EXPECT_EQ(editor.state().lyrics.count(), 2);
  EXPECT_EQ(editor.window().statusLabel(4)->text(), QStringLiteral("行:2"));
  EXPECT_EQ(editor.window().statusLabel(5)->text(), QStringLiteral("字:8"));

  m_dialogs.choice = m_dir.write("b.txt", "one\r\ntwo\r\nthree");
  menus.popupAction(QStringLiteral("OpenLyricsFile"))->trigger();
  EXPECT_EQ(m_dialogs.opened.size(), 2u);
  EXPECT_EQ(editor.state().lyrics.count(), 3);
  EXPECT_EQ(editor.state().lyrics.selection(), 0);
  EXPECT_EQ(editor.state().lyrics.line(2), "three");
}

TEST_F(EditorAppTest, FilesDroppedOnTheListReachTheLyricsImport) {
  app::EditorApp& editor = start();
  app::MainWindow& window = editor.window();
  QSignalSpy songDrops(&window, &app::MainWindow::audioDropped);
  QSignalSpy lyricDrops(&window, &app::MainWindow::lyricsDropped);
  const std::string path = m_dir.write("歌词.LRC", gbk("甲\r\n乙\r\n"));
  drop(window.lyricsView()->viewport(), {QUrl::fromLocalFile(QString::fromStdString(path))});
  ASSERT_EQ(lyricDrops.count(), 1);
  EXPECT_EQ(lyricDrops[0][0].value<std::string>(), gbk(path.c_str()));
  ASSERT_EQ(editor.state().lyrics.count(), 2);
  EXPECT_EQ(editor.state().lyrics.line(1), gbk("乙"));
  EXPECT_EQ(window.statusLabel(4)->text(), QStringLiteral("行:2"));
  EXPECT_TRUE(m_prompter.shown.empty());

  // A drop without any local file does nothing.
  drop(window.lyricsView()->viewport(), {});
  drop(window.lyricsView()->viewport(), {QUrl(QStringLiteral("https://example.com/a.lrc"))});
  EXPECT_EQ(editor.state().lyrics.count(), 2);
  EXPECT_TRUE(m_prompter.shown.empty());

  // Several files arrive as one text ending in CR LF, which is not a lyrics file name.
  drop(window.lyricsView()->viewport(), {QUrl::fromLocalFile(QString::fromStdString(path)),
                                         QUrl::fromLocalFile(QString::fromStdString(path))});
  ASSERT_EQ(m_prompter.shown.size(), 1u);
  EXPECT_EQ(m_prompter.shown[0].title, gbk("tolva_错误提示"));
  EXPECT_EQ(editor.state().lyrics.count(), 2);
  EXPECT_EQ(songDrops.count(), 0);

  // The list's scroll bar and frame belong to the list too.
  std::vector<std::string> many(200, "x");
  editor.state().lyrics.replaceAll(many);
  QWidget* scrollBar = window.lyricsView()->verticalScrollBar();
  ASSERT_TRUE(QTest::qWaitFor([scrollBar] { return scrollBar->isVisible(); }));
  drop(scrollBar, {QUrl::fromLocalFile(QString::fromStdString(path))});
  EXPECT_EQ(lyricDrops.count(), 3);
  EXPECT_EQ(editor.state().lyrics.count(), 2);
  EXPECT_EQ(songDrops.count(), 0);

  // Elsewhere on the window a drop is the song drop, not a lyrics import.
  const std::string other = m_dir.write("b.txt", "x\r\n");
  drop(window.control<QWidget>(QStringLiteral("分组框1")),
       {QUrl::fromLocalFile(QString::fromStdString(other))});
  ASSERT_EQ(songDrops.count(), 1);
  EXPECT_EQ(songDrops[0][0].value<std::string>(), gbk(other.c_str()));
  EXPECT_EQ(editor.state().lyrics.count(), 2);
}

TEST_F(EditorAppTest, ABinaryOrBrokenFileDroppedAsLyricsShowsAndSavesItsOwnBytes) {
  app::EditorApp& editor = start();
  app::MainWindow& window = editor.window();
  const struct {
    const char* name;
    std::string bytes;
    // The text the file holds up to its first zero byte, which a save writes back.
    std::string text;
    // Whether it holds bytes that are no GBK character.
    bool broken;
  } cases[] = {
      {"image.lrc", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\xFF", 17), "\x89PNG\r\n\x1A\n",
       false},
      {"broken.lrc", "ab\xFF\xFE\r\n\x81\r\n\x80\x80x\r\n\xFF",
       "ab\xFF\xFE\r\n\x81\r\n\x80\x80x\r\n\xFF", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_prompter.shown.clear();
    const std::string path = m_dir.write(c.name, c.bytes);
    drop(window.lyricsView()->viewport(), {QUrl::fromLocalFile(QString::fromStdString(path))});
    ASSERT_GT(editor.state().lyrics.count(), 0);
    EXPECT_TRUE(m_prompter.shown.empty());
    // Bytes that are no GBK character show as replacement characters, and nothing else.
    QString shown;
    for (int row = 0; row < editor.state().lyrics.count(); ++row) {
      shown += window.lyricsView()->model()->index(row, 0).data().toString();
    }
    EXPECT_EQ(shown.contains(QChar(0xFFFD)), c.broken) << shown.toStdString();

    const std::string saved = m_dir.file(std::string("saved_") + c.name);
    m_dialogs.choice = saved;
    window.menus().action(QStringLiteral("SaveLyricsAs"))->trigger();
    EXPECT_TRUE(m_prompter.shown.empty());
    EXPECT_EQ(m_dir.read(std::string("saved_") + c.name), c.text + "\r\n");
  }
}

TEST_F(EditorAppTest, MouseOutsideTheVolumeZoneHidesThePanel) {
  app::EditorApp& editor = start();
  app::MainWindow& window = editor.window();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QGroupBox* panel = window.volumePanel();
  const struct {
    QPoint at;  // client coordinates
    const char* under;
    bool hides;
  } moves[] = {
      {{300, 600}, "分组框1", false},
      {{10, 590}, "分组框1", true},
      {{490, 580}, "分组框1", true},
      {{300, 615}, "分组框1", true},
      {{300, 558}, "分组框_声音控制", false},
      {{487, 550}, "分组框_声音控制", true},
      {{300, 620}, nullptr, true},
      {{22, 560}, nullptr, true},
      {{300, 467}, nullptr, true},
      // A move over a control other than a group box belongs to that control.
      {{100, 200}, "列表框_歌词文件编辑", false},
  };
  for (const auto& move : moves) {
    SCOPED_TRACE(testing::Message() << move.at.x() << "," << move.at.y());
    panel->show();
    window.resize(530, 700);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.height() == 700; }, 2000))
        << "waited for the window to take height 700";
    QWidget* under = window.clientArea()->childAt(move.at);
    if (move.under) {
      ASSERT_NE(under, nullptr);
      // The list's viewport stands for the list.
      if (under->objectName() != QString::fromUtf8(move.under)) under = under->parentWidget();
      EXPECT_EQ(under->objectName(), QString::fromUtf8(move.under));
    } else {
      EXPECT_EQ(under, nullptr);
    }
    moveMouse(editor, move.at);
    EXPECT_EQ(panel->isHidden(), move.hides);
    EXPECT_EQ(window.height(), move.hides ? 685 : 700);
  }
  panel->show();
  emit editor.window().surfaceMouseMoved(QPoint(23, 613));
  EXPECT_TRUE(panel->isVisible());
  emit editor.window().surfaceMouseMoved(QPoint(485, 530));
  EXPECT_TRUE(panel->isVisible());
}

TEST_F(EditorAppTest, ExitAndTitleBarCloseRunTheShutdownStepOnce) {
  app::EditorApp& editor = start();
  int stored = 0;
  editor.window().addClosingStep([&stored] { ++stored; });
  editor.window().menus().action(QStringLiteral("ExitProgram"))->trigger();
  EXPECT_FALSE(editor.window().isVisible());
  EXPECT_EQ(stored, 1);
  editor.window().close();
  EXPECT_EQ(stored, 1);

  m_editor.reset();
  app::EditorApp& second = start();
  int storedAgain = 0;
  second.window().addClosingStep([&storedAgain] { ++storedAgain; });
  second.window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&second.window()));
  QTest::keyClick(second.window().lyricsView(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_FALSE(second.window().isVisible());
  EXPECT_EQ(storedAgain, 1);
}

TEST_F(EditorAppTest, HeaderBoxesAndStatusBarFollowTheirModels) {
  app::EditorApp& editor = start();
  app::MainWindow& window = editor.window();
  lyrics::HeaderFields& fields = editor.state().headers;

  window.headerEdit(lyrics::HeaderFields::Singer)->setText(QStringLiteral("周杰伦"));
  EXPECT_EQ(fields.text(lyrics::HeaderFields::Singer), gbk("周杰伦"));
  fields.setText(lyrics::HeaderFields::Album, gbk("叶惠美"));
  EXPECT_EQ(window.headerEdit(lyrics::HeaderFields::Album)->text(), QStringLiteral("叶惠美"));
  // Bytes that do not decode are shown but not written back in their decoded form.
  fields.setText(lyrics::HeaderFields::Editor, "ab\xC7");
  EXPECT_EQ(window.headerEdit(lyrics::HeaderFields::Editor)->text(), QStringLiteral("ab\uFFFD"));
  EXPECT_EQ(fields.text(lyrics::HeaderFields::Editor), "ab\xC7");

  editor.state().status.setText(lyrics::StatusBar::Progress, gbk("播放进度：42%"));
  EXPECT_EQ(window.statusLabel(1)->text(), QStringLiteral("播放进度：42%"));
}

TEST_F(EditorAppTest, DoubleClickCheckMarksShowTheMode) {
  app::EditorApp& editor = start();
  QAction* adds = editor.window().menus().action(QStringLiteral("ToggleDoubleClickAdd"));
  QAction* deletes = editor.window().menus().action(QStringLiteral("ToggleDoubleClickDelete"));
  editor.state().doubleClickMode.set(false, true);
  EXPECT_FALSE(adds->isChecked());
  EXPECT_TRUE(deletes->isChecked());
  // Choosing an unchecked item turns its mode on and the other one off.
  adds->trigger();
  EXPECT_TRUE(adds->isChecked());
  EXPECT_FALSE(deletes->isChecked());
  EXPECT_TRUE(editor.state().doubleClickMode.addsTag());
  // Choosing a checked item turns it off, leaving both off.
  adds->trigger();
  EXPECT_FALSE(adds->isChecked());
  EXPECT_FALSE(deletes->isChecked());
  EXPECT_FALSE(editor.state().doubleClickMode.addsTag());
  EXPECT_FALSE(editor.state().doubleClickMode.deletesTag());
}

TEST_F(EditorAppTest, CommandLineAndDropOpenTheFileTheirBytesName) {
  // Beside the file sits a decoy whose name differs only in a character converters used to
  // confuse (U+E81E and U+9FB4); the name also holds a byte that is not UTF-8.
  const std::string name = "\xE6\xAD\x8C\xFF\xEE\xA0\x9E.lrc";
  m_dir.write(name, "right\r\nfile\r\n");
  m_dir.write("\xE6\xAD\x8C\xFF\xE9\xBE\xB4.lrc", "decoy\r\n");
  m_dir.write("\xE6\xAD\x8C\xEF\xBF\xBD\xEE\xA0\x9E.lrc", "decoy\r\n");
  // Split inside a character, the way two shell words may split a name.
  const std::string path = m_dir.file(name);
  const std::size_t cut = path.size() - 6;
  app::EditorApp& editor = start({path.substr(0, cut), path.substr(cut)});
  EXPECT_EQ(editor.state().lyrics.lines(), (std::vector<std::string>{"right", "file"}));

  editor.state().lyrics.clear();
  const QByteArray encoded = QByteArray::fromStdString(path).toPercentEncoding("/");
  drop(editor.window().lyricsView()->viewport(), {QUrl::fromEncoded("file://" + encoded)});
  EXPECT_EQ(editor.state().lyrics.lines(), (std::vector<std::string>{"right", "file"}));
  EXPECT_TRUE(m_prompter.shown.empty());
}

TEST_F(EditorAppTest, TheFeedbackMenuOpensAFreshModalFeedbackWindow) {
  app::EditorApp& editor = start();
  QAction* feedbackItem = editor.window().menus().action(QStringLiteral("OpenFeedbackWindow"));
  const auto openWindow = [] {
    QList<feedback::FeedbackWindow*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* window = qobject_cast<feedback::FeedbackWindow*>(widget);
      if (window && window->isVisible()) shown.append(window);
    }
    return shown;
  };
  feedbackItem->trigger();
  ASSERT_EQ(openWindow().size(), 1);
  QPointer<feedback::FeedbackWindow> first = openWindow().front();
  EXPECT_EQ(first->windowModality(), Qt::ApplicationModal);
  first->findChild<QLineEdit*>(QStringLiteral("编辑框_联系方式"))->setText(QStringLiteral("abc"));
  first->close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }, 5000)) << "first window deleted";

  feedbackItem->trigger();
  ASSERT_EQ(openWindow().size(), 1);
  feedback::FeedbackWindow* second = openWindow().front();
  EXPECT_EQ(second->findChild<QLineEdit*>(QStringLiteral("编辑框_联系方式"))->text(),
            QStringLiteral("QQ号\\微信\\邮箱"));
  second->close();
  EXPECT_TRUE(m_prompter.shown.empty());
}

// The bindings and the list model filter and observe the window's controls; when the editor
// goes they must be gone before the first control is destroyed.
TEST_F(EditorAppTest, TeardownTakesTheWatchersDownBeforeAnyControl) {
  app::EditorApp& editor = start();
  const QPointer<QObject> watchers[] = {&editor.lyricsModel(), &editor.playback(),
                                        &editor.lyricsBindings(), &editor.savedLyrics()};
  int controls = 0;
  int watchersLeftAtFirstControl = -1;
  for (QWidget* control : editor.window().findChildren<QWidget*>()) {
    QObject::connect(control, &QObject::destroyed, [&] {
      if (controls++ > 0) return;
      watchersLeftAtFirstControl = 0;
      for (const QPointer<QObject>& watcher : watchers)
        watchersLeftAtFirstControl += watcher ? 1 : 0;
    });
  }
  m_editor.reset();
  EXPECT_GT(controls, 40);
  EXPECT_EQ(watchersLeftAtFirstControl, 0);
}
