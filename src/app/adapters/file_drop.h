#pragma once

#include <string>

class QMimeData;

namespace app {

// The text a file drop delivers, as document text: the full path of a single local file, or,
// for several files, every path followed by "\r\n". Empty when the drop holds no local file.
// The paths keep the exact bytes of the file names, so an undecodable name still opens.
std::string droppedPathText(const QMimeData* mime);

}  // namespace app
