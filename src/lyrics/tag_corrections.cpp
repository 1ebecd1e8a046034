#include "lyrics/tag_corrections.h"

#include <algorithm>

namespace lyrics {

namespace {

bool digits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::int64_t number(std::string_view text) {
  std::int64_t value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

}  // namespace

std::optional<std::pair<std::int64_t, std::size_t>> leadingTimeTag(std::string_view text) {
  // Two minute digits, or three past 99 minutes, as fullTimeTag writes them.
  const std::size_t colon = text.size() > 4 && text[4] == ':' ? 4 : 3;
  if (text.size() < colon + 4 || text[0] != '[' || text[colon] != ':') return std::nullopt;
  const std::string_view minutes = text.substr(1, colon - 1);
  const std::string_view seconds = text.substr(colon + 1, 2);
  if (!digits(minutes) || !digits(seconds)) return std::nullopt;
  const std::int64_t whole = number(minutes) * 6000 + number(seconds) * 100;
  const std::size_t after = colon + 3;
  if (text[after] == ']') return std::pair{whole, after + 1};
  if (text.size() >= after + 4 && text[after] == '.' && text[after + 3] == ']' &&
      digits(text.substr(after + 1, 2))) {
    return std::pair{whole + number(text.substr(after + 1, 2)), after + 4};
  }
  return std::nullopt;
}

std::string fullTimeTag(std::int64_t hundredths) {
  hundredths = std::max<std::int64_t>(hundredths, 0);
  const auto two = [](std::int64_t value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
  };
  return "[" + two(hundredths / 6000) + ":" + two(hundredths / 100 % 60) + "." +
         two(hundredths % 100) + "]";
}

std::string shiftedTags(std::string_view line, std::int64_t hundredths) {
  std::string moved;
  std::size_t at = 0;
  while (const auto tag = leadingTimeTag(line.substr(at))) {
    moved += fullTimeTag(tag->first + hundredths);
    at += tag->second;
  }
  return moved + std::string(line.substr(at));
}

TagCorrections::TagCorrections(LyricsList& list, TimeTagSource& timeTags, UndoHistory& history,
                               platform::Prompter& prompter)
    : m_list(list), m_timeTags(timeTags), m_history(history), m_prompter(prompter) {}

void TagCorrections::restampLine() {
  const int selected = m_list.selection();
  if (selected == -1) {
    // The same answer as a stamp with no line selected.
    m_prompter.inform("请导入歌词", "tolva", platform::MessageIcon::Warning);
    return;
  }
  std::string_view line = m_list.line(selected);
  if (const auto tag = leadingTimeTag(line)) line.remove_prefix(tag->second);
  m_list.setLine(selected, m_timeTags.currentTag() + std::string(line));
  m_list.setSelection(selected + 1);
}

void TagCorrections::alignToCurrentTime() {
  const int selected = m_list.selection();
  if (selected == -1) return;
  const auto old = leadingTimeTag(m_list.line(selected));
  if (!old) return;
  const std::string current = m_timeTags.currentTag();
  const std::int64_t difference = leadingTimeTag(current)->first - old->first;
  for (int index = 0; index < m_list.count(); ++index) {
    const std::string_view line = m_list.line(index);
    std::string moved;
    std::size_t at = 0;
    bool changed = false;
    // Every tag of the line's run of leading tags: a chorus carries one per repeat.
    while (const auto tag = leadingTimeTag(line.substr(at))) {
      if (index == selected && at == 0) {
        moved += current;
        changed = true;
      } else if (tag->first > old->first) {
        moved += fullTimeTag(tag->first + difference);
        changed = true;
      } else {
        moved += line.substr(at, tag->second);
      }
      at += tag->second;
    }
    if (changed) m_list.setLine(index, moved + std::string(line.substr(at)));
  }
  m_list.setSelection(selected + 1);
}

void TagCorrections::nudge(int hundredths) {
  const int selected = m_list.selection();
  if (selected == -1) return;
  const std::string_view line = m_list.line(selected);
  const auto tag = leadingTimeTag(line);
  if (!tag) return;
  m_history.mergeWithSameName("nudge " + std::to_string(hundredths) + " line " +
                              std::to_string(selected));
  m_list.setLine(selected,
                 fullTimeTag(tag->first + hundredths) + std::string(line.substr(tag->second)));
}

void TagCorrections::shiftTags(std::int64_t hundredths, ShiftScope scope) {
  if (hundredths == 0) return;
  const int first = scope == ShiftScope::All ? 0 : m_list.selection();
  if (first < 0) return;
  for (int index = first; index < m_list.count(); ++index) {
    const std::string_view line = m_list.line(index);
    if (!leadingTimeTag(line)) continue;
    // An unchanged line (its tags already at zero) makes no change.
    m_list.setLine(index, shiftedTags(line, hundredths));
  }
}

}  // namespace lyrics
