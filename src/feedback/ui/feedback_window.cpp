#include "feedback/ui/feedback_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStringEncoder>
#include <cstdio>
#include <system_error>

namespace feedback {

namespace {

// The start content of the contact box, recognised by exact comparison.
const QString kContactPlaceholder = QStringLiteral("QQ号\\微信\\邮箱");

// The window's texts are Qt strings and the mail is UTF-8; only the message boxes go through
// the program's prompter, which takes GB18030 bytes like the rest of the shell.
std::string toGbk(const QString& text) {
  QStringEncoder encoder("GB18030", QStringConverter::Flag::Stateless);
  return QByteArray(encoder.encode(text)).toStdString();
}

template <typename Widget>
Widget* placed(Widget* widget, const char* name, int x, int y, int width, int height) {
  widget->setObjectName(QString::fromUtf8(name));
  widget->setGeometry(x, y, width, height);
  return widget;
}

}  // namespace

FeedbackWindow::FeedbackWindow(platform::Prompter& prompter,
                               std::unique_ptr<platform::MailSender> sender, QWidget* parent)
    : QWidget(parent, Qt::Dialog), m_prompter(prompter), m_sender(std::move(sender)) {
  setWindowTitle(QStringLiteral("意见或建议"));
  resize(kDesignWidth, kDesignHeight);
  m_suggestionBox = placed(new QPlainTextEdit(this), "编辑框_建议或意见", 0, 0, 408, 208);
  m_contactLabel = placed(new QLabel(QStringLiteral("联系方式："), this), "标签1", 6, 219, 71, 19);
  m_contactBox =
      placed(new QLineEdit(kContactPlaceholder, this), "编辑框_联系方式", 88, 216, 320, 25);
  m_submitButton =
      placed(new QPushButton(QStringLiteral("提交"), this), "按钮_提交", 358, 256, 48, 24);
  m_contactBox->installEventFilter(this);
  connect(m_submitButton, &QPushButton::clicked, this, &FeedbackWindow::submitFeedback);
}

FeedbackWindow::~FeedbackWindow() {
  if (m_worker.joinable()) {
    // The result would be posted to this window; QObject drops it with the window.
    m_sender->cancel();
    m_worker.join();
  }
}

FeedbackWindow* FeedbackWindow::open(QWidget* parent, platform::Prompter& prompter,
                                     std::unique_ptr<platform::MailSender> sender) {
  auto* window = new FeedbackWindow(prompter, std::move(sender), parent);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowModality(Qt::ApplicationModal);
  if (parent) {
    const QRect area = parent->window()->frameGeometry();
    window->move(area.center() - window->rect().center());
  }
  window->show();
  return window;
}

void FeedbackWindow::clearContactBox() { m_contactBox->clear(); }

bool FeedbackWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_contactBox && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    clearContactBox();
  }
  return QWidget::eventFilter(watched, event);
}

void FeedbackWindow::closeEvent(QCloseEvent* event) {
  m_closed = true;
  if (m_worker.joinable()) m_sender->cancel();
  QWidget::closeEvent(event);
}

void FeedbackWindow::inform(const QString& text) {
  m_prompter.inform(toGbk(text), toGbk(QStringLiteral("tolva_提示：")),
                    platform::MessageIcon::Warning);
}

void FeedbackWindow::submitFeedback() {
  if (sending()) return;
  if (m_suggestionBox->toPlainText().isEmpty()) {
    inform(QStringLiteral("请输入内容"));
    return;
  }
  const QString contact = m_contactBox->text();
  if (contact.isEmpty() || contact == kContactPlaceholder) {
    inform(QStringLiteral("请填写您的联系方式"));
    return;
  }
  m_submitButton->setEnabled(false);
  try {
    m_worker = std::thread([this, sender = m_sender.get(),
                            suggestion = m_suggestionBox->toPlainText().toStdString(),
                            contactText = contact.toStdString()] {
      const platform::SendResult result = sender->send(suggestion, contactText);
      QMetaObject::invokeMethod(
          this, [this, result] { onSendFinished(result); }, Qt::QueuedConnection);
    });
  } catch (const std::system_error& error) {
    m_submitButton->setEnabled(true);
    reportFailure(std::string("no thread for sending: ") + error.what());
  }
}

void FeedbackWindow::reportFailure(const std::string& reason, const std::string& settingsProblem) {
  std::fprintf(stderr, "feedback mail not sent: %s\n", reason.c_str());
  // Missing or refused settings are no matter of the network: the message says what to mend.
  inform(settingsProblem.empty() ? QStringLiteral("提交失败，请检查网络连接后重试。")
                                 : QString::fromStdString(settingsProblem));
}

void FeedbackWindow::onSendFinished(const platform::SendResult& result) {
  m_worker.join();
  m_submitButton->setEnabled(true);
  // A window closed while the mail was on its way has nothing more to say.
  if (m_closed) return;
  if (!result.accepted) {
    reportFailure(result.error, result.settingsProblem);
    return;
  }
  // The message box runs its own event loop, in which the window may go away.
  QPointer<FeedbackWindow> self(this);
  inform(
      QStringLiteral("您的建议已经提交成功，我们会尽快给您答复，感谢您对青禾歌词编辑器的支持！"));
  if (!self) return;
  close();
}

}  // namespace feedback
