#include "app/adapters/qt_input_moments.h"

#include <QCoreApplication>
#include <QInputEvent>

#include "platform/monotonic_clock.h"

namespace app {

namespace {

// A stamp is read synchronously while its key or click is delivered, well within this of the
// application seeing the event; a stamp later than that comes from something else (a timer, a
// script) and reads the time it is made at.
constexpr std::int64_t kHandlingNs = 30'000'000;

}  // namespace

QtInputMoments::QtInputMoments() {
  if (QCoreApplication* application = QCoreApplication::instance()) {
    application->installEventFilter(this);
  }
}

QtInputMoments::~QtInputMoments() {
  if (QCoreApplication* application = QCoreApplication::instance()) {
    application->removeEventFilter(this);
  }
}

std::optional<std::int64_t> QtInputMoments::handledInputNs() const {
  if (!m_inputNs || platform::SteadyClock::now() - m_seenNs > kHandlingNs) return std::nullopt;
  return m_inputNs;
}

bool QtInputMoments::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
      // A synthetic event (time stamp 0) leaves no moment: its stamp reads the time it is
      // handled at.
      m_seenNs = platform::SteadyClock::now();
      m_inputNs = platform::inputEventSteadyNs(static_cast<const QInputEvent*>(event)->timestamp(),
                                               m_seenNs);
      break;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace app
