#pragma once

#include <QString>
#include <QStringList>

namespace app {

// The desktop entry installed with the editor whose executable is in `executableDirectory`:
// `<prefix>/share/applications/qinghe-lrc-editor.desktop` beside `<prefix>/bin`, when that file
// exists. Empty for a build tree or a loose copy of the program, which are portable.
QString installedDesktopEntry(const QString& executableDirectory);

// `entry` when its folder `<dir>/applications` lies in one of `systemDataDirs` (the desktop's
// $XDG_DATA_DIRS), so the desktop sees it; otherwise empty.
QString visibleDesktopEntry(const QString& entry, const QStringList& systemDataDirs);

}  // namespace app
