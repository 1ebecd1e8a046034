#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace app {

// Claims the .lrc file type for the editor, the freedesktop way: a desktop entry that opens
// files with the editor, a MIME type text/x-lrc for "*.lrc", and the user's default
// application for it in mimeapps.list. Checked at every start, but a file is only written, and
// the desktop's caches only refreshed, when something differs; every failure is silent. An
// installed editor whose own desktop entry and MIME type the desktop already sees writes no
// copies of them: a per-user entry of the same name would hide the installed one, and would
// still name a program that has since moved or been removed.
class LrcAssociation {
 public:
  // File names of the desktop entry and of the MIME package.
  static constexpr const char* kDesktopFileName = "qinghe-lrc-editor.desktop";
  static constexpr const char* kMimePackageName = "qinghe-lrc-editor.xml";

  // Writes under `dataHome` and `configHome` (the XDG roots) for the program `executable`;
  // `installedEntry` is the desktop entry installed with it that the desktop sees, if any.
  LrcAssociation(QString dataHome, QString configHome, QString executable,
                 QString installedEntry = {});
  // The association for the running program under $XDG_DATA_HOME and $XDG_CONFIG_HOME.
  static LrcAssociation forCurrentUser();

  // Writes whichever of the three files differs from what it should be; then, when
  // `refreshCaches`, starts the cache tool of each cache that is out of date and installed.
  // With an installed entry only the default in mimeapps.list is written, and per-user copies
  // of the entry and the MIME type left by an earlier start are removed (their caches are then
  // due). Returns the cache tools that were due (update-mime-database, update-desktop-database).
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
  // Sets the editor as the default application for text/x-lrc in mimeapps.list.
  void writeDefaultApplication() const;

  QString m_dataHome;
  QString m_configHome;
  QString m_executable;
  QString m_installedEntry;
};

}  // namespace app
