#include "app/program_directory.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/adapters/qt_paths.h"
#include "app/install_layout.h"
#include "files/stranded_library_import.h"

namespace app {

namespace {

QString dataFolder(const QString& dataHome) {
  return QDir::cleanPath(dataHome + QStringLiteral("/qinghe-lrc-editor"));
}

QString userDataHome() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

}  // namespace

QString programDirectory(const QString& executableDirectory, const QString& dataHome) {
  // access() asks the kernel, so read-only mounts and foreign owners count as not writable.
  if (!executableDirectory.isEmpty() && !isInstalledEditor(executableDirectory) &&
      ::access(QFile::encodeName(executableDirectory).constData(), W_OK) == 0) {
    return QDir::cleanPath(executableDirectory);
  }
  const QString fallback = dataFolder(dataHome);
  QDir().mkpath(fallback);
  return fallback;
}

QString userDataFolder() { return dataFolder(userDataHome()); }

QString programDirectory() {
  return programDirectory(QCoreApplication::applicationDirPath(), userDataHome());
}

QString strandedLibraryDirectory(const QString& executableDirectory, const QString& dataHome) {
  if (executableDirectory.isEmpty() || dataHome.isEmpty()) return {};
  // Canonical folders, so ~/.local/bin/../share meets a data home spelled another way.
  const QString share =
      QFileInfo(executableDirectory + QStringLiteral("/../share")).canonicalFilePath();
  if (share.isEmpty() || share != QFileInfo(dataHome).canonicalFilePath()) return {};
  const QString stranded = dataFolder(dataHome);
  if (programDirectory(executableDirectory, dataHome) == stranded) return {};
  return stranded;
}

QString openProgramDirectory() {
  const QString executableDirectory = QCoreApplication::applicationDirPath();
  const QString dataHome = userDataHome();
  const QString directory = programDirectory(executableDirectory, dataHome);
  const QString stranded = strandedLibraryDirectory(executableDirectory, dataHome);
  if (!stranded.isEmpty()) {
    files::StrandedLibraryImport::importOnce(toGbkPath(directory), toGbkPath(stranded));
  }
  return directory;
}

}  // namespace app
