#pragma once

#include <QString>

class QMimeData;

namespace app {

// The text a file drop delivers: the full path of a single local file, or, for several files,
// every path followed by "\r\n". Empty when the drop holds no local file.
QString droppedPathText(const QMimeData* mime);

}  // namespace app
