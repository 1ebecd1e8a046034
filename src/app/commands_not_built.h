#pragma once

#include "shell/command_registry.h"

namespace app {

// Registers the commands whose features are not built yet, all in one list, so that every menu
// item has a command and what is still missing is visible in one place.
void registerCommandsNotBuilt(shell::CommandRegistry& registry);

}  // namespace app
