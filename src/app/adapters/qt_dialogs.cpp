#include "app/adapters/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

#include "app/adapters/gbk.h"
#include "app/adapters/qt_paths.h"

namespace app {

QString QtDialogs::qtFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& name = parts[i];
    // Patterns are separated by ";" in the editor's filters and by spaces in Qt's.
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    patterns = patterns.simplified();
    // A name that already ends in "(patterns)" is what Qt parses; repeating it would show twice.
    if (name.trimmed().endsWith(QLatin1Char(')')) && name.contains(QLatin1Char('('))) {
      entries.push_back(name.left(name.lastIndexOf(QLatin1Char('('))) + QLatin1Char('(') +
                        patterns + QLatin1Char(')'));
    } else {
      entries.push_back(name + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
  }
  return entries.join(QStringLiteral(";;"));
}

std::optional<std::string> QtDialogs::openFile(const std::string& title, const std::string& filter,
                                               const std::string& initialDirectory) {
  const QString chosen = QFileDialog::getOpenFileName(
      m_parent ? m_parent.data() : QApplication::activeWindow(), toQString(title),
      fromGbkPath(initialDirectory), qtFilter(toQString(filter)));
  if (chosen.isEmpty()) return std::nullopt;
  return toGbkPath(chosen);
}

std::optional<std::string> QtDialogs::saveFile(const std::string& title, const std::string& filter,
                                               const std::string& initialDirectory) {
  const QString chosen = QFileDialog::getSaveFileName(
      m_parent ? m_parent.data() : QApplication::activeWindow(), toQString(title),
      fromGbkPath(initialDirectory), qtFilter(toQString(filter)));
  if (chosen.isEmpty()) return std::nullopt;
  return toGbkPath(chosen);
}

std::string QtDialogs::desktopDirectory() {
  QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  if (desktop.isEmpty()) desktop = QDir::homePath();
  QDir().mkpath(desktop);
  if (!desktop.endsWith(QLatin1Char('/'))) desktop += QLatin1Char('/');
  return toGbkPath(desktop);
}

}  // namespace app
