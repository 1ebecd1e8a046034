#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStringEncoder>
#include <QTest>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "feedback/smtp_mail_sender.h"
#include "feedback/smtp_test_server.h"
#include "feedback/ui/feedback_window.h"
#include "support/recording_prompter.h"

namespace {

using namespace std::chrono_literals;
using feedback::FeedbackWindow;
using testsupport::SmtpTestServer;

const char* const kPlaceholder = "QQ号\\微信\\邮箱";
const char* const kSuccess =
    "您的建议已经提交成功，我们会尽快给您答复，感谢您对青禾歌词编辑器的支持！";
const char* const kFailure = "提交失败，请检查网络连接后重试。";

std::string gbk(const char* utf8) {
  QStringEncoder encoder("GB18030", QStringConverter::Flag::Stateless);
  return QByteArray(encoder.encode(QString::fromUtf8(utf8))).toStdString();
}

// A sender that records its calls and, when told to, holds each send until released or
// cancelled. Its state outlives it, since the window owns and deletes the sender.
struct FakeSendState {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::pair<std::string, std::string>> calls;
  bool hold = false;
  bool released = false;
  bool cancelled = false;
  platform::SendResult result{true, {}};

  std::size_t callCount() {
    std::lock_guard lock(mutex);
    return calls.size();
  }
  void release() {
    std::lock_guard lock(mutex);
    released = true;
    changed.notify_all();
  }
};

class FakeMailSender : public platform::MailSender {
 public:
  explicit FakeMailSender(std::shared_ptr<FakeSendState> state) : m_state(std::move(state)) {}
  platform::SendResult send(const std::string& suggestion, const std::string& contact) override {
    std::unique_lock lock(m_state->mutex);
    m_state->calls.emplace_back(suggestion, contact);
    m_state->changed.wait(
        lock, [this] { return !m_state->hold || m_state->released || m_state->cancelled; });
    if (m_state->cancelled) return {false, "cancelled"};
    return m_state->result;
  }
  void cancel() override {
    std::lock_guard lock(m_state->mutex);
    m_state->cancelled = true;
    m_state->changed.notify_all();
  }

 private:
  std::shared_ptr<FakeSendState> m_state;
};

class FeedbackWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<platform::MailSender> fakeSender() {
    return std::make_unique<FakeMailSender>(m_state);
  }
  static QPlainTextEdit* suggestionBox(QWidget* w) {
    return w->findChild<QPlainTextEdit*>(QStringLiteral("编辑框_建议或意见"));
  }
  static QLineEdit* contactBox(QWidget* w) {
    return w->findChild<QLineEdit*>(QStringLiteral("编辑框_联系方式"));
  }
  static QPushButton* submitButton(QWidget* w) {
    return w->findChild<QPushButton*>(QStringLiteral("按钮_提交"));
  }
  static void fill(QWidget* w, const char* suggestion, const char* contact) {
    suggestionBox(w)->setPlainText(QString::fromUtf8(suggestion));
    contactBox(w)->setText(QString::fromUtf8(contact));
  }
  // Processes events until `done` holds; fails naming `what` after `limit`.
  static bool waitFor(const std::function<bool()>& done, const char* what,
                      std::chrono::milliseconds limit = 10s) {
    const bool reached = QTest::qWaitFor(done, static_cast<int>(limit.count()));
    if (!reached) ADD_FAILURE() << "timed out waiting for " << what;
    return reached;
  }
  // The one message shown so far has `text`, the feedback title, an exclamation icon, OK only.
  void expectOnlyMessage(const char* text) {
    ASSERT_EQ(m_prompter.shown.size(), 1u);
    EXPECT_EQ(m_prompter.shown[0].text, gbk(text));
    EXPECT_EQ(m_prompter.shown[0].title, gbk("tolva_提示："));
    EXPECT_EQ(m_prompter.shown[0].icon, platform::MessageIcon::Warning);
    EXPECT_FALSE(m_prompter.shown[0].question);
  }
  // A private feedback.ini for the test server at `port` with `password`.
  std::string writeConfig(int port, const std::string& password, mode_t mode = 0600) {
    const std::string path =
        m_config.write("feedback.ini", "[smtp]\nhost=127.0.0.1\nport=" + std::to_string(port) +
                                           "\nmailbox=" + SmtpTestServer::kLogin +
                                           "\npassword=" + password + "\ntls=off\n");
    EXPECT_EQ(::chmod(path.c_str(), mode), 0);
    return path;
  }

  std::shared_ptr<FakeSendState> m_state = std::make_shared<FakeSendState>();
  testsupport::RecordingPrompter m_prompter;
  testsupport::TempDir m_config;
};

TEST_F(FeedbackWindowTest, ShowsItsControlsAtTheirPlaces) {
  FeedbackWindow window(m_prompter, fakeSender());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("意见或建议"));
  EXPECT_EQ(window.size(), QSize(416, 321));
  struct Control {
    const char* name;
    QRect geometry;
    QString text;
  };
  const Control controls[] = {
      {"编辑框_建议或意见", {0, 0, 408, 208}, suggestionBox(&window)->toPlainText()},
      {"标签1", {6, 219, 71, 19}, window.findChild<QLabel*>(QStringLiteral("标签1"))->text()},
      {"编辑框_联系方式", {88, 216, 320, 25}, contactBox(&window)->text()},
      {"按钮_提交", {358, 256, 48, 24}, submitButton(&window)->text()},
  };
  const QString texts[] = {QString(), QStringLiteral("联系方式："), QString::fromUtf8(kPlaceholder),
                           QStringLiteral("提交")};
  for (std::size_t i = 0; i < std::size(controls); ++i) {
    const auto* widget = window.findChild<QWidget*>(QString::fromUtf8(controls[i].name));
    ASSERT_TRUE(widget) << controls[i].name;
    EXPECT_EQ(widget->geometry(), controls[i].geometry) << controls[i].name;
    EXPECT_EQ(controls[i].text, texts[i]) << controls[i].name;
  }
}

TEST_F(FeedbackWindowTest, EveryLeftPressEmptiesTheContactBox) {
  FeedbackWindow window(m_prompter, fakeSender());
  window.show();
  QLineEdit* contact = contactBox(&window);
  QTest::mouseClick(contact, Qt::LeftButton);
  EXPECT_EQ(contact->text(), QString());
  QTest::keyClicks(contact, QStringLiteral("abc"));
  EXPECT_EQ(contact->text(), QStringLiteral("abc"));
  QTest::mouseClick(contact, Qt::RightButton);
  EXPECT_EQ(contact->text(), QStringLiteral("abc"));
  QTest::mouseClick(contact, Qt::LeftButton);
  EXPECT_EQ(contact->text(), QString());
}

TEST_F(FeedbackWindowTest, IncompleteInputIsRefusedAndNothingIsSent) {
  struct Case {
    const char* suggestion;
    const char* contact;
    const char* message;
  };
  const Case cases[] = {
      {"", "abc", "请输入内容"},
      {"", "", "请输入内容"},
      {"好用", "", "请填写您的联系方式"},
      {"好用", kPlaceholder, "请填写您的联系方式"},
  };
  for (const Case& c : cases) {
    m_prompter.shown.clear();
    FeedbackWindow window(m_prompter, fakeSender());
    window.show();
    fill(&window, c.suggestion, c.contact);
    QTest::mouseClick(submitButton(&window), Qt::LeftButton);
    QTest::qWait(50);
    expectOnlyMessage(c.message);
    EXPECT_TRUE(window.isVisible()) << c.message;
    EXPECT_FALSE(window.sending());
    EXPECT_EQ(suggestionBox(&window)->toPlainText(), QString::fromUtf8(c.suggestion));
  }
  EXPECT_EQ(m_state->callCount(), 0u);
}

TEST_F(FeedbackWindowTest, WhileTheMailIsOnItsWaySubmitIsOffAndTheWindowResponds) {
  m_state->hold = true;
  FeedbackWindow window(m_prompter, fakeSender());
  window.show();
  // A suggestion of spaces only is a suggestion.
  fill(&window, "  ", "微信 abc");
  QTest::mouseClick(submitButton(&window), Qt::LeftButton);
  ASSERT_TRUE(waitFor([&] { return m_state->callCount() == 1; }, "the send to start"));
  EXPECT_TRUE(window.sending());
  EXPECT_FALSE(submitButton(&window)->isEnabled());
  QTest::mouseClick(submitButton(&window), Qt::LeftButton);
  window.submitFeedback();
  suggestionBox(&window)->moveCursor(QTextCursor::End);
  QTest::keyClicks(suggestionBox(&window), QStringLiteral("x"));
  EXPECT_EQ(suggestionBox(&window)->toPlainText(), QStringLiteral("  x"));
  EXPECT_TRUE(m_prompter.shown.empty());

  m_state->release();
  ASSERT_TRUE(waitFor([&] { return !window.isVisible(); }, "the window to close"));
  expectOnlyMessage(kSuccess);
  ASSERT_EQ(m_state->callCount(), 1u);
  EXPECT_EQ(m_state->calls[0].first, "  ");
  EXPECT_EQ(m_state->calls[0].second, "微信 abc");
}

TEST_F(FeedbackWindowTest, ARefusedMailKeepsTheWindowAndMayBeSentAgain) {
  m_state->result = {false, "refused by the fake"};
  FeedbackWindow window(m_prompter, fakeSender());
  window.show();
  fill(&window, "第一行\n第二行", "abc@example.com");
  QTest::mouseClick(submitButton(&window), Qt::LeftButton);
  ASSERT_TRUE(waitFor([&] { return !m_prompter.shown.empty(); }, "the failure message"));
  expectOnlyMessage(kFailure);
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(submitButton(&window)->isEnabled());
  EXPECT_EQ(suggestionBox(&window)->toPlainText(), QStringLiteral("第一行\n第二行"));
  EXPECT_EQ(contactBox(&window)->text(), QStringLiteral("abc@example.com"));

  m_state->result = {true, {}};
  m_prompter.shown.clear();
  QTest::mouseClick(submitButton(&window), Qt::LeftButton);
  ASSERT_TRUE(waitFor([&] { return !window.isVisible(); }, "the window to close"));
  expectOnlyMessage(kSuccess);
  EXPECT_EQ(m_state->callCount(), 2u);
}

TEST_F(FeedbackWindowTest, ClosingOrDestroyingTheWindowCancelsTheSend) {
  for (const bool destroy : {false, true}) {
    m_state = std::make_shared<FakeSendState>();
    m_state->hold = true;
    QPointer<FeedbackWindow> window = FeedbackWindow::open(nullptr, m_prompter, fakeSender());
    fill(window, "好用", "abc");
    QTest::mouseClick(submitButton(window), Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return m_state->callCount() == 1; }, "the send to start"));
    if (destroy) {
      delete window.data();
    } else {
      window->close();
    }
    ASSERT_TRUE(waitFor([&] { return window.isNull(); }, "the window to be deleted"));
    std::lock_guard lock(m_state->mutex);
    EXPECT_TRUE(m_state->cancelled) << destroy;
  }
  QTest::qWait(50);
  EXPECT_TRUE(m_prompter.shown.empty());
}

TEST_F(FeedbackWindowTest, RealMailThatDoesNotGoThroughIsReported) {
  SmtpTestServer server;
  SmtpTestServer silent(true);
  ASSERT_NE(server.port(), 0);
  ASSERT_NE(silent.port(), 0);
  struct Case {
    const char* name;
    int port;
    std::string password;
    mode_t mode;  // 0: no settings file
    // The message; the settings' path follows its first part when there is a second.
    const char* message;
    const char* afterPath;
  };
  const Case cases[] = {
      {"wrong password", server.port(), "wrong", 0600, kFailure, nullptr},
      {"closed port", SmtpTestServer::closedPort(), SmtpTestServer::kPassword, 0600, kFailure,
       nullptr},
      {"silent server", silent.port(), SmtpTestServer::kPassword, 0600, kFailure, nullptr},
      // Missing or refused settings are no matter of the network.
      {"settings readable by others", server.port(), SmtpTestServer::kPassword, 0644,
       "提交失败：反馈邮箱设置文件 ",
       " 的权限过宽，组或其他用户也能访问它。文件中有邮箱密码，所以没有使用它。请运行 chmod 600 "},
      {"no settings file", server.port(), SmtpTestServer::kPassword, 0,
       "提交失败：没有设置反馈邮箱。请创建文件 ", "，在 [smtp] 下写上 host、mailbox、password，"},
  };
  for (const Case& c : cases) {
    m_prompter.shown.clear();
    const std::string config =
        c.mode ? writeConfig(c.port, c.password, c.mode) : m_config.file("missing/feedback.ini");
    // No server or mailbox from the build, as in the default build.
    FeedbackWindow window(m_prompter, std::make_unique<feedback::SmtpMailSender>(
                                          feedback::SmtpSettings{}, config, 1000ms));
    window.show();
    fill(&window, "好用", "abc");
    const auto start = std::chrono::steady_clock::now();
    QTest::mouseClick(submitButton(&window), Qt::LeftButton);
    EXPECT_TRUE(window.sending()) << c.name;
    // The bound is 1 s here; the window answers well within 5 s whatever the server does.
    ASSERT_TRUE(waitFor([&] { return !m_prompter.shown.empty(); }, c.name, 5s));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << c.name;
    if (c.afterPath) {
      ASSERT_EQ(m_prompter.shown.size(), 1u) << c.name;
      EXPECT_EQ(m_prompter.shown[0].text.rfind(gbk(c.message) + config + gbk(c.afterPath), 0), 0u)
          << c.name << ": " << m_prompter.shown[0].text;
    } else {
      expectOnlyMessage(c.message);
    }
    EXPECT_TRUE(window.isVisible()) << c.name;
    EXPECT_FALSE(window.sending()) << c.name;
    EXPECT_EQ(suggestionBox(&window)->toPlainText(), QStringLiteral("好用")) << c.name;
    EXPECT_EQ(contactBox(&window)->text(), QStringLiteral("abc")) << c.name;
  }
  EXPECT_EQ(server.messageCount(), 0);
}

TEST_F(FeedbackWindowTest, AnAcceptedMailClosesTheWindowAndANewOneStartsEmpty) {
  SmtpTestServer server;
  ASSERT_NE(server.port(), 0);
  const std::string config = writeConfig(server.port(), SmtpTestServer::kPassword);
  const auto sender = [&] {
    return std::make_unique<feedback::SmtpMailSender>(feedback::buildSmtpSettings(), config, 10s);
  };
  QPointer<FeedbackWindow> window = FeedbackWindow::open(nullptr, m_prompter, sender());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
  // Blanks, a line of just a dot and characters outside the BMP arrive as typed.
  suggestionBox(window)->setPlainText(QStringLiteral("  歌词滚动\n.\n太快了！ 😀"));
  QTest::mouseClick(contactBox(window), Qt::LeftButton);
  QTest::keyClicks(contactBox(window), QStringLiteral("qq 10001"));
  QTest::mouseClick(submitButton(window), Qt::LeftButton);
  ASSERT_TRUE(waitFor([&] { return window.isNull(); }, "the window to close and go"));
  expectOnlyMessage(kSuccess);
  ASSERT_EQ(server.messageCount(), 1);
  // As a mail client decodes them.
  EXPECT_EQ(server.captured(1, "subject"), "青禾歌词编辑器客户建议");
  EXPECT_EQ(server.captured(1, "body"),
            "客户建议：  歌词滚动\r\n.\r\n太快了！ 😀联系方式：qq 10001");
  const std::string envelope = server.captured(1, "envelope");
  for (const char* line : {"mechanism LOGIN\n", "from feedback@example.com\n",
                           "to feedback@example.com\n", "charset utf-8\n", "defects 0\n"}) {
    EXPECT_NE(envelope.find(line), std::string::npos) << line << " in " << envelope;
  }

  QPointer<FeedbackWindow> again = FeedbackWindow::open(nullptr, m_prompter, sender());
  EXPECT_EQ(suggestionBox(again)->toPlainText(), QString());
  EXPECT_EQ(contactBox(again)->text(), QString::fromUtf8(kPlaceholder));
  again->close();
  EXPECT_TRUE(waitFor([&] { return again.isNull(); }, "the second window to go"));
}

}  // namespace
