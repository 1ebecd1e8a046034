#include "lyrics/line_filter.h"

#include <vector>

namespace lyrics {

void keepLines(LyricsList& list, const std::function<bool(const std::string&)>& keep) {
  const int selected = list.selection();
  std::vector<std::string> kept;
  kept.reserve(list.lines().size());
  int newSelection = -1;
  bool removedAny = false;
  for (int i = 0; i < list.count(); ++i) {
    if (!keep(list.line(i))) {
      removedAny = true;
      continue;
    }
    if (i == selected) newSelection = static_cast<int>(kept.size());
    kept.push_back(list.line(i));
  }
  if (!removedAny) return;
  list.replaceAll(std::move(kept));
  list.setSelection(newSelection);
}

}  // namespace lyrics
