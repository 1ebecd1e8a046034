#include "app/volume_bindings.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QSlider>

#include "app/gbk.h"
#include "app/main_window.h"
#include "app/speaker_picture.h"
#include "app/transparent_square.h"

namespace app {

namespace {

// The speaker picture is a 24-pixel square; its border pixels do not call up the panel.
constexpr int kSpeakerSize = 24;

// The top of the picture lies over the status bar's text, so the speaker is drawn smaller in
// the lower part of the square, where the status text stays readable beside it.
QPixmap pictureBesideStatusBar(qreal devicePixelRatio) {
  QPixmap picture = transparentSquare(kSpeakerSize, devicePixelRatio);
  QPainter painter(&picture);
  painter.drawPixmap(QPoint(1, 6), speakerPicture(20, devicePixelRatio));
  return picture;
}

}  // namespace

VolumeBindings::VolumeBindings(MainWindow& window, platform::MasterVolume& mixer)
    : QObject(&window),
      m_window(window),
      m_speaker(window.control<QLabel>(QStringLiteral("图片框_声音控制"))),
      m_label(window.control<QLabel>(QStringLiteral("标签_右1"))),
      m_control(mixer, *this) {
  m_speaker->setPixmap(pictureBesideStatusBar(m_speaker->devicePixelRatioF()));
  m_speaker->setToolTip(QStringLiteral("音量"));
  // The picture reaches into the status bar's rectangle; on top it gets the pointer there too.
  m_speaker->raise();
  // Moves without a pressed button reach the picture only with tracking on.
  m_speaker->setMouseTracking(true);
  m_speaker->installEventFilter(this);
  connect(window.volumeSlider(), &QSlider::valueChanged, this, [this] { m_control.applyVolume(); });
}

bool VolumeBindings::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_speaker && event->type() == QEvent::MouseMove) {
    const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
    if (pos.x() > 0 && pos.x() < kSpeakerSize && pos.y() > 0 && pos.y() < kSpeakerSize) {
      // Over the status bar, which it covers while it is up.
      m_window.volumePanel()->raise();
      m_window.volumePanel()->show();
    }
  }
  return QObject::eventFilter(watched, event);
}

int VolumeBindings::sliderPosition() const { return m_window.volumeSlider()->value(); }

void VolumeBindings::setSliderPosition(int position) {
  // Only the user's moves are position changes; showing the start value writes nothing.
  const QSignalBlocker quiet(m_window.volumeSlider());
  m_window.volumeSlider()->setValue(position);
}

void VolumeBindings::setLabelText(const std::string& text) { m_label->setText(toQString(text)); }

}  // namespace app
