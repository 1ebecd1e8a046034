#include "app/window/main_menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/window/command_item.h"

namespace app {

namespace {

// One menu entry; a null caption is a separator, a null command an item without a command.
struct Item {
  const char* caption;
  const char* command = nullptr;
  QKeySequence shortcut = {};
  enum Check { None, Unchecked, Checked } check = None;
  // The registered command when it differs from the one the item is named after: the pop-up
  // variant of a command that behaves differently from its menu and toolbar form.
  const char* variant = nullptr;
};

const Item kSeparator{nullptr};

void addItems(QMenu* menu, std::initializer_list<Item> items, const QString& namePrefix) {
  for (const Item& item : items) {
    if (!item.caption) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(QString::fromUtf8(item.caption));
    if (item.command) {
      action->setObjectName(namePrefix + QString::fromUtf8(item.command));
      nameCommand(action, QString::fromUtf8(item.variant ? item.variant : item.command));
    }
    if (!item.shortcut.isEmpty()) {
      action->setShortcut(item.shortcut);
      action->setShortcutContext(Qt::WindowShortcut);
    }
    if (item.check != Item::None) {
      action->setCheckable(true);
      action->setChecked(item.check == Item::Checked);
    }
  }
}

QMenu* barMenu(QMenuBar* bar, const char* title, std::initializer_list<Item> items) {
  QMenu* menu = bar->addMenu(QString::fromUtf8(title));
  addItems(menu, items, QString());
  return menu;
}

QMenu* popupMenu(QMainWindow* window, const char* name, std::initializer_list<Item> items) {
  auto* menu = new QMenu(window);
  menu->setObjectName(QString::fromUtf8(name));
  addItems(menu, items, QStringLiteral("popup:"));
  return menu;
}

}  // namespace

MainMenus::MainMenus(QMainWindow* window) : QObject(window), m_window(window) {
  setObjectName(QStringLiteral("MainMenus"));
  QMenuBar* bar = window->menuBar();
  barMenu(bar, "文件(F)",
          {{"打开歌词文件", "OpenLyricsFile"},
           {"新建歌词文件", "NewLyricsFile"},
           kSeparator,
           {"打开音频文件", "OpenAudioFile"},
           kSeparator,
           {"保存歌词", "SaveLyrics"},
           {"歌词另存为...", "SaveLyricsAs"},
           kSeparator,
           {"退出", "ExitProgram", QKeySequence(Qt::CTRL | Qt::Key_Y)}});
  barMenu(bar, "标签(T)",
          {{"添加时间标签", "AddTimeTag", QKeySequence(Qt::Key_F5)},
           {"添加个性签名", "AddSignature", QKeySequence(Qt::CTRL | Qt::Key_T)},
           {"添加个性签名到歌词尾部", "AppendSignature", QKeySequence(Qt::CTRL | Qt::Key_W)},
           kSeparator,
           {"删除每行的空格", "DeleteAllSpaces"},
           {"删除当前行时间标签", "DeleteLineTag"},
           {"删除当前文件的所有时间标签", "DeleteAllTimeTags"},
           {"删除所有的空行", "DeleteEmptyLines"},
           {"删除所有时间的小数部分", "StripTagFractions"},
           {"删除当前文件所有不带时间标签行", "DeleteUntaggedLines"}});
  barMenu(bar, "编辑(E)",
          {{"删除当前选中行", "DeleteSelectedLine", QKeySequence(Qt::Key_Delete)},
           {"清空当前歌词文件", "ClearLyrics"},
           kSeparator,
           {"上移本行歌词", "MoveLineUp"},
           {"下移本行歌词", "MoveLineDown"},
           kSeparator,
           {"镶入歌词到MP3音频文件中", "WriteLyricsBesideAudio"},
           kSeparator,
           {"测试当前编辑歌词", "StartTestPlay", QKeySequence(Qt::Key_F2)}});
  QMenu* settings = barMenu(bar, "设置(O)",
                            {{"更改字体", "ChangeFont"},
                             {"设置个性签名", "SetSignature"},
                             kSeparator,
                             {"双击添加时间标签", "ToggleDoubleClickAdd", {}, Item::Checked},
                             {"双击删除时间标签", "ToggleDoubleClickDelete", {}, Item::Unchecked},
                             kSeparator});
  QMenu* help = settings->addMenu(QStringLiteral("帮助"));
  help->setObjectName(QStringLiteral("帮助"));
  addItems(help,
           {{"关于软件", "ShowAbout"},
            {"快速入门", "ShowQuickStart"},
            {"咨询软件作者", "ContactAuthor"},
            {"建议或意见", "OpenFeedbackWindow"}},
           QString());

  barMenu(bar, "校对(J)",
          {{"从选中行播放", "PlayFromSelectedLine", QKeySequence(Qt::Key_F6)},
           {"后退3秒", "SeekBackward", QKeySequence(Qt::CTRL | Qt::Key_Left)},
           {"前进3秒", "SeekForward", QKeySequence(Qt::CTRL | Qt::Key_Right)},
           kSeparator,
           {"重新标记本行", "RestampLine", QKeySequence(Qt::SHIFT | Qt::Key_F5)},
           {"对齐到当前时间", "AlignToCurrentTime", QKeySequence(Qt::CTRL | Qt::Key_F5)},
           {"时间标签提前0.1秒", "NudgeTagEarlierTenth", QKeySequence(Qt::ALT | Qt::Key_Up)},
           {"时间标签推后0.1秒", "NudgeTagLaterTenth", QKeySequence(Qt::ALT | Qt::Key_Down)},
           {"时间标签提前0.01秒", "NudgeTagEarlierHundredth", QKeySequence(Qt::ALT | Qt::Key_Left)},
           {"时间标签推后0.01秒", "NudgeTagLaterHundredth", QKeySequence(Qt::ALT | Qt::Key_Right)},
           kSeparator,
           {"撤销", "Undo", QKeySequence(Qt::CTRL | Qt::Key_Z)},
           {"重做", "Redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
           {"恢复上次关闭时的歌词", "RestoreClosedLyrics"},
           kSeparator,
           {"整体平移时间标签...", "ShiftTimeTags"}});
  // The playback speed, a choice of three, at the end of 校对(J).
  QMenu* correcting = bar->actions().constLast()->menu();
  QMenu* speed = correcting->addMenu(QStringLiteral("播放速度"));
  speed->setObjectName(QStringLiteral("播放速度"));
  addItems(speed,
           {{"1.0倍", "PlayAtNormalSpeed", {}, Item::Checked},
            {"0.75倍", "PlayAtThreeQuarterSpeed", {}, Item::Unchecked},
            {"0.5倍", "PlayAtHalfSpeed", {}, Item::Unchecked}},
           QString());
  // The waveform window, after the playback speed, at the end of 校对(J).
  correcting->addSeparator();
  addItems(correcting, {{"波形窗口", "ShowWaveformWindow", QKeySequence(Qt::Key_F8)}}, QString());
  // The key-lag compensation, after the waveform window, at the end of 校对(J). Its item shows
  // the lag in force as a tooltip.
  correcting->addSeparator();
  addItems(correcting,
           {{"按键延迟补偿...", "ShowKeyLagDialog"},
            {"启用按键延迟补偿", "ToggleKeyLagCompensation", {}, Item::Unchecked}},
           QString());
  correcting->setToolTipsVisible(true);

  m_songPopup = popupMenu(window, "超级编辑框菜单",
                          {{"播放", "PlaySong", {}, Item::None, "PlaySongFromPopup"},
                           kSeparator,
                           {"复制文件路径", "CopySongPath"},
                           kSeparator,
                           {"打开文件夹", "OpenSongFolder"}});
  m_lyricsPopup = popupMenu(window, "列表框编辑歌词",
                            {{"打开歌词", "OpenLyricsFile"},
                             kSeparator,
                             {"预览/修改歌词", "PreviewLyrics"},
                             kSeparator,
                             {"上    移", "MoveLineUp"},
                             {"下    移", "MoveLineDown"},
                             kSeparator,
                             {"删除当前行文本", "DeleteSelectedLine", QKeySequence(Qt::Key_Delete)},
                             {"删除本行时间标签", "DeleteLineTag"},
                             kSeparator,
                             {"清空歌词文件", "ClearLyrics"}});
  m_savedLyricsPopup = popupMenu(window, "超级列表框_保存歌词",
                                 {{"编辑当前歌词", "OpenSavedRecord"},
                                  kSeparator,
                                  {"快速导入文本到桌面", "ExportRecordToDesktop"},
                                  kSeparator,
                                  {"复制歌曲路径", "CopySavedSongPath"},
                                  {"复制当前歌词", "CopySavedLyrics"},
                                  kSeparator,
                                  {"删除保存歌词", "DeleteSavedRecord"},
                                  kSeparator,
                                  {"清空所有保存的歌词文件", "ClearSavedRecords"}});
}

QAction* MainMenus::action(const QString& command) const {
  return m_window->menuBar()->findChild<QAction*>(command);
}

QAction* MainMenus::popupAction(const QString& command) const {
  return m_window->findChild<QAction*>(QStringLiteral("popup:") + command);
}

QMenu* MainMenus::popup(const QString& name) const {
  return m_window->findChild<QMenu*>(name, Qt::FindDirectChildrenOnly);
}

void MainMenus::showPopupAt(QMenu* menu, const QPoint& globalPos) {
  menu->popup(globalPos + QPoint(3, 3));
}

}  // namespace app
