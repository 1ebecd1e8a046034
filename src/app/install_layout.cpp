#include "app/install_layout.h"

#include <QDir>
#include <QFileInfo>

#include "app/build_config.h"
#include "app/lrc_association.h"

namespace app {

bool isInstalledEditor(const QString& executableDirectory) {
  if (executableDirectory.isEmpty()) return false;
  return QFileInfo(executableDirectory + QStringLiteral("/../share/metainfo/") +
                   QLatin1String(build_config::kAppStreamId) + QStringLiteral(".metainfo.xml"))
      .isFile();
}

QString installedDesktopEntry(const QString& executableDirectory) {
  if (!isInstalledEditor(executableDirectory)) return {};
  const QFileInfo entry(executableDirectory + QStringLiteral("/../share/applications/") +
                        QLatin1String(LrcAssociation::kDesktopFileName));
  return entry.isFile() ? entry.canonicalFilePath() : QString();
}

QString visibleDesktopEntry(const QString& entry, const QStringList& systemDataDirs) {
  if (entry.isEmpty()) return {};
  // Compared as canonical folders, so /usr/bin/../share and a data dir given with a trailing
  // slash or through a symbolic link still meet.
  const QString folder = QFileInfo(QFileInfo(entry).absolutePath()).canonicalFilePath();
  for (const QString& dataDir : systemDataDirs) {
    const QString applications =
        QFileInfo(dataDir + QStringLiteral("/applications")).canonicalFilePath();
    if (!applications.isEmpty() && applications == folder) return entry;
  }
  return {};
}

}  // namespace app
