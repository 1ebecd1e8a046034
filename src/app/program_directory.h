#pragma once

#include <QString>

namespace app {

// The directory of the files the editor keeps beside itself (saved lyrics, signature): the
// executable's directory when it is writable (a portable build tree), otherwise `dataHome` +
// "/qinghe-lrc-editor", created when missing. An installed editor always uses the latter, even
// where its folder is writable (root, or a prefix of the user's own). No trailing separator.
QString programDirectory(const QString& executableDirectory, const QString& dataHome);

// programDirectory() for the running executable and $XDG_DATA_HOME.
QString programDirectory();

}  // namespace app
