#include "app/bindings/playback_bindings.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSlider>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QWindow>

#include "app/adapters/gbk.h"
#include "app/adapters/qt_interval_timer.h"
#include "app/editor_app.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "playback/playback_fakes.h"
#include "support/fake_services.h"

using namespace playbacktest;

namespace {

struct PlaybackUiTest : ::testing::Test {
  testsupport::EditorHarness harness;
  testsupport::TempDir& home = harness.home;
  testsupport::RecordingPrompter& prompter = harness.prompter;
  testsupport::ScriptedDialogs& dialogs = harness.dialogs;
  testsupport::FakeAudioPlayer& player = harness.fakePlayer;
  testsupport::RecordingClipboard& clipboard = harness.clipboard;
  std::unique_ptr<app::EditorApp>& editor = harness.editor;
  app::MainWindow* window = nullptr;

  void SetUp() override { window = &harness.create().window(); }
  QAction* button(const char* name) const {
    return window->findChild<QAction*>(QString::fromUtf8(name));
  }
  QString status(int part) const { return window->statusLabel(part)->text(); }
  void tick() { emit window->timer(QStringLiteral("时钟_毫秒"))->ticked(); }
};

// Stands in for the desktop's file manager.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened.push_back(url); }
};

}  // namespace

TEST_F(PlaybackUiTest, ToolbarCaptionsAndStatusFollowPlayPauseAndStop) {
  QAction* tagButton = button("工具条_标签加入_1");
  QAction* pauseButton = button("工具条_控制播放_6");
  ASSERT_TRUE(tagButton && pauseButton);
  EXPECT_EQ(tagButton->text(), QStringLiteral("加入标签[00:00.00]"));
  EXPECT_EQ(pauseButton->text(), QStringLiteral("暂停"));

  dialogs.choice = app::toGbk(QStringLiteral("/音乐/歌手-歌名.mp3"));
  button("工具条_控制播放_1")->trigger();
  QTreeWidgetItem* row = window->songList()->topLevelItem(0);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->text(0), QStringLiteral("歌名"));
  EXPECT_EQ(row->text(2), QStringLiteral("mp3格式"));
  EXPECT_EQ(row->text(4), QStringLiteral("/音乐/歌手-歌名.mp3"));
  EXPECT_EQ(window->headerEdit(0)->text(), QStringLiteral("歌手"));
  EXPECT_EQ(status(2), QStringLiteral("歌手:歌手"));
  EXPECT_EQ(status(3), QStringLiteral("歌曲:歌名"));
  window->headerEdit(1)->setText(QStringLiteral("新歌"));
  EXPECT_EQ(status(3), QStringLiteral("歌曲:新歌"));

  button("工具条_控制播放_5")->trigger();
  ASSERT_EQ(player.calls.size(), 1u);
  EXPECT_EQ(player.calls[0], "play:" + *dialogs.choice + "@0");
  EXPECT_EQ(window->timer(QStringLiteral("时钟_毫秒"))->interval(), 10);
  player.position = playback::PositionSample{12.34, platform::SteadyClock::now(), false};
  tick();
  EXPECT_EQ(tagButton->text(), QStringLiteral("加入标签:[00:12.34]"));
  EXPECT_EQ(status(0), QStringLiteral("播放时间:[00:12.34]"));

  pauseButton->trigger();
  EXPECT_EQ(pauseButton->text(), QStringLiteral("继续"));
  EXPECT_EQ(window->timer(QStringLiteral("时钟_毫秒"))->interval(), 0);
  pauseButton->trigger();
  EXPECT_EQ(pauseButton->text(), QStringLiteral("暂停"));
  EXPECT_EQ(player.calls.back(), "resume");

  ASSERT_NE(player.listener, nullptr);
  player.listener->onPlayProgress(42);
  EXPECT_EQ(window->progressSlider()->value(), 42);
  EXPECT_EQ(status(1), QStringLiteral("播放进度:42%"));

  pauseButton->trigger();
  button("工具条_控制播放_7")->trigger();
  EXPECT_EQ(player.calls.back(), "stop");
  EXPECT_EQ(pauseButton->text(), QStringLiteral("暂停"));
  EXPECT_EQ(tagButton->text(), QStringLiteral("加入标签[00:00.00]"));
  EXPECT_EQ(status(0), QStringLiteral("播放时间:[00:00.00]"));
  EXPECT_EQ(status(1), QStringLiteral("播放进度:00%"));
  EXPECT_EQ(window->progressSlider()->value(), 0);
  EXPECT_EQ(editor->state().currentTag.value(), "[00:12.34]");
}

TEST_F(PlaybackUiTest, ADraggedProgressThumbIsPutBackByStopAndByTheNextReport) {
  QSlider* slider = window->progressSlider();
  EXPECT_EQ(slider->tickInterval(), 100);
  EXPECT_NE(slider->tickPosition(), QSlider::NoTicks);

  // Dragging the thumb neither seeks nor stops, but a stop still puts it back to 0.
  slider->setValue(50);
  button("工具条_控制播放_7")->trigger();
  EXPECT_EQ(slider->value(), 0);

  dialogs.choice = "/m/a.mp3";
  button("工具条_控制播放_1")->trigger();
  button("工具条_控制播放_5")->trigger();
  ASSERT_NE(player.listener, nullptr);
  const std::size_t calls = player.calls.size();
  slider->setValue(70);
  EXPECT_EQ(player.calls.size(), calls);
  player.listener->onPlayProgress(0);  // the first report of the song
  EXPECT_EQ(slider->value(), 0);
  player.listener->onPlayProgress(1);
  slider->setValue(30);
  player.listener->onPlayProgress(2);
  EXPECT_EQ(slider->value(), 2);
}

TEST_F(PlaybackUiTest, SongListPopupDropAndMenu) {
  QMenu* popup = window->menus().popup(QStringLiteral("超级编辑框菜单"));
  ASSERT_NE(popup, nullptr);
  QTreeWidget* list = window->songList();
  emit list->customContextMenuRequested(QPoint(5, 5));
  EXPECT_FALSE(popup->isVisible());  // no row, no pop-up

  dialogs.choice = "/m/Song.wma";
  window->menus().action(QStringLiteral("OpenAudioFile"))->trigger();
  ASSERT_EQ(list->topLevelItemCount(), 1);
  emit list->customContextMenuRequested(QPoint(5, 5));
  EXPECT_FALSE(popup->isVisible());  // the row is not selected
  list->topLevelItem(0)->setSelected(true);
  EXPECT_EQ(editor->state().song.selection(), 0);
  emit list->customContextMenuRequested(QPoint(5, 5));
  EXPECT_TRUE(popup->isVisible());
  popup->hide();

  window->menus().popupAction(QStringLiteral("CopySongPath"))->trigger();
  EXPECT_EQ(clipboard.texts, (std::vector<std::string>{"/m/Song.wma"}));
  window->menus().popupAction(QStringLiteral("PlaySong"))->trigger();
  EXPECT_EQ(player.calls, (std::vector<std::string>{"play:/m/Song.wma@0"}));

  emit window->audioDropped("/m/a.mp3\r\n/m/b.mp3\r\n");
  EXPECT_EQ(list->topLevelItemCount(), 0);
  ASSERT_EQ(prompter.shown.size(), 1u);
  EXPECT_EQ(app::toQString(prompter.shown[0].title), QStringLiteral("tolva_格式错误"));
  emit window->audioDropped("/m/Singer-Title.mp3");
  ASSERT_EQ(list->topLevelItemCount(), 1);
  EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("Singer"));
}

TEST_F(PlaybackUiTest, OpenFolderShowsTheSongsFolderInTheFileManager) {
  UrlRecorder fileManager;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &fileManager, "open");
  QAction* openFolder = window->menus().popupAction(QStringLiteral("OpenSongFolder"));
  openFolder->trigger();  // no song: nothing to open
  EXPECT_TRUE(fileManager.opened.isEmpty());

  emit window->audioDropped(app::toGbk(QStringLiteral("/音乐/新歌/歌手-歌.mp3")));
  openFolder->trigger();
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  ASSERT_EQ(fileManager.opened.size(), 1);
  EXPECT_EQ(fileManager.opened[0].toLocalFile(), QStringLiteral("/音乐/新歌/"));
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(PlaybackUiTest, ASongDroppedOnAHeaderBoxIsTheSongDrop) {
  editor->start();
  // File managers offer the dragged files both as links and as plain text.
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/m/歌手-新歌.mp3"))});
  mime.setText(QStringLiteral("file:///m/歌手-新歌.mp3"));
  QLineEdit* songBox = window->headerEdit(1);
  const QPoint pos = songBox->mapTo(window, songBox->rect().center());
  QDragEnterEvent enter(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window->windowHandle(), &enter);
  QDropEvent dropped(QPointF(pos), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window->windowHandle(), &dropped);

  EXPECT_EQ(songBox->text(), QStringLiteral("新歌"));
  ASSERT_EQ(window->songList()->topLevelItemCount(), 1);
  EXPECT_EQ(window->songList()->topLevelItem(0)->text(4), QStringLiteral("/m/歌手-新歌.mp3"));

  // Plain text is still dropped into the box itself.
  QMimeData words;
  words.setText(QStringLiteral("晴天"));
  songBox->clear();
  QDragEnterEvent textEnter(pos, Qt::CopyAction, &words, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window->windowHandle(), &textEnter);
  QDropEvent textDropped(QPointF(pos), Qt::CopyAction, &words, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window->windowHandle(), &textDropped);
  EXPECT_EQ(songBox->text(), QStringLiteral("晴天"));
  EXPECT_EQ(window->songList()->topLevelItemCount(), 1);
  EXPECT_TRUE(prompter.shown.empty());
}


// F6 and Ctrl+Left/Right reach the jumps from the lyrics list; a header box keeps Ctrl+Left
// and Ctrl+Right for moving its cursor by word.
TEST_F(PlaybackUiTest, TheJumpKeysWorkFromTheLyricsListWhileAHeaderBoxKeepsItsOwn) {
  editor->start();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  dialogs.choice = "/m/a.mp3";
  button("工具条_控制播放_1")->trigger();
  editor->state().lyrics.replaceAll({"a", "[00:12.50]b"});
  editor->state().lyrics.setSelection(1);
  QWidget* view = window->lyricsView();
  view->setFocus();
  QTest::keyClick(view, Qt::Key_F6);
  EXPECT_EQ(player.calls, std::vector<std::string>{"play:/m/a.mp3@10"});
  EXPECT_EQ(status(0), QStringLiteral("播放时间:[00:10.50]"));
  EXPECT_EQ(button("工具条_控制播放_6")->text(), QStringLiteral("暂停"));
  player.position = playback::PositionSample{10.5, platform::SteadyClock::now(), false};
  QTest::keyClick(view, Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(player.calls.back(), "seek:7.50");
  QTest::keyClick(view, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(player.calls.back(), "seek:10.50");

  const std::size_t calls = player.calls.size();
  QLineEdit* singer = window->headerEdit(lyrics::HeaderFields::Singer);
  singer->setFocus();
  singer->setText(QStringLiteral("ab cd"));
  QTest::keyClick(singer, Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(singer->cursorPosition(), 3);
  QTest::keyClick(singer, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(singer->cursorPosition(), 5);
  EXPECT_EQ(player.calls.size(), calls);
}

#include "playback_bindings_test.moc"

// 播放速度: one of three marks; every choice reaches the player, and the label beside the tag
// button names a speed other than 1.0 and is hidden at 1.0.
TEST_F(PlaybackUiTest, TheSpeedMenuIsOneChoiceThatThePlayerAndTheLabelFollow) {
  QAction* normal = window->menus().action(QStringLiteral("PlayAtNormalSpeed"));
  QAction* threeQuarters = window->menus().action(QStringLiteral("PlayAtThreeQuarterSpeed"));
  QAction* half = window->menus().action(QStringLiteral("PlayAtHalfSpeed"));
  ASSERT_TRUE(normal && threeQuarters && half);
  QLabel* label = window->speedLabel();
  editor->start();
  EXPECT_TRUE(normal->isChecked());
  EXPECT_TRUE(label->isHidden());

  half->trigger();
  EXPECT_FALSE(normal->isChecked());
  EXPECT_TRUE(half->isChecked());
  EXPECT_FALSE(label->isHidden());
  EXPECT_EQ(label->text(), QStringLiteral("播放速度 0.5倍"));
  threeQuarters->trigger();
  threeQuarters->trigger();
  EXPECT_TRUE(threeQuarters->isChecked());
  EXPECT_FALSE(half->isChecked());
  EXPECT_EQ(label->text(), QStringLiteral("播放速度 0.75倍"));
  normal->trigger();
  EXPECT_TRUE(label->isHidden());
  EXPECT_EQ(player.calls, (std::vector<std::string>{"speed:50", "speed:75", "speed:100"}));
  // The designed texts stay as they were.
  EXPECT_EQ(window->tagButton()->text(), QStringLiteral("加入标签[00:00.00]"));
  EXPECT_EQ(window->tagButton()->toolTip(), QStringLiteral("加入时间标签"));
}
