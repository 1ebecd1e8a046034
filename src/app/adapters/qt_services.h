#pragma once

#include "app/adapters/qt_clipboard.h"
#include "app/adapters/qt_dialogs.h"
#include "app/adapters/qt_font_chooser.h"
#include "app/adapters/qt_prompter.h"
#include "app/services.h"
#include "playback/mpv/mpv_audio_player.h"
#include "playback/pulse/pulse_master_volume.h"

namespace app {

// The editor's services on the desktop: Qt's message boxes, dialogs, font dialog and clipboard,
// libmpv, the default sink's volume through libpulse, SMTP mail, the user's .lrc association and
// the program's folder. Build it after QApplication; it must outlive the editor.
class QtServices {
 public:
  QtServices();

  // The bundle handed to the editor.
  Services services();
  // The player, whose core main() starts once the window is on screen.
  playback::MpvAudioPlayer& player() { return m_player; }

 private:
  QtPrompter m_prompter;
  QtDialogs m_dialogs;
  QtFontChooser m_fontChooser;
  QtClipboard m_clipboard;
  playback::MpvAudioPlayer m_player;
  playback::PulseMasterVolume m_masterVolume;
};

}  // namespace app
