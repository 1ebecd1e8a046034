#include "app/feedback_bindings.h"

#include "feedback/ui/feedback_window.h"

namespace app {

void registerFeedbackCommands(shell::CommandRegistry& registry, QWidget* parent,
                              platform::Prompter& prompter,
                              std::function<std::unique_ptr<platform::MailSender>()> mailSender) {
  registry.add("OpenFeedbackWindow", [parent, &prompter, mailSender = std::move(mailSender)] {
    feedback::FeedbackWindow::open(parent, prompter, mailSender());
  });
}

}  // namespace app
