#pragma once

#include <QString>
#include <QStringList>

namespace app {

// True when the editor whose executable is in `executableDirectory` was installed there
// (`cmake --install`, the Debian package): its AppStream metainfo file
// `<prefix>/share/metainfo/<id>.metainfo.xml` lies beside `<prefix>/bin`. Only an install puts
// that file there and the editor never writes it, so nothing the editor writes itself (such as
// its per-user desktop entry, which lies beside ~/.local/bin) makes a copy look installed.
bool isInstalledEditor(const QString& executableDirectory);

// The desktop entry installed with the editor whose executable is in `executableDirectory`:
// `<prefix>/share/applications/qinghe-lrc-editor.desktop` beside `<prefix>/bin`, when the editor
// is installed and that file exists. Empty for a build tree or a loose copy of the program, which
// are portable.
QString installedDesktopEntry(const QString& executableDirectory);

// `entry` when its folder `<dir>/applications` lies in one of `systemDataDirs` (the desktop's
// $XDG_DATA_DIRS), so the desktop sees it; otherwise empty.
QString visibleDesktopEntry(const QString& entry, const QStringList& systemDataDirs);

}  // namespace app
