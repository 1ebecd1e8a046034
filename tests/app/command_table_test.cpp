#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <set>
#include <string>
#include <vector>

#include "app/editor_app.h"
#include "app/window/command_actions.h"
#include "app/window/command_item.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "shell/command_registry.h"
#include "support/fake_services.h"

namespace {

// One item of the designed menus, pop-ups and toolbars, in order: where it sits, its caption
// ("-" for a separator), its shortcut and its command (">" for a submenu).
struct DesignItem {
  const char* place;
  const char* caption;
  const char* shortcut;
  const char* command;
};

// The menu bar with its submenu 帮助, the three pop-ups and the two toolbars (separators
// included, so a toolbar's rows follow its button indexes).
const DesignItem kDesign[] = {
    {"文件(F)", "打开歌词文件", "", "OpenLyricsFile"},
    {"文件(F)", "新建歌词文件", "", "NewLyricsFile"},
    {"文件(F)", "-", "", ""},
    {"文件(F)", "打开音频文件", "", "OpenAudioFile"},
    {"文件(F)", "-", "", ""},
    {"文件(F)", "保存歌词", "", "SaveLyrics"},
    {"文件(F)", "歌词另存为...", "", "SaveLyricsAs"},
    {"文件(F)", "-", "", ""},
    {"文件(F)", "退出", "Ctrl+Y", "ExitProgram"},
    {"标签(T)", "添加时间标签", "F5", "AddTimeTag"},
    {"标签(T)", "添加个性签名", "Ctrl+T", "AddSignature"},
    {"标签(T)", "添加个性签名到歌词尾部", "Ctrl+W", "AppendSignature"},
    {"标签(T)", "-", "", ""},
    {"标签(T)", "删除每行的空格", "", "DeleteAllSpaces"},
    {"标签(T)", "删除当前行时间标签", "", "DeleteLineTag"},
    {"标签(T)", "删除当前文件的所有时间标签", "", "DeleteAllTimeTags"},
    {"标签(T)", "删除所有的空行", "", "DeleteEmptyLines"},
    {"标签(T)", "删除所有时间的小数部分", "", "StripTagFractions"},
    {"标签(T)", "删除当前文件所有不带时间标签行", "", "DeleteUntaggedLines"},
    {"编辑(E)", "删除当前选中行", "Del", "DeleteSelectedLine"},
    {"编辑(E)", "清空当前歌词文件", "", "ClearLyrics"},
    {"编辑(E)", "-", "", ""},
    {"编辑(E)", "上移本行歌词", "", "MoveLineUp"},
    {"编辑(E)", "下移本行歌词", "", "MoveLineDown"},
    {"编辑(E)", "-", "", ""},
    {"编辑(E)", "镶入歌词到MP3音频文件中", "", "WriteLyricsBesideAudio"},
    {"编辑(E)", "-", "", ""},
    {"编辑(E)", "测试当前编辑歌词", "F2", "StartTestPlay"},
    {"设置(O)", "更改字体", "", "ChangeFont"},
    {"设置(O)", "设置个性签名", "", "SetSignature"},
    {"设置(O)", "-", "", ""},
    {"设置(O)", "双击添加时间标签", "", "ToggleDoubleClickAdd"},
    {"设置(O)", "双击删除时间标签", "", "ToggleDoubleClickDelete"},
    {"设置(O)", "-", "", ""},
    {"设置(O)", "帮助", "", ">"},
    {"帮助", "关于软件", "", "ShowAbout"},
    {"帮助", "快速入门", "", "ShowQuickStart"},
    {"帮助", "咨询软件作者", "", "ContactAuthor"},
    {"帮助", "建议或意见", "", "OpenFeedbackWindow"},
    // The one menu beyond the design, after the four designed ones.
    {"校对(J)", "从选中行播放", "F6", "PlayFromSelectedLine"},
    {"校对(J)", "后退3秒", "Ctrl+Left", "SeekBackward"},
    {"校对(J)", "前进3秒", "Ctrl+Right", "SeekForward"},
    {"校对(J)", "-", "", ""},
    {"校对(J)", "重新标记本行", "Shift+F5", "RestampLine"},
    {"校对(J)", "对齐到当前时间", "Ctrl+F5", "AlignToCurrentTime"},
    {"校对(J)", "时间标签提前0.1秒", "Alt+Up", "NudgeTagEarlierTenth"},
    {"校对(J)", "时间标签推后0.1秒", "Alt+Down", "NudgeTagLaterTenth"},
    {"校对(J)", "时间标签提前0.01秒", "Alt+Left", "NudgeTagEarlierHundredth"},
    {"校对(J)", "时间标签推后0.01秒", "Alt+Right", "NudgeTagLaterHundredth"},
    {"校对(J)", "-", "", ""},
    {"校对(J)", "撤销", "Ctrl+Z", "Undo"},
    {"校对(J)", "重做", "Ctrl+Shift+Z", "Redo"},
    {"校对(J)", "恢复上次关闭时的歌词", "", "RestoreClosedLyrics"},
    {"校对(J)", "-", "", ""},
    {"校对(J)", "整体平移时间标签...", "", "ShiftTimeTags"},
    {"校对(J)", "播放速度", "", ">"},
    {"校对(J)", "-", "", ""},
    {"校对(J)", "波形窗口", "F8", "ShowWaveformWindow"},
    {"校对(J)", "-", "", ""},
    {"校对(J)", "按键延迟补偿...", "", "ShowKeyLagDialog"},
    {"校对(J)", "启用按键延迟补偿", "", "ToggleKeyLagCompensation"},
    {"播放速度", "1.0倍", "", "PlayAtNormalSpeed"},
    {"播放速度", "0.75倍", "", "PlayAtThreeQuarterSpeed"},
    {"播放速度", "0.5倍", "", "PlayAtHalfSpeed"},
    // The pop-up's 播放 is the pop-up variant of PlaySong, which never opens the file dialog;
    // 打开文件夹 opens the song's folder.
    {"超级编辑框菜单", "播放", "", "PlaySongFromPopup"},
    {"超级编辑框菜单", "-", "", ""},
    {"超级编辑框菜单", "复制文件路径", "", "CopySongPath"},
    {"超级编辑框菜单", "-", "", ""},
    {"超级编辑框菜单", "打开文件夹", "", "OpenSongFolder"},
    {"列表框编辑歌词", "打开歌词", "", "OpenLyricsFile"},
    {"列表框编辑歌词", "-", "", ""},
    {"列表框编辑歌词", "预览/修改歌词", "", "PreviewLyrics"},
    {"列表框编辑歌词", "-", "", ""},
    {"列表框编辑歌词", "上    移", "", "MoveLineUp"},
    {"列表框编辑歌词", "下    移", "", "MoveLineDown"},
    {"列表框编辑歌词", "-", "", ""},
    {"列表框编辑歌词", "删除当前行文本", "Del", "DeleteSelectedLine"},
    {"列表框编辑歌词", "删除本行时间标签", "", "DeleteLineTag"},
    {"列表框编辑歌词", "-", "", ""},
    {"列表框编辑歌词", "清空歌词文件", "", "ClearLyrics"},
    {"超级列表框_保存歌词", "编辑当前歌词", "", "OpenSavedRecord"},
    {"超级列表框_保存歌词", "-", "", ""},
    {"超级列表框_保存歌词", "快速导入文本到桌面", "", "ExportRecordToDesktop"},
    {"超级列表框_保存歌词", "-", "", ""},
    {"超级列表框_保存歌词", "复制歌曲路径", "", "CopySavedSongPath"},
    {"超级列表框_保存歌词", "复制当前歌词", "", "CopySavedLyrics"},
    {"超级列表框_保存歌词", "-", "", ""},
    {"超级列表框_保存歌词", "删除保存歌词", "", "DeleteSavedRecord"},
    {"超级列表框_保存歌词", "-", "", ""},
    {"超级列表框_保存歌词", "清空所有保存的歌词文件", "", "ClearSavedRecords"},
    {"工具条_标签加入", "-", "", ""},
    {"工具条_标签加入", "加入标签[00:00.00]", "", "AddTimeTag"},
    {"工具条_标签加入", "-", "", ""},
    {"工具条_标签加入", "删除本行首时间标签", "", "DeleteLineTag"},
    {"工具条_标签加入", "-", "", ""},
    {"工具条_控制播放", "-", "", ""},
    {"工具条_控制播放", "打开", "", "OpenAudioFile"},
    {"工具条_控制播放", "保存", "", "SaveLyrics"},
    {"工具条_控制播放", "另存", "", "SaveLyricsAs"},
    {"工具条_控制播放", "-", "", ""},
    {"工具条_控制播放", "播放", "", "PlaySong"},
    {"工具条_控制播放", "暂停", "", "TogglePause"},
    {"工具条_控制播放", "停止", "", "StopPlayback"},
    {"工具条_控制播放", "-", "", ""},
    {"工具条_控制播放", "测试", "", "StartTestPlay"},
    {"工具条_控制播放", "-", "", ""},
};

// The commands whose items carry a check mark, with the start state of the mark.
const std::set<std::string> kCheckedAtStart = {"ToggleDoubleClickAdd", "PlayAtNormalSpeed"};
const std::set<std::string> kCheckable = {"ToggleDoubleClickAdd", "ToggleDoubleClickDelete",
                                          "PlayAtNormalSpeed", "PlayAtThreeQuarterSpeed",
                                          "PlayAtHalfSpeed", "ToggleKeyLagCompensation"};

// An item of the window as found: the action, where it sits and its row as in kDesign.
struct FoundItem {
  QAction* action;
  std::string row;
};

std::string row(const char* place, const QString& caption, const QString& shortcut,
                const QString& command) {
  return std::string(place) + " | " + caption.toStdString() + " | " + shortcut.toStdString() +
         " | " + command.toStdString();
}

void walkMenu(const QMenu* menu, const char* place, std::vector<FoundItem>& found) {
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) {
      found.push_back({action, row(place, QStringLiteral("-"), {}, {})});
    } else if (action->menu()) {
      found.push_back({action, row(place, action->text(), {}, QStringLiteral(">"))});
    } else {
      found.push_back({action, row(place, action->text(),
                                   action->shortcut().toString(QKeySequence::PortableText),
                                   app::commandOf(action))});
    }
  }
  for (QAction* action : menu->actions()) {
    if (action->menu()) {
      const std::string title = action->menu()->title().toStdString();
      walkMenu(action->menu(),
               title == "帮助"       ? "帮助"
               : title == "播放速度" ? "播放速度"
                                     : "?",
               found);
    }
  }
}

// Every item of the window's menus, pop-ups and toolbars, in the order of kDesign.
std::vector<FoundItem> walk(const app::MainWindow& window) {
  std::vector<FoundItem> found;
  const std::vector<std::string> titles = {"文件(F)", "标签(T)", "编辑(E)", "设置(O)", "校对(J)"};
  const QList<QAction*> bar = window.menuBar()->actions();
  for (int index = 0; index < bar.size(); ++index) {
    const std::string title = bar[index]->text().toStdString();
    walkMenu(bar[index]->menu(), index < 5 && title == titles[index] ? titles[index].c_str() : "?",
             found);
  }
  for (const char* name : {"超级编辑框菜单", "列表框编辑歌词", "超级列表框_保存歌词"}) {
    QMenu* popup = window.menus().popup(QString::fromUtf8(name));
    EXPECT_NE(popup, nullptr) << name;
    if (popup) walkMenu(popup, name, found);
  }
  for (const auto& [bar, name] : {std::pair{window.tagToolBar(), "工具条_标签加入"},
                                  std::pair{window.playbackToolBar(), "工具条_控制播放"}}) {
    for (QAction* action : bar->actions()) {
      found.push_back({action, action->isSeparator()
                                   ? row(name, QStringLiteral("-"), {}, {})
                                   : row(name, action->text(), {}, app::commandOf(action))});
    }
  }
  return found;
}

bool isCommandItem(const DesignItem& item) {
  return std::string(item.caption) != "-" && std::string(item.command) != ">";
}

std::set<std::string> designCommands() {
  std::set<std::string> commands;
  for (const DesignItem& item : kDesign) {
    if (isCommandItem(item)) commands.insert(item.command);
  }
  return commands;
}

}  // namespace

TEST(CommandTableTest, EveryDesignedItemSitsInItsPlaceAndNamesItsCommand) {
  app::MainWindow window;
  const std::vector<FoundItem> found = walk(window);
  ASSERT_EQ(found.size(), std::size(kDesign));
  for (std::size_t index = 0; index < found.size(); ++index) {
    const DesignItem& design = kDesign[index];
    EXPECT_EQ(found[index].row,
              row(design.place, QString::fromUtf8(design.caption),
                  QString::fromUtf8(design.shortcut), QString::fromUtf8(design.command)))
        << "item " << index;
  }
}

TEST(CommandTableTest, EveryItemRaisesItsCommandAndOnlyTheRegisteredStateSetsAMark) {
  app::MainWindow window;
  shell::CommandRegistry registry;
  std::vector<std::string> ran;
  // The marks show what the registry says, whatever the commands do.
  bool addsMark = false;
  bool deletesMark = true;
  for (const std::string& command : designCommands()) {
    const auto record = [&ran, command] { ran.push_back(command); };
    if (command == "ToggleDoubleClickAdd") {
      registry.addCheckable(command, record, [&addsMark] { return addsMark; });
    } else if (command == "ToggleDoubleClickDelete") {
      registry.addCheckable(command, record, [&deletesMark] { return deletesMark; });
    } else {
      registry.add(command, record);
    }
  }
  EXPECT_EQ(app::CommandActions::unboundItems(window, registry), QStringList());
  app::CommandActions actions(window, registry);

  const std::vector<FoundItem> found = walk(window);
  ASSERT_EQ(found.size(), std::size(kDesign));
  int items = 0;
  for (std::size_t index = 0; index < found.size(); ++index) {
    const DesignItem& design = kDesign[index];
    if (!isCommandItem(design)) continue;
    ++items;
    SCOPED_TRACE(found[index].row);
    QAction* action = found[index].action;
    EXPECT_TRUE(action->isEnabled());
    EXPECT_TRUE(action->isVisible());
    EXPECT_EQ(action->isCheckable(), kCheckable.count(design.command) == 1);
    ran.clear();
    action->trigger();
    EXPECT_EQ(ran, std::vector<std::string>{design.command});
  }
  // The 54 designed items and those of 校对(J).
  EXPECT_EQ(items, 54 + 19);

  QAction* adds = window.menus().action(QStringLiteral("ToggleDoubleClickAdd"));
  QAction* deletes = window.menus().action(QStringLiteral("ToggleDoubleClickDelete"));
  // Bound, the marks took the registered state over the window's start state.
  EXPECT_FALSE(adds->isChecked());
  EXPECT_TRUE(deletes->isChecked());
  // Choosing an item does not flip its mark when the command leaves the state as it was.
  adds->trigger();
  deletes->trigger();
  EXPECT_FALSE(adds->isChecked());
  EXPECT_TRUE(deletes->isChecked());
  // A change reported by the state's owner shows at once.
  addsMark = true;
  deletesMark = false;
  EXPECT_FALSE(adds->isChecked());
  registry.checkedStateChanged();
  EXPECT_TRUE(adds->isChecked());
  EXPECT_FALSE(deletes->isChecked());
}

TEST(CommandTableTest, ItemsWithoutARegisteredCommandAreReported) {
  app::MainWindow window;
  shell::CommandRegistry registry;
  for (const std::string& command : designCommands()) {
    if (command != "DeleteLineTag" && command != "ChangeFont") registry.add(command, [] {});
  }
  // An item that names nothing at all.
  window.menus().popup(QStringLiteral("超级编辑框菜单"))->addAction(QStringLiteral("无名"));
  // Only looked for: binding them would stop a debug build.
  EXPECT_EQ(app::CommandActions::unboundItems(window, registry),
            (QStringList{QStringLiteral("删除当前行时间标签 (DeleteLineTag)"),
                         QStringLiteral("更改字体 (ChangeFont)"), QStringLiteral("无名 ()"),
                         QStringLiteral("删除本行时间标签 (DeleteLineTag)"),
                         QStringLiteral("删除本行首时间标签 (DeleteLineTag)")}));
}

TEST(CommandTableTest, TheEditorRegistersEveryDesignedCommand) {
  testsupport::EditorHarness harness;
  app::EditorApp& editor = harness.create();
  EXPECT_EQ(app::CommandActions::unboundItems(editor.window(), editor.commands()), QStringList());
  const std::vector<std::string> names = editor.commands().names();
  const std::set<std::string> design = designCommands();
  // No command is registered that no item raises, and none that an item names is missing.
  EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), design);
  for (const std::string& command : design) {
    SCOPED_TRACE(command);
    EXPECT_EQ(editor.commands().isCheckable(command), kCheckable.count(command) == 1);
  }
  editor.start();
  for (const std::string& command : kCheckable) {
    SCOPED_TRACE(command);
    const bool on = kCheckedAtStart.count(command) == 1;
    EXPECT_EQ(editor.commands().isChecked(command), on);
    EXPECT_EQ(editor.window().menus().action(QString::fromStdString(command))->isChecked(), on);
  }
  // 更改字体 reaches the font dialog once and nothing else.
  editor.window().menus().action(QStringLiteral("ChangeFont"))->trigger();
  EXPECT_EQ(harness.fontChooser.opened.size(), 1u);
  EXPECT_TRUE(harness.prompter.shown.empty());
  EXPECT_TRUE(harness.dialogs.opened.empty());
}
