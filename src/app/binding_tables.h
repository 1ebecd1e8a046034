#pragma once

#include <QObject>
#include <initializer_list>
#include <type_traits>

#include "app/qt_interval_timer.h"
#include "shell/command_registry.h"

namespace app {

class MainWindow;

// The window's timer `name` (its Chinese control name, UTF-8); every timer the bindings ask for
// exists, so a missing one stops a debug build.
QtIntervalTimer& timerOf(const MainWindow& window, const char* name);

// A name and the member function of a `Target` that goes with it: a command and what it runs,
// or a timer and what each of its ticks runs.
template <typename Target>
struct NamedMember {
  const char* name;
  void (Target::*run)();
};

// Registers each command of `commands` to run its member function on `target`, which must
// outlive `registry`'s use of it.
template <typename Target>
void addMemberCommands(shell::CommandRegistry& registry, Target& target,
                       std::initializer_list<NamedMember<std::type_identity_t<Target>>> commands) {
  for (const auto& command : commands) {
    registry.add(command.name, [&target, run = command.run] { (target.*run)(); });
  }
}

// Runs the member function of `target` named beside each timer of `window` on every tick, for
// as long as `context` lives.
template <typename Target>
void connectTimerTicks(const MainWindow& window, const QObject* context, Target& target,
                       std::initializer_list<NamedMember<std::type_identity_t<Target>>> timers) {
  for (const auto& timer : timers) {
    QObject::connect(&timerOf(window, timer.name), &QtIntervalTimer::ticked, context,
                     [&target, run = timer.run] { (target.*run)(); });
  }
}

}  // namespace app
