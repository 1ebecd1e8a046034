#include "app/lrc_association.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace app {

namespace {

const QString kMimeType = QStringLiteral("text/x-lrc");

// Replaces `path` whole, so an interrupted start never leaves half a file behind.
void writeText(const QString& path, const QString& text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write(text.toUtf8());
  file.commit();
}

// Starts a cache tool without waiting for it; a missing tool is simply skipped.
void startIfInstalled(const QString& tool, const QStringList& arguments) {
  const QString program = QStandardPaths::findExecutable(tool);
  if (!program.isEmpty()) QProcess::startDetached(program, arguments);
}

}  // namespace

LrcAssociation::LrcAssociation(QString dataHome, QString configHome, QString executable)
    : m_dataHome(std::move(dataHome)),
      m_configHome(std::move(configHome)),
      m_executable(std::move(executable)) {}

LrcAssociation LrcAssociation::forCurrentUser() {
  return LrcAssociation(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
                        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                        QCoreApplication::applicationFilePath());
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
    } else if (needsQuotes && (c == QLatin1Char('"') || c == QLatin1Char('`') ||
                               c == QLatin1Char('$'))) {
      program += QStringLiteral("\\\\") + c;
    } else {
      program += c;
    }
  }
  if (needsQuotes) program = QLatin1Char('"') + program + QLatin1Char('"');
  return program + QStringLiteral(" %f");
}

QString LrcAssociation::withDefaultApplication(const QString& existing) {
  const QString entry = kMimeType + QLatin1Char('=') + QLatin1String(kDesktopFileName);
  QStringList lines = existing.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  qsizetype section = -1;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString trimmed = lines[i].trimmed();
    if (trimmed.startsWith(QLatin1Char('['))) {
      section = trimmed == QStringLiteral("[Default Applications]") ? i : -1;
      if (section >= 0) break;
    }
  }
  if (section < 0) {
    lines.push_back(QStringLiteral("[Default Applications]"));
    lines.push_back(entry);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
  }
  qsizetype i = section + 1;
  for (; i < lines.size() && !lines[i].trimmed().startsWith(QLatin1Char('[')); ++i) {
    const QString key = lines[i].section(QLatin1Char('='), 0, 0).trimmed();
    if (key == kMimeType) {
      lines[i] = entry;
      return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
  }
  lines.insert(section + 1, entry);
  return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void LrcAssociation::registerAssociation(bool refreshCaches) const {
  if (m_dataHome.isEmpty() || m_configHome.isEmpty()) return;
  writeText(desktopFilePath(),
            QStringLiteral("[Desktop Entry]\n"
                           "Type=Application\n"
                           "Name=青禾歌词编辑器\n"
                           "Comment=LRC lyrics editor\n"
                           "Exec=%1\n"
                           "MimeType=text/x-lrc;\n"
                           "Terminal=false\n"
                           "Categories=AudioVideo;Audio;\n")
                .arg(execLine(m_executable)));
  writeText(mimePackagePath(),
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<mime-info "
                           "xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                           "  <mime-type type=\"text/x-lrc\">\n"
                           "    <comment>LRC lyrics</comment>\n"
                           "    <sub-class-of type=\"text/plain\"/>\n"
                           "    <glob pattern=\"*.lrc\"/>\n"
                           "  </mime-type>\n"
                           "</mime-info>\n"));
  // A list that exists but cannot be read is left alone rather than replaced by our one line.
  QFile list(mimeAppsListPath());
  if (!list.exists() || list.open(QIODevice::ReadOnly)) {
    const QString existing = list.isOpen() ? QString::fromUtf8(list.readAll()) : QString();
    list.close();
    writeText(mimeAppsListPath(), withDefaultApplication(existing));
  }

  if (refreshCaches) {
    startIfInstalled(QStringLiteral("update-mime-database"), {m_dataHome + QStringLiteral("/mime")});
    startIfInstalled(QStringLiteral("update-desktop-database"),
                     {m_dataHome + QStringLiteral("/applications")});
  }
}

}  // namespace app
