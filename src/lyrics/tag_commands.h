#pragma once

#include "lyrics/double_click_mode.h"
#include "lyrics/lyrics_list.h"
#include "lyrics/time_tag_source.h"
#include "platform/prompter.h"

namespace lyrics {

// The commands that put time tags on lines and take them off again, and the double-click mode.
class TagCommands {
 public:
  // `timeTags` gives the tag of the moment a line is stamped by a key or the tag button;
  // `doubleClickTags` the tag of a double-click's stamp, `timeTags` when not given.
  TagCommands(LyricsList& list, TimeTagSource& timeTags, DoubleClickMode& mode,
              platform::Prompter& prompter, TimeTagSource* doubleClickTags = nullptr);

  // Stamps the selected line with the current time tag and moves to the next line.
  void addTimeTag() { stamp(m_timeTags); }
  // Removes the first tag of the selected line.
  void deleteLineTag();
  // A double-click on the lyrics list: adds or deletes a tag on the selected line as the
  // double-click mode says.
  void listDoubleClick();
  // Switches add-on-double-click on (and delete off) or off.
  void toggleDoubleClickAdd();
  // Switches delete-on-double-click on (and add off) or off.
  void toggleDoubleClickDelete();
  // Removes the first tag of every line.
  void deleteAllTimeTags();
  // Cuts every leading full tag "[mm:ss.xx]" down to "[mm:ss]".
  void stripTagFractions();
  // Removes every line that does not begin with "[".
  void deleteUntaggedLines();

 private:
  void stamp(TimeTagSource& timeTags);

  LyricsList& m_list;
  TimeTagSource& m_timeTags;
  TimeTagSource& m_doubleClickTags;
  DoubleClickMode& m_mode;
  platform::Prompter& m_prompter;
};

}  // namespace lyrics
