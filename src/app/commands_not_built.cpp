#include "app/commands_not_built.h"

namespace app {

void registerCommandsNotBuilt(shell::CommandRegistry& /*registry*/) {
  // Every designed command is built. A command whose feature is still to come is listed here
  // with registry.addNotBuilt("Name"); its feature registers it itself once it is built and
  // takes it out of this list.
}

}  // namespace app
