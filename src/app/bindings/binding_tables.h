#pragma once

#include <QObject>
#include <initializer_list>
#include <type_traits>

#include "app/adapters/qt_interval_timer.h"
#include "platform/slide.h"
#include "shell/command_registry.h"

namespace app {

// A command's name and the member function of a `Target` that it runs.
template <typename Target>
struct NamedMember {
  const char* name;
  void (Target::*run)();
};

// A timer and the member function of a `Target` that each of its ticks runs.
template <typename Target>
struct TimerTick {
  QtIntervalTimer* timer;
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

// Runs the member function of `target` beside each timer on every tick, for as long as
// `context` lives.
template <typename Target>
void connectTimerTicks(const QObject* context, Target& target,
                       std::initializer_list<TimerTick<std::type_identity_t<Target>>> timers) {
  for (const auto& timer : timers) {
    QObject::connect(timer.timer, &QtIntervalTimer::ticked, context,
                     [&target, run = timer.run] { (target.*run)(); });
  }
}

// A timer and the slide each of its ticks moves on.
struct SlideTick {
  QtIntervalTimer* timer;
  platform::Slide& slide;
};

// Moves each slide on every tick of its timer, for as long as `context` lives.
inline void connectSlides(const QObject* context, std::initializer_list<SlideTick> slides) {
  for (const auto& entry : slides) {
    QObject::connect(entry.timer, &QtIntervalTimer::ticked, context,
                     [&slide = entry.slide] { slide.tick(); });
  }
}

}  // namespace app
