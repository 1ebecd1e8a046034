#pragma once

#include <QObject>
#include <QPointer>

#include "app/adapters/qt_preview_box.h"
#include "app/adapters/qt_signature_panel.h"
#include "app/editor_state.h"
#include "app/services.h"
#include "lyrics/line_commands.h"
#include "lyrics/lyrics_preview.h"
#include "lyrics/signature.h"
#include "lyrics/tag_commands.h"
#include "lyrics/tag_corrections.h"
#include "shell/command_registry.h"

class QPlainTextEdit;

namespace app {

class MainWindow;

// Connects the main window's menus, toolbar buttons and controls to the tag and line
// commands, the personal signature and the preview box. Its owner destroys it before the
// window; should a watched control go first all the same, the bindings let go of it.
class LyricsBindings : public QObject {
  Q_OBJECT

 public:
  // Binds to `window` and registers its commands in `registry`; the signature file lives in the
  // program directory of `services`.
  LyricsBindings(MainWindow& window, EditorState& state, const Services& services,
                 shell::CommandRegistry& registry);
  ~LyricsBindings() override;

  // At close: text typed into the open preview box goes into the lines, so that the recovery
  // file keeps it.
  void keepPreviewEditsAtClose() { m_preview.takeBackEditsAtClose(); }
  // The open preview box's text while the user has changed it and not yet taken it back.
  std::optional<std::string> previewTypedText() const { return m_preview.typedText(); }

 signals:
  // The preview box's text changed: typed, or filled anew as it opens.
  void previewTextChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Registers the tag, line and signature commands, the two double-click modes with their
  // check marks and 预览/修改歌词.
  void registerCommands(shell::CommandRegistry& registry);
  void bindControls();
  // 整体平移时间标签...: asks for the seconds and the lines in the modal dialog 窗口_整体平移 and
  // moves their tags on 确定.
  void shiftTimeTags();

  MainWindow& m_window;
  EditorState& m_state;
  // The controls whose events the bindings filter. The filter only compares against them and
  // reads a control only for the events it handles, which never come while one is destroyed.
  QPointer<QWidget> m_lyricsViewport;
  QPointer<QPlainTextEdit> m_previewBox;
  QPointer<QWidget> m_previewViewport;
  QtPreviewBox m_previewView;
  QtSignaturePanel m_signaturePanel;
  lyrics::TagCommands m_tags;
  lyrics::TagCorrections m_corrections;
  lyrics::LineCommands m_lines;
  lyrics::Signature m_signature;
  lyrics::LyricsPreview m_preview;
};

}  // namespace app
