#pragma once

#include <optional>
#include <string>
#include <vector>

#include "lyrics/lyrics_list.h"
#include "lyrics/settings_store.h"
#include "lyrics/signature_panel_view.h"
#include "lyrics/time_tag_source.h"
#include "platform/prompter.h"

namespace lyrics {

// The personal signature: kept in "GEXINGQIANMING.ini" beside the program, edited in a panel
// that slides into the window, and inserted into the lyrics as a time-tagged line.
class Signature {
 public:
  // Panel positions.
  static constexpr int kShownLeft = 120;
  static constexpr int kShownTop = 180;
  static constexpr int kParkedLeft = 1100;
  static constexpr int kParkedTop = 150;
  // Size of the read buffer, the terminating zero included.
  static constexpr std::size_t kReadBufferBytes = 10240;

  // `programDirectory` is the folder holding the signature file (GBK bytes); `timeTags` gives
  // the tag of the moment a signature is inserted; `prompter` tells the user when the file
  // cannot be written.
  Signature(SignaturePanelView& panel, LyricsList& list, TimeTagSource& timeTags,
            platform::Prompter& prompter, std::string programDirectory);

  // Shows the panel with the stored signature (or the panel's default text).
  void setSignature();
  // Stores the panel's text and parks the panel; an empty text is refused silently, and a
  // file that cannot be written is reported with the panel left open, the text in it.
  void confirmSignature();
  // Parks the panel without storing anything.
  void closeSignaturePanel();
  // Inserts the tagged signature before the selected line, which stays selected.
  void addSignature();
  // Appends the tagged signature at the end and selects it.
  void appendSignature();

  // Name of the signature file in the program directory.
  static const char* fileName();
  // Full path of the signature file.
  const std::string& filePath() const { return m_settings.filePath(); }
  // The stored value; nothing when the file does not exist.
  std::optional<std::string> storedValue() const;

 private:
  std::vector<std::string> signaturePieces() const;

  SignaturePanelView& m_panel;
  LyricsList& m_list;
  TimeTagSource& m_timeTags;
  platform::Prompter& m_prompter;
  SettingsStore m_settings;
};

// `text` as one INI line: every CR LF, lone CR and lone LF becomes one space.
std::string singleLine(const std::string& text);

}  // namespace lyrics
