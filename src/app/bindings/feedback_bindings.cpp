#include "app/bindings/feedback_bindings.h"

#include "feedback/ui/feedback_window.h"

namespace app {

void registerFeedbackCommands(QWidget& window, const Services& services,
                              shell::CommandRegistry& registry) {
  registry.add("OpenFeedbackWindow", [&window, &services] {
    feedback::FeedbackWindow::open(&window, services.prompter, services.mailSender());
  });
}

}  // namespace app
