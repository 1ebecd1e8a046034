#include "app/panel_bindings.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextDocument>
#include <memory>

#include "app/build_config.h"
#include "app/editor_app.h"
#include "app/main_menus.h"
#include "app/main_window.h"
#include "app/panel_texts.h"
#include "app/qt_interval_timer.h"
#include "support/fake_services.h"

namespace {

// Stands in for the desktop's browser.
class UrlRecorder : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened.push_back(url); }
};

struct PanelUiTest : ::testing::Test {
  testsupport::EditorHarness harness;
  testsupport::RecordingPrompter& prompter = harness.prompter;
  app::MainWindow* window = nullptr;

  void SetUp() override { window = &harness.start().window(); }
  QLabel* label(const char* name) const { return window->control<QLabel>(QString::fromUtf8(name)); }
  QWidget* topmost() const {
    const QObjectList& children = window->clientArea()->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
      if (auto* widget = qobject_cast<QWidget*>(*it)) return widget;
    }
    return nullptr;
  }
  // A move with no button held over status part `part`, at `y` in the bar's coordinates.
  void moveOverStatusBar(int part, int y) {
    QLabel* target = window->statusLabel(part);
    const QPointF pos(5, y - target->y());
    QMouseEvent move(QEvent::MouseMove, pos, target->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
  }
};

}  // namespace

TEST_F(PanelUiTest, MenuItemsBringThePanelsInAndADoubleClickTakesEachAway) {
  QLabel* quickStart = label("标签_软件说明");
  QLabel* about = label("标签_关于软件");
  app::MainMenus& menus = window->menus();

  menus.action(QStringLiteral("ShowQuickStart"))->trigger();
  EXPECT_EQ(quickStart->pos(), QPoint(0, 0));
  EXPECT_EQ(topmost(), quickStart);
  menus.action(QStringLiteral("ShowAbout"))->trigger();
  EXPECT_EQ(about->pos(), QPoint(0, 0));
  EXPECT_EQ(topmost(), about);

  // A double-click on the quick-start panel, while About lies in place as well, moves only it.
  QTest::mouseDClick(quickStart, Qt::LeftButton);
  EXPECT_EQ(quickStart->pos(), QPoint(1056, 0));
  EXPECT_EQ(about->pos(), QPoint(0, 0));
  QTest::mouseDClick(about, Qt::LeftButton);
  EXPECT_EQ(about->pos(), QPoint(1590, 0));
}

TEST_F(PanelUiTest, PanelTextsAndFontsFitTheirPanels) {
  QLabel* quickStart = label("标签_软件说明");
  QLabel* about = label("标签_关于软件");
  // A panel gets its text and face when it is first shown.
  window->menus().action(QStringLiteral("ShowQuickStart"))->trigger();
  window->menus().action(QStringLiteral("ShowAbout"))->trigger();
  // What the label shows, with its line breaks.
  const auto shown = [](QLabel* panel) {
    QTextDocument document;
    document.setHtml(panel->text());
    return document.toPlainText().replace(QChar::LineSeparator, QLatin1Char('\n'));
  };
  const auto lines = [](QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  };
  EXPECT_EQ(shown(quickStart), lines(app::quickStartText()));
  EXPECT_EQ(shown(about),
            lines(app::aboutText({QString::fromUtf8(app::build_config::kContactEmail),
                                  QString::fromUtf8(app::build_config::kContactAccount)})));
  const QString text = shown(quickStart);
  EXPECT_EQ(text.count(QLatin1Char('\n')), 16);
  EXPECT_TRUE(text.startsWith(QStringLiteral("欢迎大家使用：青禾程序集—LRC歌词编辑器\n\n下面")));
  EXPECT_TRUE(text.contains(QStringLiteral("拖拽歌词\\文本文件")));
  EXPECT_TRUE(text.endsWith(QStringLiteral("\n \n") + QString(67, QLatin1Char(' ')) +
                            QStringLiteral("→双击关闭←")));

  EXPECT_EQ(quickStart->font().pixelSize(), 19);
  EXPECT_EQ(about->font().pixelSize(), 21);
  for (QLabel* panel : {quickStart, about}) {
    SCOPED_TRACE(panel->objectName().toStdString());
    // Whatever face stands in for 楷体 draws the Chinese text, and the whole text, down to
    // "→双击关闭←", fits in the panel.
    EXPECT_TRUE(QFontMetrics(panel->font()).inFontUcs4(U'欢'));
    EXPECT_TRUE(QFontMetrics(panel->font()).inFontUcs4(U'软'));
    EXPECT_LE(panel->heightForWidth(panel->width()), panel->height());
    EXPECT_TRUE(panel->autoFillBackground());
  }
}

TEST(PanelTexts, AboutTextLayout) {
  const QStringList lines =
      app::aboutText({QStringLiteral("me@example.org"), QStringLiteral("12345")})
          .split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), 23);
  EXPECT_EQ(lines[0], QString(16, QLatin1Char(' ')) + QStringLiteral("关于软件："));
  const QStringList body = {QStringLiteral("软件作者：青禾歌词编辑器"),
                            QStringLiteral("软件版本：青禾程序集—LRC歌词编辑器V2013.07.21"),
                            QStringLiteral("发布单位：青禾歌词编辑器"),
                            QStringLiteral("联系邮箱：me@example.org"),
                            QStringLiteral("联系账号：12345"),
                            QStringLiteral("开发日期：2013.07.21"),
                            QStringLiteral("适用系统：windows xp；windows7；windows8 ")};
  for (int i = 0; i < body.size(); ++i) {
    EXPECT_TRUE(lines[1 + 2 * i].isEmpty()) << i;
    EXPECT_EQ(lines[2 + 2 * i], body[i]);
  }
  for (int i = 15; i < 22; ++i) EXPECT_TRUE(lines[i].isEmpty()) << i;
  EXPECT_EQ(lines[22], QString(28, QLatin1Char(' ')) + QStringLiteral("→双击关闭←"));
}

TEST_F(PanelUiTest, ContactAuthorAndTheLinksOpenTheirConfiguredTargets) {
  UrlRecorder browser;
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
  window->menus().action(QStringLiteral("ContactAuthor"))->trigger();
  QLabel* contact = label("超级链接框1");
  QLabel* home = label("超级链接框2");
  emit contact->linkActivated(QStringLiteral("anything"));
  emit home->linkActivated(QStringLiteral("anything"));
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));

  const QUrl contactUrl(QString::fromUtf8(app::build_config::kContactUrl));
  const QUrl homeUrl(QString::fromUtf8(app::build_config::kHomeUrl));
  EXPECT_EQ(browser.opened, (QList<QUrl>{contactUrl, contactUrl, homeUrl}));
  EXPECT_TRUE(contact->text().contains(QStringLiteral(">@作者青禾</a>")));
  EXPECT_TRUE(home->text().contains(QString::fromUtf8(app::build_config::kHomeName)));
  EXPECT_FALSE(contact->openExternalLinks());
  EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(PanelUiTest, TheLowerHalfOfTheStatusBarDropsTheWindowOnce) {
  app::QtIntervalTimer* timer = window->timer(QStringLiteral("时钟_启动窗口下"));
  QSignalSpy ticks(timer, &app::QtIntervalTimer::ticked);
  const QPoint start = window->pos();
  moveOverStatusBar(2, 10);
  EXPECT_EQ(timer->interval(), 0);
  EXPECT_EQ(window->pos(), start);

  moveOverStatusBar(2, 15);
  EXPECT_EQ(timer->interval(), 10);
  EXPECT_EQ(window->y(), -620);
  EXPECT_EQ(window->x(), start.x());
  EXPECT_TRUE(QTest::qWaitFor([&] { return timer->interval() == 0; }, 3000))
      << "the window did not land";
  EXPECT_EQ(ticks.count(), 17);
  EXPECT_EQ(window->y(), 60);

  moveOverStatusBar(0, 15);
  EXPECT_EQ(timer->interval(), 0);
  EXPECT_EQ(window->y(), 60);
  EXPECT_TRUE(window->editStatusBar()->isEnabled());  // it need not look greyed out
}

#include "panel_bindings_test.moc"
