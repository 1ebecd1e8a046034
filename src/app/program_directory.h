#pragma once

#include <QString>

namespace app {

// The directory of the files the editor keeps beside itself (saved lyrics, signature): the
// executable's directory when it is writable (a portable build tree or copy), otherwise
// `dataHome` + "/qinghe-lrc-editor", created when missing. An installed editor always uses the
// latter, even where its folder is writable (root, or a prefix of the user's own). No trailing
// separator.
QString programDirectory(const QString& executableDirectory, const QString& dataHome);

// The user's own data folder of the editor, $XDG_DATA_HOME/qinghe-lrc-editor (not created).
QString userDataFolder();

// programDirectory() for the running executable and $XDG_DATA_HOME.
QString programDirectory();

// The folder where older versions kept the library of the copy in `executableDirectory`:
// `dataHome` + "/qinghe-lrc-editor" when the copy now keeps its files in its own folder although
// `<executableDirectory>/../share` is `dataHome` (a copy in ~/.local/bin, whose own desktop
// entry in ~/.local/share/applications made older versions take it for installed). Otherwise
// empty.
QString strandedLibraryDirectory(const QString& executableDirectory, const QString& dataHome);

// programDirectory() for the running executable, after the records that older versions kept in
// the stranded library folder (see strandedLibraryDirectory) were brought in once.
QString openProgramDirectory();

}  // namespace app
