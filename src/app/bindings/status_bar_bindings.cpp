#include "app/bindings/status_bar_bindings.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QStatusBar>
#include <algorithm>

#include "app/adapters/gbk.h"
#include "app/bindings/binding_tables.h"
#include "app/window/main_window.h"

namespace app {

StatusBarBindings::StatusBarBindings(MainWindow& window, EditorState& state)
    : QObject(&window),
      m_window(window),
      m_state(state),
      m_placement(&window),
      m_drop(m_placement, *window.timers().windowDrop) {
  showTexts();
  armWindowDrop();
}

void StatusBarBindings::showTexts() {
  for (int part = 0; part < lyrics::StatusBar::kPartCount; ++part) {
    m_window.statusLabel(part)->setText(toQString(m_state.status.text(part)));
  }
  // The status bar keeps its listeners for good; once the bindings are gone it shows nothing.
  m_state.status.addListener([self = QPointer<StatusBarBindings>(this)](int part) {
    if (self) self->m_window.statusLabel(part)->setText(toQString(self->m_state.status.text(part)));
  });
}

void StatusBarBindings::armWindowDrop() {
  QStatusBar* bar = m_window.editStatusBar();
  // Moves with no button held reach a widget only with tracking on; over a part they go to the
  // part's label first.
  std::vector<QWidget*> watched{bar};
  for (int part = 0; part < lyrics::StatusBar::kPartCount; ++part) {
    watched.push_back(m_window.statusLabel(part));
  }
  for (QWidget* widget : watched) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    m_watched.push_back(widget);
  }
  connectSlides(this, {{m_window.timers().windowDrop, m_drop.slide()}});
}

bool StatusBarBindings::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseMove || m_drop.done()) return false;
  if (std::find(m_watched.begin(), m_watched.end(), watched) == m_watched.end()) return false;
  const QPoint inBar = static_cast<QWidget*>(watched)->mapTo(
      m_window.editStatusBar(), static_cast<QMouseEvent*>(event)->position().toPoint());
  m_drop.statusBarMouseMove(inBar.y());
  return false;
}

}  // namespace app
