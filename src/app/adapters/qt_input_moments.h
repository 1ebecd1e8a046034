#pragma once

#include <QObject>
#include <cstdint>

#include "platform/input_moments.h"

namespace app {

// Watches every key press and mouse button of the application and keeps when the latest one
// happened, by the window system's own time stamp. Build it after QApplication.
class QtInputMoments : public QObject, public platform::InputMoments {
  Q_OBJECT
 public:
  QtInputMoments();
  ~QtInputMoments() override;

  // The moment of the latest key press or button, while it is still being handled.
  std::optional<std::int64_t> handledInputNs() const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::optional<std::int64_t> m_inputNs;
  std::int64_t m_seenNs = 0;
};

}  // namespace app
