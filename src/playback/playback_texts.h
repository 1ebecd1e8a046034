#pragma once

#include <string>
#include <string_view>

#include "playback/playback_state.h"

// The fixed captions and messages of playback (GBK bytes; defined in the .cpp because headers
// of this folder hold no non-ASCII literals).
namespace playback::texts {

// "加入标签[00:00.00]", the tag button after a reset.
const std::string& tagCaptionReset();
// "加入标签:", the tag button's prefix while the clock runs.
const std::string& tagCaptionPrefix();
// "暂停", the pause button while playing or idle.
const std::string& pauseCaption();
// "继续", the pause button while paused.
const std::string& resumeCaption();
// The pause button's caption in `state`: "继续" where it offers to continue, else "暂停".
const std::string& pauseButtonCaption(PlaybackState state);
// The format cell of a song named by its file's ending: `extension` and "格式".
std::string formatOf(std::string_view extension);
// "mp3格式" and "wma格式", the format cells of the two kinds of song that play.
const std::string& mp3Format();
const std::string& wmaFormat();
// "正常", the file-check cell.
const std::string& fileOk();

}  // namespace playback::texts
