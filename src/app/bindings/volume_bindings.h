#pragma once

#include <QObject>
#include <QPoint>

#include "app/services.h"
#include "playback/volume_control.h"
#include "playback/volume_view.h"

class QLabel;

namespace app {

class MainWindow;

// Connects the volume controls of the main window to the master volume: the speaker picture
// `图片框_声音控制` calls up the panel `分组框_声音控制`, whose slider sets the volume and whose
// label `标签_右1` shows the slider's position. A move over the window's surface outside the
// panel's zone hides it again.
class VolumeBindings : public QObject, private playback::VolumeView {
  Q_OBJECT

 public:
  // Owned by `window`; the master volume of `services` must outlive it.
  VolumeBindings(MainWindow& window, const Services& services);

  // The start-up step: binds the mixer and shows the master volume on the slider.
  void initVolume() { m_control.initVolume(); }
  // The volume commands.
  playback::VolumeControl& control() { return m_control; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Hides the panel and restores the window height when `pos` (client coordinates) lies
  // outside the panel's zone.
  void surfaceMouseMoved(QPoint pos);
  int sliderPosition() const override;
  void setSliderPosition(int position) override;
  void setLabelText(const std::string& text) override;

  MainWindow& m_window;
  QLabel* m_speaker;
  QLabel* m_label;
  playback::VolumeControl m_control;
};

}  // namespace app
