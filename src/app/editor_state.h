#pragma once

#include "app/adapters/qt_input_moments.h"
#include "app/services.h"
#include "files/document_recovery.h"
#include "files/saved_lyrics_library.h"
#include "lyrics/current_time_tag.h"
#include "lyrics/double_click_mode.h"
#include "lyrics/header_fields.h"
#include "lyrics/lyrics_list.h"
#include "lyrics/status_bar.h"
#include "lyrics/undo_history.h"
#include "platform/interval_timer.h"
#include "platform/monotonic_clock.h"
#include "playback/compensated_time_tags.h"
#include "playback/key_lag_setting.h"
#include "playback/play_clock.h"
#include "playback/playback_controller.h"
#include "playback/playback_display.h"
#include "playback/song_row.h"

namespace app {

// Every piece of the editor's state in one object, owned by the composition root and handed to
// each subsystem's bindings, which show it in the window and run commands on it. Nothing else
// holds a model: a newcomer looking for a piece of state finds it here.
struct EditorState {
  // The play clock ticks on `clockTimer` (时钟_毫秒) and reads the position of `services.player`;
  // the playback commands ask through `services`. Both outlive the state.
  EditorState(platform::IntervalTimer& clockTimer, const Services& services);

  // The document: its lines and selection. Every change of a line goes through its operations.
  lyrics::LyricsList lyrics;
  // Singer, song, album and editor: the header boxes.
  lyrics::HeaderFields headers;
  // The six status-bar texts.
  lyrics::StatusBar status;
  // The tag a stamp gets, rebuilt by every tick of the play clock.
  lyrics::CurrentTimeTag currentTag;
  // What a double-click on a line does.
  lyrics::DoubleClickMode doubleClickMode;
  // The current song: row 0 of the song list.
  playback::SongRow song;
  // The tag button's caption, the pause button's caption and the progress slider.
  playback::PlaybackDisplay playbackDisplay;

 private:
  platform::SteadyClock m_steadyClock;

 public:
  // When the key press or click being handled happened, by the window system's time stamp.
  QtInputMoments inputMoments;

 public:
  // The play time that stamps get.
  playback::PlayClock clock;
  // The user's key lag and whether stamps allow for it (settings.ini in the settings folder).
  playback::KeyLagSetting keyLag;
  // The time that a key press or the tag button stamps: the clock at the moment of the press,
  // less the key lag while that is on. Double-clicks and the signature stamp the clock itself.
  playback::CompensatedTimeTags pressTags;
  // Playing, paused or idle, with the commands that change it.
  playback::PlaybackController playback;
  // The saved-lyrics library, shown in the list 超级列表框1.
  files::SavedLyricsLibrary library;
  // The undo history of the lines, with the header boxes and the song row beside them.
  lyrics::UndoHistory history;
  // The recovery file of the document, and the document a run that ended left behind.
  files::DocumentRecovery recovery;
};

}  // namespace app
