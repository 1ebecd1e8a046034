#pragma once

#include "app/services.h"
#include "shell/command_registry.h"

class QWidget;

namespace app {

// Registers OpenFeedbackWindow (建议或意见): a fresh feedback window, modal over `window`, whose
// mail goes through a sender of `services`; `window` and `services` outlive the registry.
void registerFeedbackCommands(QWidget& window, const Services& services,
                              shell::CommandRegistry& registry);

}  // namespace app
