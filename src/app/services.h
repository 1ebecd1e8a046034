#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/lrc_association.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/font_chooser.h"
#include "platform/mail_sender.h"
#include "platform/master_volume.h"
#include "platform/prompter.h"
#include "playback/audio_player.h"

namespace app {

// Everything the editor takes from the system, built once by main() (QtServices) or by a test
// (testsupport::FakeServices) and outliving the editor.
struct Services {
  platform::Prompter& prompter;
  platform::Dialogs& dialogs;
  // The font dialog of 更改字体.
  platform::FontChooser& fontChooser;
  platform::Clipboard& clipboard;
  playback::AudioPlayer& player;
  platform::MasterVolume& masterVolume;
  // Makes the sender of one feedback mail.
  std::function<std::unique_ptr<platform::MailSender>()> mailSender;
  // Where the .lrc association is registered.
  LrcAssociation association;
  // Whether registering the association also refreshes the desktop's caches.
  bool refreshDesktopCaches;
  // The folder of the files kept beside the program, as GB18030 bytes.
  std::string programDirectory;
  // The per-user folder of the recovery files, as GB18030 bytes; "" keeps none.
  std::string recoveryFolder;
  // Starts getting the player ready for the first Play (loading and starting the sound
  // library) without blocking; called once the window is first painted. Empty: nothing to do.
  std::function<void()> preparePlayer;
  // The per-user folder of the waveform envelopes, as the file system's bytes; "" keeps none.
  std::string cacheFolder = {};
  // The per-user folder of settings.ini (beside feedback.ini), as GB18030 bytes; "" keeps none.
  std::string settingsFolder = {};
};

}  // namespace app
