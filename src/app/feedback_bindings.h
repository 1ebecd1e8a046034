#pragma once

#include <functional>
#include <memory>

#include "platform/mail_sender.h"
#include "platform/prompter.h"
#include "shell/command_registry.h"

class QWidget;

namespace app {

// Registers OpenFeedbackWindow (建议或意见): a fresh feedback window, modal over `parent`, whose
// mail goes through a sender made by `mailSender`; `parent` and `prompter` outlive the registry.
void registerFeedbackCommands(shell::CommandRegistry& registry, QWidget* parent,
                              platform::Prompter& prompter,
                              std::function<std::unique_ptr<platform::MailSender>()> mailSender);

}  // namespace app
