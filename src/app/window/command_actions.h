#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

#include "shell/command_registry.h"

class QAction;
class QMenu;

namespace app {

class MainWindow;

// Connects every item of the main window that raises a command (the menu bar with its submenu,
// the three pop-ups and the two toolbars) to the command registry, and keeps the check marks on
// the registered state: a checkable item never flips by itself. An item that names no
// registered command stops a debug build at start-up; unboundItems() finds them in any build.
class CommandActions : public QObject {
  Q_OBJECT

 public:
  // Binds the items of `window`; every command must be registered in `registry` by now, and
  // `registry` must outlive this.
  CommandActions(MainWindow& window, shell::CommandRegistry& registry);

  // The items that raise commands, in menu order: the bar's menus (submenus inside their
  // menu), then the pop-ups, then the tag toolbar and the playback toolbar.
  static QList<QAction*> commandItems(const MainWindow& window);
  // The items of `window` whose command is missing or not in `registry`, as
  // "caption (command)".
  static QStringList unboundItems(const MainWindow& window, const shell::CommandRegistry& registry);

 private:
  void showCheckMarks();

  shell::CommandRegistry& m_registry;
  QList<QAction*> m_checkable;
};

}  // namespace app
