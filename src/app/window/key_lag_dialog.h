#pragma once

#include <QDialog>
#include <optional>
#include <utility>

class QLabel;
class QPushButton;
class QSpinBox;

namespace app {

// The modal dialog `窗口_按键延迟补偿` of 按键延迟补偿...: the key lag in milliseconds (0 to 500,
// typed or measured), the button 测量, what the measurement said, and 确定 and 取消. While it
// measures, no control keeps the keyboard focus: F5 and Space are the user's presses.
class KeyLagDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows `lagMs` (0 when there is none) and, under it, `notice` (e.g. a refused setting).
  KeyLagDialog(std::optional<int> lagMs, const QString& notice, QWidget* parent = nullptr);

  // The number in the box, in milliseconds.
  int lagMs() const;
  void setLagMs(int ms);
  // Starts or ends measuring: while measuring, 测量 and the number wait disabled and every
  // control gives up the keyboard focus to the dialog.
  void setMeasuring(bool measuring);
  bool measuring() const { return m_measuring; }
  // Shows `text` as what the measurement says.
  void showOutcome(const QString& text);

 signals:
  // 测量 was clicked.
  void measureRequested();
  // F5 or Space went down while measuring.
  void pressed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QSpinBox* m_lag;
  QPushButton* m_measure;
  QLabel* m_outcome;
  // Every control that takes the focus, with its own focus policy.
  QList<std::pair<QWidget*, Qt::FocusPolicy>> m_focusable;
  bool m_measuring = false;
};

}  // namespace app
