#include "app/install_layout.h"

#include <QDir>
#include <QFileInfo>

#include "app/lrc_association.h"

namespace app {

QString installedDesktopEntry(const QString& executableDirectory) {
  if (executableDirectory.isEmpty()) return {};
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
