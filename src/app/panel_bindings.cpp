#include "app/panel_bindings.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>
#include <algorithm>

#include "app/build_config.h"
#include "app/main_window.h"
#include "app/panel_texts.h"
#include "app/qt_interval_timer.h"

namespace app {

namespace {

constexpr int kQuickStartCharacterHeight = 19;
constexpr int kAboutCharacterHeight = 21;
// The most by which a panel's lines may come closer than its character height to fit the text.
constexpr int kMostTightening = 3;

void makeLink(QLabel* label, const QUrl& target, const QString& caption) {
  label->setTextFormat(Qt::RichText);
  label->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                     .arg(target.toString().toHtmlEscaped(), caption.toHtmlEscaped()));
  label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  label->setOpenExternalLinks(false);
  label->setToolTip(target.toString());
}

}  // namespace

PanelBindings::PanelBindings(MainWindow& window, shell::CommandRegistry& registry)
    : QObject(&window),
      m_window(window),
      m_quickStart(window.quickStartPanel()),
      m_about(window.aboutPanel()),
      m_quickStartView(m_quickStart),
      m_aboutView(m_about),
      m_panels(m_quickStartView, m_aboutView),
      m_placement(&window),
      m_drop(m_placement, *window.timers().windowDrop),
      m_contactUrl(QString::fromUtf8(build_config::kContactUrl)),
      m_homeUrl(QString::fromUtf8(build_config::kHomeUrl)) {
  for (QLabel* panel : {m_quickStart, m_about}) {
    panel->setTextFormat(Qt::RichText);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    panel->setWordWrap(true);
    // Moved in, a panel covers the window; nothing may show through it.
    panel->setAutoFillBackground(true);
    panel->installEventFilter(this);
  }
  fillLinks();
  registerCommands(registry);
  bindStatusBar();
}

void PanelBindings::fillPanel(QLabel* panel) {
  if (std::find(m_filled.begin(), m_filled.end(), panel) != m_filled.end()) return;
  m_filled.push_back(panel);
  const bool quickStart = panel == m_quickStart;
  const QString text = quickStart ? quickStartText()
                                  : aboutText({QString::fromUtf8(build_config::kContactEmail),
                                               QString::fromUtf8(build_config::kContactAccount)});
  const int characterHeight = quickStart ? kQuickStartCharacterHeight : kAboutCharacterHeight;
  const QFont font = panelFont(characterHeight);
  panel->setFont(font);
  panel->setStyleSheet(panelStyleSheet(font));
  panel->setText(panelRichText(text, font, characterHeight));
  // The whole text down to "→双击关闭←" must show: where the face's wrapping needs more lines
  // than the panel holds, the lines come a pixel or two closer.
  for (int pitch = characterHeight - 1;
       pitch >= characterHeight - kMostTightening &&
       panel->heightForWidth(panel->width()) > panel->height();
       --pitch) {
    panel->setText(panelRichText(text, font, pitch));
  }
}

void PanelBindings::fillLinks() {
  QLabel* contact = m_window.contactLink();
  makeLink(contact, m_contactUrl, contact->text());
  connect(contact, &QLabel::linkActivated, this, &PanelBindings::contactAuthor);
  QLabel* home = m_window.homeLink();
  makeLink(home, m_homeUrl, QString::fromUtf8(build_config::kHomeName));
  connect(home, &QLabel::linkActivated, this, [this] { QDesktopServices::openUrl(m_homeUrl); });
}

void PanelBindings::registerCommands(shell::CommandRegistry& registry) {
  registry.add("ShowQuickStart", [this] {
    fillPanel(m_quickStart);
    m_panels.showQuickStart();
  });
  registry.add("ShowAbout", [this] {
    fillPanel(m_about);
    m_panels.showAbout();
  });
  registry.add("ContactAuthor", [this] { contactAuthor(); });
}

void PanelBindings::bindStatusBar() {
  QStatusBar* bar = m_window.editStatusBar();
  m_statusBar = bar;
  // Moves with no button held reach a widget only with tracking on; over a part they go to the
  // part's label first.
  bar->setMouseTracking(true);
  bar->installEventFilter(this);
  for (int part = 0; part < 6; ++part) {
    QLabel* label = m_window.statusLabel(part);
    label->setMouseTracking(true);
    label->installEventFilter(this);
    m_statusParts.push_back(label);
  }
  connect(m_window.timers().windowDrop, &QtIntervalTimer::ticked, this,
          [this] { m_drop.slideWindowDownTick(); });
}

void PanelBindings::contactAuthor() { QDesktopServices::openUrl(m_contactUrl); }

bool PanelBindings::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::MouseButtonDblClick) {
    if (watched == m_quickStart) {
      m_panels.hideQuickStart();
      return true;
    }
    if (watched == m_about) {
      m_panels.hideAbout();
      return true;
    }
    return false;
  }
  if (type != QEvent::MouseMove || m_drop.done()) return false;
  const bool overBar = watched == m_statusBar;
  const bool overPart =
      std::find(m_statusParts.begin(), m_statusParts.end(), watched) != m_statusParts.end();
  if (!overBar && !overPart) return false;
  auto* widget = static_cast<QWidget*>(watched);
  const QPoint inBar = widget->mapTo(m_window.editStatusBar(),
                                     static_cast<QMouseEvent*>(event)->position().toPoint());
  m_drop.statusBarMouseMove(inBar.y());
  return false;
}

}  // namespace app
