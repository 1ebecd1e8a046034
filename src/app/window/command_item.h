#pragma once

#include <QAction>
#include <QString>
#include <QVariant>

namespace app {

// Menu items, pop-up items and toolbar buttons carry the name of the command they raise in this
// property; CommandActions connects them to the command registry by it.
inline constexpr char kCommandProperty[] = "command";

// Names the command that `action` raises.
inline void nameCommand(QAction* action, const QString& command) {
  action->setProperty(kCommandProperty, command);
}

// The command that `action` raises; empty when it names none.
inline QString commandOf(const QAction* action) {
  return action->property(kCommandProperty).toString();
}

}  // namespace app
