#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;

namespace app {

// The menu bar of the main window with its shortcut keys and check marks, and the three
// pop-up menus that are shown at the pointer by their lists. Every item names the command it
// raises (see command_item.h); menu-bar actions are also named after it ("AddTimeTag"), pop-up
// actions "popup:" + command.
class MainMenus : public QObject {
  Q_OBJECT

 public:
  // Builds the menus into `window`'s menu bar; the pop-ups are children of `window`.
  explicit MainMenus(QMainWindow* window);

  // The menu-bar action of `command` (e.g. "AddTimeTag"); nullptr when there is none.
  QAction* action(const QString& command) const;
  // The pop-up action of `command` (objectName "popup:" + command); nullptr when there is none.
  QAction* popupAction(const QString& command) const;
  // The pop-up menu named `name` ("超级编辑框菜单", "列表框编辑歌词", "超级列表框_保存歌词").
  QMenu* popup(const QString& name) const;
  // The pop-ups of the song list, the lyrics list and the saved-lyrics list.
  QMenu* songPopup() const { return m_songPopup; }
  QMenu* lyricsPopup() const { return m_lyricsPopup; }
  QMenu* savedLyricsPopup() const { return m_savedLyricsPopup; }
  // Shows `menu` with its top-left corner 3 pixels right of and below `globalPos`.
  static void showPopupAt(QMenu* menu, const QPoint& globalPos);

 private:
  QMainWindow* m_window;
  QMenu* m_songPopup = nullptr;
  QMenu* m_lyricsPopup = nullptr;
  QMenu* m_savedLyricsPopup = nullptr;
};

}  // namespace app
