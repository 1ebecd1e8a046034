#include "app/window/shift_dialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace app {

ShiftDialog::ShiftDialog(bool lineSelected, QWidget* parent)
    : QDialog(parent),
      m_seconds(new QDoubleSpinBox(this)),
      m_fromSelected(new QRadioButton(QStringLiteral("选中行及以下"), this)),
      m_all(new QRadioButton(QStringLiteral("全部"), this)) {
  setObjectName(QStringLiteral("窗口_整体平移"));
  setWindowTitle(QStringLiteral("整体平移时间标签"));
  setModal(true);

  m_seconds->setObjectName(QStringLiteral("数值框_平移秒数"));
  m_seconds->setRange(-600.0, 600.0);
  m_seconds->setDecimals(2);
  m_seconds->setSingleStep(0.1);
  m_seconds->setValue(0.0);
  m_seconds->setSuffix(QStringLiteral(" 秒"));
  m_fromSelected->setObjectName(QStringLiteral("单选框_选中行及以下"));
  m_all->setObjectName(QStringLiteral("单选框_全部"));
  // With no line selected there is no "selected line and below" to move.
  m_fromSelected->setEnabled(lineSelected);
  (lineSelected ? m_fromSelected : m_all)->setChecked(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  // Qt's own captions would follow its translations, which the editor does not load.
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("平移："), m_seconds);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_fromSelected);
  layout->addWidget(m_all);
  layout->addWidget(buttons);
  m_seconds->selectAll();
}

std::int64_t ShiftDialog::hundredths() const { return std::llround(m_seconds->value() * 100.0); }

bool ShiftDialog::allLines() const { return m_all->isChecked(); }

}  // namespace app
