#include "app/editor_state.h"

namespace app {

EditorState::EditorState(platform::IntervalTimer& clockTimer, const Services& services)
    : clock(clockTimer, currentTag, playbackDisplay, status, services.player, m_steadyClock),
      playback(song, headers, status, playbackDisplay, clock, services.player, services.prompter,
               services.dialogs, services.clipboard) {}

}  // namespace app
