#pragma once

#include <QDialog>
#include <cstdint>

class QDoubleSpinBox;
class QRadioButton;

namespace app {

// The modal dialog `窗口_整体平移` of 整体平移时间标签...: a number of seconds (−600.00 to
// 600.00) and whether it moves the selected line and those below it or every line, with 确定
// and 取消.
class ShiftDialog : public QDialog {
  Q_OBJECT

 public:
  // `lineSelected` false leaves only 全部 to choose.
  explicit ShiftDialog(bool lineSelected, QWidget* parent = nullptr);

  // The chosen number of seconds, in hundredths.
  std::int64_t hundredths() const;
  // True when every line is to move, false for the selected line and those below it.
  bool allLines() const;

 private:
  QDoubleSpinBox* m_seconds;
  QRadioButton* m_fromSelected;
  QRadioButton* m_all;
};

}  // namespace app
