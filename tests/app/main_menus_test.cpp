#include <gtest/gtest.h>

#include <QAction>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

#include "app/window/main_menus.h"
#include "app/window/main_window.h"

namespace {

// One line per item: "-" for a separator, "caption|objectName|shortcut|check" otherwise, where
// check is "" (not checkable), "on" or "off", and a submenu is "caption>".
QStringList describe(const QMenu* menu) {
  QStringList lines;
  for (const QAction* action : menu->actions()) {
    if (action->isSeparator()) {
      lines << QStringLiteral("-");
    } else if (action->menu()) {
      lines << action->text() + QLatin1Char('>');
    } else {
      const QString check = action->isCheckable() ? (action->isChecked() ? QStringLiteral("on")
                                                                         : QStringLiteral("off"))
                                                  : QString();
      lines << QStringList{action->text(), action->objectName(),
                           action->shortcut().toString(QKeySequence::PortableText), check}
                   .join(QLatin1Char('|'));
    }
  }
  return lines;
}

QStringList lines(std::initializer_list<const char*> items) {
  QStringList result;
  for (const char* item : items) result << QString::fromUtf8(item);
  return result;
}

}  // namespace

TEST(MainMenusTest, MenuBarHoldsFourDesignedMenusItemForItemThenTheCorrectingMenu) {
  app::MainWindow window;
  const QList<QAction*> menus = window.menuBar()->actions();
  ASSERT_EQ(menus.size(), 5);
  EXPECT_EQ(menus[4]->text(), QStringLiteral("校对(J)"));
  EXPECT_EQ(menus[0]->text(), QStringLiteral("文件(F)"));
  EXPECT_EQ(menus[1]->text(), QStringLiteral("标签(T)"));
  EXPECT_EQ(menus[2]->text(), QStringLiteral("编辑(E)"));
  EXPECT_EQ(menus[3]->text(), QStringLiteral("设置(O)"));

  EXPECT_EQ(describe(menus[0]->menu()),
            lines({"打开歌词文件|OpenLyricsFile||", "新建歌词文件|NewLyricsFile||", "-",
                   "打开音频文件|OpenAudioFile||", "-", "保存歌词|SaveLyrics||",
                   "歌词另存为...|SaveLyricsAs||", "-", "退出|ExitProgram|Ctrl+Y|"}));
  EXPECT_EQ(
      describe(menus[1]->menu()),
      lines({"添加时间标签|AddTimeTag|F5|", "添加个性签名|AddSignature|Ctrl+T|",
             "添加个性签名到歌词尾部|AppendSignature|Ctrl+W|", "-",
             "删除每行的空格|DeleteAllSpaces||", "删除当前行时间标签|DeleteLineTag||",
             "删除当前文件的所有时间标签|DeleteAllTimeTags||", "删除所有的空行|DeleteEmptyLines||",
             "删除所有时间的小数部分|StripTagFractions||",
             "删除当前文件所有不带时间标签行|DeleteUntaggedLines||"}));
  EXPECT_EQ(describe(menus[2]->menu()),
            lines({"删除当前选中行|DeleteSelectedLine|Del|", "清空当前歌词文件|ClearLyrics||", "-",
                   "上移本行歌词|MoveLineUp||", "下移本行歌词|MoveLineDown||", "-",
                   "镶入歌词到MP3音频文件中|WriteLyricsBesideAudio||", "-",
                   "测试当前编辑歌词|StartTestPlay|F2|"}));
  EXPECT_EQ(describe(menus[3]->menu()),
            lines({"更改字体|ChangeFont||", "设置个性签名|SetSignature||", "-",
                   "双击添加时间标签|ToggleDoubleClickAdd||on",
                   "双击删除时间标签|ToggleDoubleClickDelete||off", "-", "帮助>"}));
  const QMenu* help = menus[3]->menu()->actions().back()->menu();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(describe(help),
            lines({"关于软件|ShowAbout||", "快速入门|ShowQuickStart||",
                   "咨询软件作者|ContactAuthor||", "建议或意见|OpenFeedbackWindow||"}));
  EXPECT_EQ(window.menus().action(QStringLiteral("AddTimeTag"))->shortcutContext(),
            Qt::WindowShortcut);
}

TEST(MainMenusTest, PopupMenusAreHiddenMenusWithTheirItems) {
  app::MainWindow window;
  app::MainMenus& menus = window.menus();
  for (QAction* barMenu : window.menuBar()->actions()) {
    EXPECT_FALSE(barMenu->text().startsWith(QStringLiteral("超级")));
  }
  QMenu* song = menus.popup(QStringLiteral("超级编辑框菜单"));
  QMenu* lyrics = menus.popup(QStringLiteral("列表框编辑歌词"));
  QMenu* saved = menus.popup(QStringLiteral("超级列表框_保存歌词"));
  ASSERT_TRUE(song && lyrics && saved);
  EXPECT_FALSE(song->isVisible());
  EXPECT_EQ(describe(song),
            lines({"播放|popup:PlaySong||", "-", "复制文件路径|popup:CopySongPath||", "-",
                   "打开文件夹|popup:OpenSongFolder||"}));
  EXPECT_EQ(
      describe(lyrics),
      lines({"打开歌词|popup:OpenLyricsFile||", "-", "预览/修改歌词|popup:PreviewLyrics||", "-",
             "上    移|popup:MoveLineUp||", "下    移|popup:MoveLineDown||", "-",
             "删除当前行文本|popup:DeleteSelectedLine|Del|",
             "删除本行时间标签|popup:DeleteLineTag||", "-", "清空歌词文件|popup:ClearLyrics||"}));
  EXPECT_EQ(describe(saved),
            lines({"编辑当前歌词|popup:OpenSavedRecord||", "-",
                   "快速导入文本到桌面|popup:ExportRecordToDesktop||", "-",
                   "复制歌曲路径|popup:CopySavedSongPath||", "复制当前歌词|popup:CopySavedLyrics||",
                   "-", "删除保存歌词|popup:DeleteSavedRecord||", "-",
                   "清空所有保存的歌词文件|popup:ClearSavedRecords||"}));
  EXPECT_EQ(menus.popupAction(QStringLiteral("OpenLyricsFile")), lyrics->actions().front());
  EXPECT_EQ(menus.action(QStringLiteral("PlaySong")), nullptr);
}

TEST(MainMenusTest, ShortcutsRaiseTheirBarCommandsWhileTheWindowIsActive) {
  app::MainWindow window;
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.lyricsView()->setFocus();
  app::MainMenus& menus = window.menus();

  struct Key {
    const char* command;
    int key;
    Qt::KeyboardModifiers modifiers;
  };
  const Key keys[] = {{"AddTimeTag", Qt::Key_F5, Qt::NoModifier},
                      {"StartTestPlay", Qt::Key_F2, Qt::NoModifier},
                      {"AddSignature", Qt::Key_T, Qt::ControlModifier},
                      {"AppendSignature", Qt::Key_W, Qt::ControlModifier},
                      {"DeleteSelectedLine", Qt::Key_Delete, Qt::NoModifier},
                      {"ExitProgram", Qt::Key_Y, Qt::ControlModifier}};
  QSignalSpy popupDelete(menus.popupAction(QStringLiteral("DeleteSelectedLine")),
                         &QAction::triggered);
  for (const Key& key : keys) {
    SCOPED_TRACE(key.command);
    QSignalSpy triggered(menus.action(QString::fromUtf8(key.command)), &QAction::triggered);
    QTest::keyClick(window.lyricsView(), static_cast<Qt::Key>(key.key), key.modifiers);
    EXPECT_EQ(triggered.count(), 1);
  }
  // Del belongs to both the bar item and the hidden pop-up item; only the bar item answers.
  EXPECT_EQ(popupDelete.count(), 0);
}
