#pragma once

#include <QObject>
#include <cstddef>
#include <string>
#include <vector>

#include "app/adapters/background_lyrics_reader.h"
#include "app/editor_state.h"
#include "app/services.h"
#include "app/window/lyrics_list_model.h"
#include "lyrics/lyrics_import.h"
#include "shell/command_registry.h"

namespace app {

class MainWindow;

// Shows the document in its controls and brings lyrics into it: the lyrics list with its model,
// the four header edit boxes, and the lyrics import of 打开歌词文件
// (menu and pop-up), the drop on the list and the command line. Its owner destroys it before
// the window.
class DocumentBindings : public QObject {
  Q_OBJECT

 public:
  // Binds the document of `state` to `window` and registers OpenLyricsFile in `registry`.
  DocumentBindings(MainWindow& window, EditorState& state, const Services& services,
                   shell::CommandRegistry& registry);
  ~DocumentBindings() override;

  // Start-up: fills the lyrics list from the file named by the command-line arguments, given as
  // the bytes the shell passed.
  void loadCommandLineFile(const std::vector<std::string>& arguments);
  // The lyrics list's model shown in the list view.
  LyricsListModel& listModel() { return m_listModel; }
  // Reads the files of the dialog and of drops, large ones on a worker thread.
  BackgroundLyricsReader& reader() { return m_reader; }

 private:
  void bindHeaderFields();

  MainWindow& m_window;
  EditorState& m_state;
  // Goes after the importer it hands files to, calling off a read still running.
  BackgroundLyricsReader m_reader;
  lyrics::LyricsImporter m_importer;
  LyricsListModel m_listModel;
  std::size_t m_headerListener = 0;
  bool m_updatingHeaders = false;
};

}  // namespace app
