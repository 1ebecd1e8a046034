#include "lyrics/line_filter.h"

#include <vector>

namespace lyrics {

void keepLines(LyricsList& list, const std::function<bool(std::string_view)>& keep) {
  const int selected = list.selection();
  std::vector<std::string> kept;
  kept.reserve(static_cast<std::size_t>(list.count()));
  int newSelection = -1;
  bool removedAny = false;
  for (int i = 0; i < list.count(); ++i) {
    if (!keep(list.line(i))) {
      removedAny = true;
      continue;
    }
    if (i == selected) newSelection = static_cast<int>(kept.size());
    kept.emplace_back(list.line(i));
  }
  if (!removedAny) return;
  list.replaceAll(std::move(kept));
  list.setSelection(newSelection);
}

}  // namespace lyrics
