#pragma once

#include <QObject>
#include <QPointer>

#include "app/editor_state.h"
#include "app/services.h"
#include "shell/command_registry.h"
#include "waveform/ui/waveform_window.h"

namespace app {

class MainWindow;
class UndoBindings;

// The waveform window: 波形窗口 (F8) opens or raises it; it follows the song row, the lines and
// the playback, and the editor's stamping, jumping, nudging and undo keys work in it as in the
// main window. It is made when first opened.
class WaveformBindings : public QObject {
  Q_OBJECT

 public:
  // Registers ShowWaveformWindow in `registry`; all arguments must outlive this.
  WaveformBindings(MainWindow& window, EditorState& state, const Services& services,
                   UndoBindings& undo, shell::CommandRegistry& registry);
  ~WaveformBindings() override;

  // Opens the window, or raises it when it is open.
  void showWaveformWindow();
  // The window, once it was opened.
  waveform::WaveformWindow* waveformWindow() const { return m_waveform; }

 private:
  MainWindow& m_window;
  EditorState& m_state;
  std::string m_cacheFolder;
  QPointer<waveform::WaveformWindow> m_waveform;
};

}  // namespace app
