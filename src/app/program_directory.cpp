#include "app/program_directory.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "app/install_layout.h"

namespace app {

QString programDirectory(const QString& executableDirectory, const QString& dataHome) {
  // access() asks the kernel, so read-only mounts and foreign owners count as not writable.
  if (!executableDirectory.isEmpty() && installedDesktopEntry(executableDirectory).isEmpty() &&
      ::access(QFile::encodeName(executableDirectory).constData(), W_OK) == 0) {
    return QDir::cleanPath(executableDirectory);
  }
  const QString fallback = QDir::cleanPath(dataHome + QStringLiteral("/qinghe-lrc-editor"));
  QDir().mkpath(fallback);
  return fallback;
}

QString programDirectory() {
  return programDirectory(QCoreApplication::applicationDirPath(),
                          QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

}  // namespace app
