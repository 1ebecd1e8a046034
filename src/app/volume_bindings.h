#pragma once

#include <QObject>

#include "platform/master_volume.h"
#include "playback/volume_control.h"
#include "playback/volume_view.h"

class QLabel;

namespace app {

class MainWindow;

// Connects the volume controls of the main window to the master volume: the speaker picture
// `图片框_声音控制` calls up the panel `分组框_声音控制`, whose slider sets the volume and whose
// label `标签_右1` shows the slider's position. The window hides the panel again on its own
// mouse-move rule.
class VolumeBindings : public QObject, private playback::VolumeView {
  Q_OBJECT

 public:
  // Owned by `window`; `mixer` must outlive it.
  VolumeBindings(MainWindow& window, platform::MasterVolume& mixer);

  // The start-up step: binds the mixer and shows the master volume on the slider.
  void initVolume() { m_control.initVolume(); }
  // The volume commands.
  playback::VolumeControl& control() { return m_control; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int sliderPosition() const override;
  void setSliderPosition(int position) override;
  void setLabelText(const std::string& text) override;

  MainWindow& m_window;
  QLabel* m_speaker;
  QLabel* m_label;
  playback::VolumeControl m_control;
};

}  // namespace app
