#pragma once

#include "shell/command_registry.h"

namespace shell {

// Registers the commands whose features are not built yet, all in one list, so that every menu
// item has a command and what is still missing is visible in one place.
void registerNotBuiltCommands(CommandRegistry& registry);

}  // namespace shell
