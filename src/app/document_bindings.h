#pragma once

#include <QObject>
#include <cstddef>
#include <string>
#include <vector>

#include "app/background_lyrics_reader.h"
#include "app/lyrics_list_model.h"
#include "lyrics/header_fields.h"
#include "lyrics/lyrics_import.h"
#include "lyrics/lyrics_list.h"
#include "lyrics/status_bar.h"
#include "platform/dialogs.h"
#include "platform/prompter.h"
#include "shell/command_registry.h"

namespace app {

class MainWindow;

// Shows the document in its controls and brings lyrics into it: the lyrics list with its model,
// the four header edit boxes, the six status-bar parts, and the lyrics import of 打开歌词文件
// (menu and pop-up), the drop on the list and the command line. Its owner destroys it before
// the window.
class DocumentBindings : public QObject {
  Q_OBJECT

 public:
  // The document's models, owned by the caller and outliving the bindings.
  struct Models {
    lyrics::LyricsList& list;
    lyrics::HeaderFields& headers;
    lyrics::StatusBar& status;
  };

  // Binds `models` to `window` and registers OpenLyricsFile in `registry`.
  DocumentBindings(MainWindow& window, Models models, platform::Prompter& prompter,
                   platform::Dialogs& dialogs, shell::CommandRegistry& registry);
  ~DocumentBindings() override;

  // Start-up: fills the lyrics list from the file named by the command-line arguments, given as
  // the bytes the shell passed.
  void loadCommandLineFile(const std::vector<std::string>& arguments);
  // The lyrics list's model shown in the list view.
  LyricsListModel& listModel() { return m_listModel; }
  // Reads the files of the dialog and of drops, large ones on a worker thread.
  BackgroundLyricsReader& reader() { return m_reader; }

 private:
  void bindStatusBar();
  void bindHeaderFields();

  MainWindow& m_window;
  Models m_models;
  // Goes after the importer it hands files to, calling off a read still running.
  BackgroundLyricsReader m_reader;
  lyrics::LyricsImporter m_importer;
  LyricsListModel m_listModel;
  std::size_t m_headerListener = 0;
  bool m_updatingHeaders = false;
};

}  // namespace app
