#pragma once

#include <QString>

namespace app {

// Claims the .lrc file type for the editor, the freedesktop way: a desktop entry that opens
// files with the editor, a MIME type text/x-lrc for "*.lrc", and the user's default
// application for it in mimeapps.list. Written at every start; every failure is silent.
class LrcAssociation {
 public:
  // File names of the desktop entry and of the MIME package.
  static constexpr const char* kDesktopFileName = "qinghe-lrc-editor.desktop";
  static constexpr const char* kMimePackageName = "qinghe-lrc-editor.xml";

  // Writes under `dataHome` and `configHome` (the XDG roots) for the program `executable`.
  LrcAssociation(QString dataHome, QString configHome, QString executable);
  // The association for the running program under $XDG_DATA_HOME and $XDG_CONFIG_HOME.
  static LrcAssociation forCurrentUser();

  // Writes the three files; then refreshes the desktop caches when their tools are installed.
  void registerAssociation(bool refreshCaches = true) const;

  // Path of the desktop entry, the MIME package and mimeapps.list.
  QString desktopFilePath() const;
  QString mimePackagePath() const;
  QString mimeAppsListPath() const;

  // The Exec= value for `executable`, quoted as desktop entries require.
  static QString execLine(const QString& executable);
  // `existing` mimeapps.list text with text/x-lrc set to the editor; other lines are kept.
  static QString withDefaultApplication(const QString& existing);

 private:
  QString m_dataHome;
  QString m_configHome;
  QString m_executable;
};

}  // namespace app
