#pragma once

#include <QObject>
#include <QString>
#include <string>

#include "app/editor_state.h"
#include "app/services.h"
#include "platform/monotonic_clock.h"
#include "platform/random_source.h"
#include "playback/key_lag_measurement.h"
#include "shell/command_registry.h"

namespace app {

class KeyLagDialog;
class MainWindow;

// The key-lag compensation: 按键延迟补偿... measures or takes the user's lag in the dialog
// 窗口_按键延迟补偿, 启用按键延迟补偿 turns the compensation on and off, and while it is on the
// tag button's tooltip and the item's tooltip and status tip say by how much. The lag and the
// on/off state are EditorState::keyLag's; the measurement borrows the song's player.
class KeyLagBindings : public QObject {
  Q_OBJECT

 public:
  // Registers ShowKeyLagDialog and ToggleKeyLagCompensation in `registry`; all arguments must
  // outlive this.
  KeyLagBindings(MainWindow& window, EditorState& state, const Services& services,
                 shell::CommandRegistry& registry);
  ~KeyLagBindings() override;

  // Opens the dialog; true when 确定 stored its number.
  bool showKeyLagDialog();
  // Turns the compensation off, or on (through the dialog first when no lag is stored).
  void toggleCompensation();

 private:
  // Writes the tooltips and the status tip of the lag in force.
  void showCompensation();
  // What the dialog says at opening about a setting that was refused; "" when none was.
  QString refusedSettingText() const;
  // The sound file of a measurement, as GB18030 bytes.
  std::string soundFilePath() const;
  // Shows what a measurement that ended says, and its median when enough presses counted.
  static void showMeasured(KeyLagDialog& dialog, const playback::KeyLagMeasurement& measurement);

  MainWindow& m_window;
  EditorState& m_state;
  platform::Prompter& m_prompter;
  playback::AudioPlayer& m_player;
  shell::CommandRegistry& m_registry;
  std::string m_cacheFolder;
  // The tag button's own tooltip, which the lag in force is added to.
  QString m_tagToolTip;
  platform::SteadyClock m_steadyClock;
  platform::SystemRandomSource m_random;
};

}  // namespace app
