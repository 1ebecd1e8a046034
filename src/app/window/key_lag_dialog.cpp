#include "app/window/key_lag_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "playback/key_lag_setting.h"

namespace app {

KeyLagDialog::KeyLagDialog(std::optional<int> lagMs, const QString& notice, QWidget* parent)
    : QDialog(parent),
      m_lag(new QSpinBox(this)),
      m_measure(new QPushButton(QStringLiteral("测量"), this)),
      m_outcome(new QLabel(notice, this)) {
  setObjectName(QStringLiteral("窗口_按键延迟补偿"));
  setWindowTitle(QStringLiteral("按键延迟补偿"));
  setModal(true);

  auto* about = new QLabel(
      QStringLiteral(
          "听到一句开唱再按 F5，按键总比声音晚一点。启用补偿后，按 F5、单击“加入标签”按钮、"
          "重新标记本行和对齐到当前时间加上的标签都减去这个延迟（慢放时按播放速度折算）；"
          "双击加的标签、个性签名和显示的播放时间不变。\n\n"
          "“测量”以正常速度播放 12 个间隔不规则的短促声音（正在播放的歌曲先暂停），"
          "每听到一个声音就按一次 F5 或空格键。测得的是对一个没有预料到的声音的反应延迟；"
          "对很熟悉、能预先感觉到下一句的歌曲，您需要的补偿可能小一些。"),
      this);
  about->setObjectName(QStringLiteral("标签_测量说明"));
  about->setWordWrap(true);

  m_lag->setObjectName(QStringLiteral("数值框_按键延迟"));
  m_lag->setRange(0, playback::KeyLagSetting::kMaxLagMs);
  m_lag->setSuffix(QStringLiteral(" 毫秒"));
  m_lag->setValue(lagMs.value_or(0));
  m_measure->setObjectName(QStringLiteral("按钮_测量"));
  // Enter stores the number; it never starts a measurement.
  m_measure->setAutoDefault(false);
  m_outcome->setObjectName(QStringLiteral("标签_测量结果"));
  m_outcome->setWordWrap(true);
  connect(m_measure, &QPushButton::clicked, this, &KeyLagDialog::measureRequested);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  // Qt's own captions would follow its translations, which the editor does not load.
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  for (QWidget* control : std::initializer_list<QWidget*>{
           m_lag, m_measure, buttons->button(QDialogButtonBox::Ok),
           buttons->button(QDialogButtonBox::Cancel)}) {
    m_focusable.append({control, control->focusPolicy()});
  }

  auto* row = new QHBoxLayout;
  row->addWidget(m_lag, 1);
  row->addWidget(m_measure);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("按键延迟（0–500）："), row);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(about);
  layout->addLayout(form);
  layout->addWidget(m_outcome);
  layout->addWidget(buttons);
  // Narrow enough to sit over the main window; a wrapped text of a set width also has a set
  // height, which the dialog grows to when the outcome gets longer.
  for (QLabel* text : {about, m_outcome}) text->setFixedWidth(440);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  m_lag->selectAll();
}

int KeyLagDialog::lagMs() const { return m_lag->value(); }

void KeyLagDialog::setLagMs(int ms) { m_lag->setValue(ms); }

void KeyLagDialog::setMeasuring(bool measuring) {
  m_measuring = measuring;
  m_lag->setEnabled(!measuring);
  m_measure->setEnabled(!measuring);
  // A button with the focus would take Space as a click.
  for (const auto& [control, policy] : m_focusable) {
    control->setFocusPolicy(measuring ? Qt::NoFocus : policy);
  }
  if (measuring) {
    setFocusPolicy(Qt::StrongFocus);
    setFocus(Qt::OtherFocusReason);
  } else {
    setFocusPolicy(Qt::NoFocus);
    m_lag->setFocus(Qt::OtherFocusReason);
  }
}

void KeyLagDialog::showOutcome(const QString& text) { m_outcome->setText(text); }

void KeyLagDialog::keyPressEvent(QKeyEvent* event) {
  if (m_measuring && (event->key() == Qt::Key_F5 || event->key() == Qt::Key_Space)) {
    // A key held down repeats; only its first press answers a sound.
    if (!event->isAutoRepeat()) emit pressed();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace app
