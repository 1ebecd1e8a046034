#include "shell/not_built_commands.h"

namespace shell {

void registerNotBuiltCommands(CommandRegistry& registry) {
  // A feature that is built registers its command itself and leaves this list.
  registry.addNotBuilt("ChangeFont");
}

}  // namespace shell
