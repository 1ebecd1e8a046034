#include "app/bindings/volume_bindings.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QSlider>

#include "app/adapters/gbk.h"
#include "app/window/main_window.h"
#include "app/window/speaker_picture.h"
#include "app/window/transparent_square.h"

namespace app {

namespace {

// The speaker picture is a 24-pixel square; its border pixels do not call up the panel.
constexpr int kSpeakerSize = 24;

// Where the pointer may roam over the window's surface, edges included, while the panel is up:
// the picture, the panel and the status bar beneath them.
constexpr QRect kVolumeZone(QPoint(23, 530), QPoint(485, 613));

// The top of the picture lies over the status bar's text, so the speaker is drawn smaller in
// the lower part of the square, where the status text stays readable beside it.
QPixmap pictureBesideStatusBar(qreal devicePixelRatio) {
  QPixmap picture = transparentSquare(kSpeakerSize, devicePixelRatio);
  QPainter painter(&picture);
  painter.drawPixmap(QPoint(1, 6), speakerPicture(20, devicePixelRatio));
  return picture;
}

}  // namespace

VolumeBindings::VolumeBindings(MainWindow& window, const Services& services)
    : QObject(&window),
      m_window(window),
      m_speaker(window.speakerPicture()),
      m_label(window.volumeLabel()),
      m_control(services.masterVolume, *this) {
  m_speaker->setPixmap(pictureBesideStatusBar(m_speaker->devicePixelRatioF()));
  m_speaker->setToolTip(QStringLiteral("音量"));
  // The picture reaches into the status bar's rectangle; on top it gets the pointer there too.
  m_speaker->raise();
  // Moves without a pressed button reach the picture only with tracking on.
  m_speaker->setMouseTracking(true);
  m_speaker->installEventFilter(this);
  connect(window.volumeSlider(), &QSlider::valueChanged, this, [this] { m_control.applyVolume(); });
  connect(&window, &MainWindow::surfaceMouseMoved, this, &VolumeBindings::surfaceMouseMoved);
}

void VolumeBindings::surfaceMouseMoved(QPoint pos) {
  if (kVolumeZone.contains(pos)) return;
  m_window.volumePanel()->hide();
  m_window.resize(m_window.width(), MainWindow::kDesignHeight);
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
