#pragma once

#include <QSlider>

namespace app {

// A horizontal slider that draws its own tick marks, at every tick interval from the minimum to
// the maximum, below or above the groove as its tick position says. A style sheet that shapes
// the groove and the handle makes Qt leave the marks out; these are drawn whatever the look.
class TickedSlider : public QSlider {
  Q_OBJECT

 public:
  explicit TickedSlider(QWidget* parent = nullptr) : QSlider(Qt::Horizontal, parent) {}

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace app
