#pragma once

#include <string>

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
// "播放时间:", prefix of status part 0.
const std::string& playTimePrefix();
// "播放进度:", prefix of status part 1.
const std::string& progressPrefix();
// "歌手:" and "歌曲:", prefixes of status parts 2 and 3.
const std::string& singerPrefix();
const std::string& songPrefix();
// "mp3格式" and "wma格式", the format cell of a song.
const std::string& mp3Format();
const std::string& wmaFormat();
// "正常", the file-check cell.
const std::string& fileOk();

}  // namespace playback::texts
