#pragma once

#include <string>

#include "lyrics/current_time_tag.h"
#include "lyrics/header_fields.h"
#include "lyrics/status_bar.h"
#include "playback/play_clock.h"
#include "playback/playback_controller.h"
#include "playback/playback_display.h"
#include "playback/playback_fakes.h"
#include "playback/song_row.h"
#include "support/fake_interval_timer.h"
#include "support/recording_prompter.h"
#include "support/scripted_dialogs.h"

namespace playbacktest {

// The playback controller and its clock as the window wires them, over fakes: the clock's tick
// timer and the player write what they are asked to do into `log`, and so do the display (the
// slider, the tag and pause captions) and the status bar; `now` is moved by hand.
struct ControllerRig {
  ControllerRig() {
    using playback::PlaybackDisplay;
    display.addListener([this](PlaybackDisplay::Item item) {
      if (item == PlaybackDisplay::Progress)
        log.push_back("slider:" + std::to_string(display.progress()));
      if (item == PlaybackDisplay::TagCaption) log.push_back("tag:" + display.tagCaption());
      if (item == PlaybackDisplay::PauseCaption) log.push_back("pause:" + display.pauseCaption());
    });
    status.addListener([this](int part) {
      log.push_back("status" + std::to_string(part) + ":" + status.text(part));
    });
  }

  Log log;
  testsupport::FakeIntervalTimer tickTimer{&log};
  lyrics::CurrentTimeTag tag;
  playback::PlaybackDisplay display;
  lyrics::StatusBar status;
  lyrics::HeaderFields header;
  playback::SongRow song;
  testsupport::FakeAudioPlayer player{&log};
  FakeClock now;
  playback::PlayClock clock{tickTimer, tag, display, status, player, now};
  testsupport::RecordingPrompter prompter;
  testsupport::ScriptedDialogs dialogs;
  testsupport::RecordingClipboard clipboard;
  playback::PlaybackController controller{song,   header,   status,  display,  clock,
                                          player, prompter, dialogs, clipboard};
};

}  // namespace playbacktest
