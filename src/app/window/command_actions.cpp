#include "app/window/command_actions.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolBar>

#include "app/window/command_item.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"

namespace app {

namespace {

void collect(const QMenu* menu, QList<QAction*>& items) {
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) continue;
    if (action->menu()) {
      collect(action->menu(), items);
    } else {
      items.append(action);
    }
  }
}

}  // namespace

QList<QAction*> CommandActions::commandItems(const MainWindow& window) {
  QList<QAction*> items;
  for (QAction* barMenu : window.menuBar()->actions()) {
    if (barMenu->menu()) collect(barMenu->menu(), items);
  }
  const MainMenus& menus = window.menus();
  for (QMenu* popup : {menus.songPopup(), menus.lyricsPopup(), menus.savedLyricsPopup()}) {
    collect(popup, items);
  }
  for (const QToolBar* bar : {window.tagToolBar(), window.playbackToolBar()}) {
    for (QAction* action : bar->actions()) {
      if (!action->isSeparator()) items.append(action);
    }
  }
  return items;
}

QStringList CommandActions::unboundItems(const MainWindow& window,
                                         const shell::CommandRegistry& registry) {
  QStringList unbound;
  for (const QAction* action : commandItems(window)) {
    const QString command = commandOf(action);
    if (command.isEmpty() || !registry.has(command.toStdString())) {
      unbound.append(action->text() + QStringLiteral(" (") + command + QLatin1Char(')'));
    }
  }
  return unbound;
}

CommandActions::CommandActions(MainWindow& window, shell::CommandRegistry& registry)
    : QObject(&window), m_registry(registry) {
#ifndef NDEBUG
  // A menu item that silently does nothing is a wiring fault; a debug build stops at start-up.
  if (const QStringList unbound = unboundItems(window, registry); !unbound.isEmpty()) {
    qFatal("items without a registered command: %s",
           qPrintable(unbound.join(QStringLiteral(", "))));
  }
#endif
  for (QAction* action : commandItems(window)) {
    const std::string name = commandOf(action).toStdString();
    if (!registry.has(name)) continue;
    if (registry.isCheckable(name)) {
      action->setCheckable(true);
      m_checkable.append(action);
    }
    connect(action, &QAction::triggered, this, [this, name] {
      m_registry.run(name);
      // Qt has flipped the mark before the command ran; the registered state decides it.
      showCheckMarks();
    });
  }
  showCheckMarks();
  registry.addCheckedStateListener([self = QPointer<CommandActions>(this)] {
    if (self) self->showCheckMarks();
  });
}

void CommandActions::showCheckMarks() {
  for (QAction* action : m_checkable) {
    action->setChecked(m_registry.isChecked(commandOf(action).toStdString()));
  }
}

}  // namespace app
