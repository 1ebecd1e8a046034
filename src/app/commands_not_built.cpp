#include "app/commands_not_built.h"

namespace app {

void registerCommandsNotBuilt(shell::CommandRegistry& registry) {
  // A feature that is built registers its command itself and leaves this list.
  registry.addNotBuilt("ChangeFont");
}

}  // namespace app
