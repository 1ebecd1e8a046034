#include "app/lrc_association.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "app/install_layout.h"

namespace app {

namespace {

const QByteArray kMimeType = "text/x-lrc";
const QByteArray kDefaultSection = "[Default Applications]";

// Replaces `path` whole with `bytes` when it holds anything else, so an interrupted start never
// leaves half a file behind and an unchanged file is not touched. True when it was written.
bool writeIfChanged(const QString& path, const QByteArray& bytes) {
  QFile current(path);
  if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes) return false;
  current.close();
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(bytes);
  return file.commit();
}

// True when the cache `cache` is missing or older than `source`, the file it is built from.
bool outOfDate(const QString& cache, const QString& source) {
  const QFileInfo cacheInfo(cache);
  return !cacheInfo.exists() || cacheInfo.lastModified() < QFileInfo(source).lastModified();
}

// Starts a cache tool without waiting for it; a missing tool is simply skipped. Its notes go
// nowhere: the editor writes nothing to its own output.
void startIfInstalled(const QString& tool, const QStringList& arguments) {
  const QString program = QStandardPaths::findExecutable(tool);
  if (program.isEmpty()) return;
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.startDetached();
}

// The line break that ends `line` (CR LF, LF or none).
QByteArray lineBreakOf(const QByteArray& line) {
  if (line.endsWith("\r\n")) return "\r\n";
  if (line.endsWith('\n')) return "\n";
  return {};
}

}  // namespace

LrcAssociation::LrcAssociation(QString dataHome, QString configHome, QString executable,
                               QString installedEntry)
    : m_dataHome(std::move(dataHome)),
      m_configHome(std::move(configHome)),
      m_executable(std::move(executable)),
      m_installedEntry(std::move(installedEntry)) {}

LrcAssociation LrcAssociation::forCurrentUser() {
  // The first data location is the user's own; the others are $XDG_DATA_DIRS.
  QStringList systemDataDirs =
      QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
  if (!systemDataDirs.isEmpty()) systemDataDirs.removeFirst();
  return LrcAssociation(
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
      QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
      QCoreApplication::applicationFilePath(),
      visibleDesktopEntry(installedDesktopEntry(QCoreApplication::applicationDirPath()),
                          systemDataDirs));
}

QString LrcAssociation::desktopFilePath() const {
  return m_dataHome + QStringLiteral("/applications/") + QLatin1String(kDesktopFileName);
}

QString LrcAssociation::mimePackagePath() const {
  return m_dataHome + QStringLiteral("/mime/packages/") + QLatin1String(kMimePackageName);
}

QString LrcAssociation::mimeAppsListPath() const {
  return m_configHome + QStringLiteral("/mimeapps.list");
}

QString LrcAssociation::execLine(const QString& executable) {
  // Desktop entries quote an argument holding reserved characters and escape the quote, the
  // backquote, the dollar and the backslash inside the quotes; the value as a whole escapes
  // each backslash once more, and a literal % is doubled.
  static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
  bool needsQuotes = false;
  for (const QChar c : executable) needsQuotes = needsQuotes || reserved.contains(c);
  QString program;
  for (const QChar c : executable) {
    if (c == QLatin1Char('%')) {
      program += QStringLiteral("%%");
    } else if (needsQuotes && c == QLatin1Char('\\')) {
      program += QStringLiteral("\\\\\\\\");
    } else if (needsQuotes &&
               (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$'))) {
      program += QStringLiteral("\\\\") + c;
    } else {
      program += c;
    }
  }
  if (needsQuotes) program = QLatin1Char('"') + program + QLatin1Char('"');
  return program + QStringLiteral(" %f");
}

QByteArray LrcAssociation::withDefaultApplication(const QByteArray& existing) {
  const QByteArray desktopFile(kDesktopFileName);
  const QByteArray entry = kMimeType + '=' + desktopFile;
  // Lines with their own line breaks, so that joining them gives back every byte.
  QList<QByteArray> lines;
  for (qsizetype start = 0; start < existing.size();) {
    const qsizetype end = existing.indexOf('\n', start);
    const qsizetype next = end < 0 ? existing.size() : end + 1;
    lines.push_back(existing.mid(start, next - start));
    start = next;
  }
  qsizetype section = -1;
  for (qsizetype i = 0; i < lines.size() && section < 0; ++i) {
    if (lines[i].trimmed() == kDefaultSection) section = i;
  }
  if (section < 0) {
    QByteArray text = existing;
    if (!text.isEmpty() && !text.endsWith('\n')) text += '\n';
    return text + kDefaultSection + '\n' + entry + '\n';
  }
  for (qsizetype i = section + 1; i < lines.size() && !lines[i].trimmed().startsWith('['); ++i) {
    const qsizetype equals = lines[i].indexOf('=');
    if (equals < 0 || lines[i].left(equals).trimmed() != kMimeType) continue;
    if (lines[i].mid(equals + 1).trimmed() == desktopFile) return existing;
    lines[i] = entry + lineBreakOf(lines[i]);
    return lines.join();
  }
  QByteArray lineBreak = lineBreakOf(lines[section]);
  if (lineBreak.isEmpty()) {
    lineBreak = "\n";
    lines[section] += lineBreak;
  }
  lines.insert(section + 1, entry + lineBreak);
  return lines.join();
}

QStringList LrcAssociation::registerAssociation(bool refreshCaches) const {
  if (m_dataHome.isEmpty() || m_configHome.isEmpty()) return {};
  const QString mimeFolder = m_dataHome + QStringLiteral("/mime");
  const QString applications = m_dataHome + QStringLiteral("/applications");
  if (!m_installedEntry.isEmpty()) {
    // The default names the entry by its file name, which finds the installed one.
    writeDefaultApplication();
    QStringList due;
    if (QFile::exists(mimePackagePath()) && QFile::remove(mimePackagePath())) {
      due.push_back(QStringLiteral("update-mime-database"));
      if (refreshCaches) startIfInstalled(due.back(), {mimeFolder});
    }
    if (QFile::exists(desktopFilePath()) && QFile::remove(desktopFilePath())) {
      due.push_back(QStringLiteral("update-desktop-database"));
      if (refreshCaches) startIfInstalled(due.back(), {applications});
    }
    return due;
  }
  writeIfChanged(desktopFilePath(), QStringLiteral("[Desktop Entry]\n"
                                                   "Type=Application\n"
                                                   "Name=青禾歌词编辑器\n"
                                                   "Comment=LRC lyrics editor\n"
                                                   "Exec=%1\n"
                                                   "MimeType=text/x-lrc;\n"
                                                   "Terminal=false\n"
                                                   "Categories=AudioVideo;Audio;\n")
                                        .arg(execLine(m_executable))
                                        .toUtf8());
  writeIfChanged(mimePackagePath(),
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                 "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                 "  <mime-type type=\"text/x-lrc\">\n"
                 "    <comment>LRC lyrics</comment>\n"
                 "    <sub-class-of type=\"text/plain\"/>\n"
                 "    <glob pattern=\"*.lrc\"/>\n"
                 "  </mime-type>\n"
                 "</mime-info>\n");
  writeDefaultApplication();

  // A cache is refreshed when it is older than the file written above (or missing), so a
  // start that changed nothing starts no tool, and a tool installed later still catches up.
  QStringList due;
  if (outOfDate(mimeFolder + QStringLiteral("/mime.cache"), mimePackagePath())) {
    due.push_back(QStringLiteral("update-mime-database"));
    if (refreshCaches) startIfInstalled(due.back(), {mimeFolder});
  }
  if (outOfDate(applications + QStringLiteral("/mimeinfo.cache"), desktopFilePath())) {
    due.push_back(QStringLiteral("update-desktop-database"));
    if (refreshCaches) startIfInstalled(due.back(), {applications});
  }
  return due;
}

void LrcAssociation::writeDefaultApplication() const {
  // The user's list is handled as bytes: whatever it holds besides our line stays as it is. A
  // list that exists but cannot be read is left alone rather than replaced by our one line.
  QFile list(mimeAppsListPath());
  if (!list.exists() || list.open(QIODevice::ReadOnly)) {
    const QByteArray existing = list.isOpen() ? list.readAll() : QByteArray();
    list.close();
    writeIfChanged(mimeAppsListPath(), withDefaultApplication(existing));
  }
}

}  // namespace app
