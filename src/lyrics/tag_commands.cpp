#include "lyrics/tag_commands.h"

#include "lyrics/line_filter.h"
#include "lyrics/text_rules.h"

namespace lyrics {

namespace {

bool startsWithBracket(std::string_view line) { return !line.empty() && line.front() == '['; }

}  // namespace

TagCommands::TagCommands(LyricsList& list, TimeTagSource& timeTags, DoubleClickMode& mode,
                         platform::Prompter& prompter, TimeTagSource* doubleClickTags)
    : m_list(list),
      m_timeTags(timeTags),
      m_doubleClickTags(doubleClickTags ? *doubleClickTags : timeTags),
      m_mode(mode),
      m_prompter(prompter) {}

void TagCommands::stamp(TimeTagSource& timeTags) {
  const int selected = m_list.selection();
  if (selected == -1) {
    m_prompter.inform("请导入歌词", "tolva", platform::MessageIcon::Warning);
    return;
  }
  // The line is not inspected: a line that already carries tags gets one more in front, and
  // on the last line the clamped selection stays put so a second press stacks another tag.
  m_list.setLine(selected, timeTags.currentTag() + std::string(m_list.line(selected)));
  m_list.setSelection(selected + 1);
}

void TagCommands::deleteLineTag() {
  const int selected = m_list.selection();
  if (selected == -1) {
    m_prompter.inform("请选择需要删除的歌词行", "tolva_错误提示", platform::MessageIcon::Warning);
    return;
  }
  const std::string_view line = m_list.line(selected);
  if (!startsWithBracket(line)) {
    m_prompter.inform("此行无需删除时间标签", "tolva_错误提示", platform::MessageIcon::Warning);
    return;
  }
  // Header lines of other lengths and lines without "]" are left alone without a message.
  const std::size_t tag = leadingTagLength(line);
  if (tag != 0) m_list.setLine(selected, std::string(line.substr(tag)));
}

void TagCommands::listDoubleClick() {
  if (m_mode.addsTag()) {
    stamp(m_doubleClickTags);
  } else if (m_mode.deletesTag()) {
    deleteLineTag();
  }
}

void TagCommands::toggleDoubleClickAdd() {
  if (m_mode.addsTag()) {
    m_mode.set(false, m_mode.deletesTag());
  } else {
    m_mode.set(true, false);
  }
}

void TagCommands::toggleDoubleClickDelete() {
  if (m_mode.deletesTag()) {
    m_mode.set(m_mode.addsTag(), false);
  } else {
    m_mode.set(false, true);
  }
}

void TagCommands::deleteAllTimeTags() {
  for (int i = 0; i < m_list.count(); ++i) {
    const std::string_view line = m_list.line(i);
    const std::size_t tag = leadingTagLength(line);
    if (tag != 0) m_list.setLine(i, std::string(line.substr(tag)));
  }
}

void TagCommands::stripTagFractions() {
  for (int i = 0; i < m_list.count(); ++i) {
    std::string line(m_list.line(i));
    if (leadingTagLength(line) != kFullTagLength) continue;
    line.erase(kShortTagLength - 1, kFullTagLength - kShortTagLength);
    m_list.setLine(i, std::move(line));
  }
}

void TagCommands::deleteUntaggedLines() { keepLines(m_list, startsWithBracket); }

}  // namespace lyrics
