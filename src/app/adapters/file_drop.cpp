#include "app/adapters/file_drop.h"

#include <QMimeData>
#include <QUrl>
#include <vector>

#include "app/adapters/qt_paths.h"

namespace app {

std::string droppedPathText(const QMimeData* mime) {
  if (!mime || !mime->hasUrls()) return {};
  std::vector<std::string> paths;
  for (const QUrl& url : mime->urls()) {
    // Links to web pages and other remote places are not files the editor can read.
    if (url.isLocalFile()) paths.push_back(toGbkPath(nativePathOf(url)));
  }
  if (paths.size() == 1) return paths.front();
  std::string text;
  for (const std::string& path : paths) text += path + "\r\n";
  return text;
}

}  // namespace app
