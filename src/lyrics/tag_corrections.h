#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "lyrics/lyrics_list.h"
#include "lyrics/time_tag_source.h"
#include "lyrics/undo_history.h"
#include "platform/prompter.h"

namespace lyrics {

// Which lines a shift of the time tags moves.
enum class ShiftScope { SelectedAndBelow, All };

// The commands that correct a stamp already made: re-stamping the selected line, aligning it
// and every later tag to the current play time, and nudging its leading tag by a hundredth or a
// tenth of a second, and shifting the tags of many lines at once.
class TagCorrections {
 public:
  // All collaborators must outlive the commands.
  TagCorrections(LyricsList& list, TimeTagSource& timeTags, UndoHistory& history,
                 platform::Prompter& prompter);

  // Replaces the selected line's leading time tag with the current one (a line without one
  // gets it in front, as a stamp would) and selects the next line.
  void restampLine();
  // Sets the selected line's leading tag to the current time and moves every tag of any line
  // that lies later than its old time by the same difference; selects the next line.
  void alignToCurrentTime();
  // Moves the selected line's leading tag by `hundredths` (never below zero); repeated presses
  // of the same nudge on the same line are one undo step.
  void nudge(int hundredths);
  // Moves every tag of the leading run of tags of each line in `scope` by `hundredths`; with
  // no line selected, SelectedAndBelow moves nothing.
  void shiftTags(std::int64_t hundredths, ShiftScope scope);

 private:
  LyricsList& m_list;
  TimeTagSource& m_timeTags;
  UndoHistory& m_history;
  platform::Prompter& m_prompter;
};

// The time of a time tag "[mm:ss.xx]" or "[mm:ss]" (digits only) at the start of `text`, in
// hundredths, with the tag's length; nothing when `text` starts with no time tag.
std::optional<std::pair<std::int64_t, std::size_t>> leadingTimeTag(std::string_view text);
// The full tag "[mm:ss.xx]" of `hundredths` (minutes beyond 99 take more digits).
std::string fullTimeTag(std::int64_t hundredths);
// `line` with every tag of its leading run of time tags moved by `hundredths`, each written in
// full and never below [00:00.00], and the text after the run as it was; a line that starts
// with no time tag comes back as it is.
std::string shiftedTags(std::string_view line, std::int64_t hundredths);

}  // namespace lyrics
