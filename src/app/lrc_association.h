#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace app {

// Claims the .lrc file type for the editor, the freedesktop way: a desktop entry that opens
// files with the editor, a MIME type text/x-lrc for "*.lrc", and the user's default
// application for it in mimeapps.list. Checked at every start, but a file is only written, and
// the desktop's caches only refreshed, when something differs; every failure is silent.
class LrcAssociation {
 public:
  // File names of the desktop entry and of the MIME package.
  static constexpr const char* kDesktopFileName = "qinghe-lrc-editor.desktop";
  static constexpr const char* kMimePackageName = "qinghe-lrc-editor.xml";

  // Writes under `dataHome` and `configHome` (the XDG roots) for the program `executable`.
  LrcAssociation(QString dataHome, QString configHome, QString executable);
  // The association for the running program under $XDG_DATA_HOME and $XDG_CONFIG_HOME.
  static LrcAssociation forCurrentUser();

  // Writes whichever of the three files differs from what it should be; then, when
  // `refreshCaches`, starts the cache tool of each cache that is out of date and installed.
  // Returns the cache tools that were due (update-mime-database, update-desktop-database).
  QStringList registerAssociation(bool refreshCaches = true) const;

  // Path of the desktop entry, the MIME package and mimeapps.list.
  QString desktopFilePath() const;
  QString mimePackagePath() const;
  QString mimeAppsListPath() const;

  // The Exec= value for `executable`, quoted as desktop entries require.
  static QString execLine(const QString& executable);
  // `existing` mimeapps.list bytes with text/x-lrc set to the editor. Every other byte is
  // kept, and a list that already names the editor comes back unchanged.
  static QByteArray withDefaultApplication(const QByteArray& existing);

 private:
  QString m_dataHome;
  QString m_configHome;
  QString m_executable;
};

}  // namespace app
