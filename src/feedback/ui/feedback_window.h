#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <thread>

#include "platform/mail_sender.h"
#include "platform/prompter.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace feedback {

// The suggestion window: a suggestion box, a contact box and 提交, which mails both to the
// feedback mailbox. The mail goes out on a worker thread; the window stays responsive, 提交 is
// disabled meanwhile, and closing or destroying the window cancels it.
class FeedbackWindow : public QWidget {
  Q_OBJECT

 public:
  // Designed size of the window below its title bar.
  static constexpr int kDesignWidth = 416;
  static constexpr int kDesignHeight = 321;

  // A fresh window with the boxes at their start content. Messages go through `prompter`,
  // which must outlive the window; mails through `sender`.
  FeedbackWindow(platform::Prompter& prompter, std::unique_ptr<platform::MailSender> sender,
                 QWidget* parent = nullptr);
  ~FeedbackWindow() override;

  // OpenFeedbackWindow: builds a fresh window, centred over `parent`, and shows it modal to the
  // whole program. It deletes itself when closed.
  static FeedbackWindow* open(QWidget* parent, platform::Prompter& prompter,
                              std::unique_ptr<platform::MailSender> sender);

  // SubmitFeedback: checks both boxes, then starts sending the mail.
  void submitFeedback();
  // ClearContactBox: empties the contact box (at every left press in it).
  void clearContactBox();
  // Whether a mail is on its way.
  bool sending() const { return m_worker.joinable(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void onSendFinished(const platform::SendResult& result);
  void inform(const QString& text);
  // Shows the failure message and writes `reason` to standard error.
  // With `settingsProblem` (missing or refused settings) that text is shown instead.
  void reportFailure(const std::string& reason, const std::string& settingsProblem = {});

  platform::Prompter& m_prompter;
  std::unique_ptr<platform::MailSender> m_sender;
  QPlainTextEdit* m_suggestionBox;
  QLabel* m_contactLabel;
  QLineEdit* m_contactBox;
  QPushButton* m_submitButton;
  // Runs MailSender::send; joined when its result arrives or the window goes.
  std::thread m_worker;
  bool m_closed = false;
};

}  // namespace feedback
