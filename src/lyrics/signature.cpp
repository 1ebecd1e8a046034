#include "lyrics/signature.h"

#include "lyrics/text_rules.h"
#include "lyrics/write_failure_report.h"

namespace lyrics {

namespace {

constexpr const char* kFileName = "GEXINGQIANMING.ini";
constexpr const char* kSection = "GEXINGQIANMING";
constexpr const char* kKey = "PEIZHI";

// `text` cut to at most `limit` bytes without splitting a double-byte character.
std::string cutAtCharacter(const std::string& text, std::size_t limit) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t width = charWidthAt(text, end);
    if (end + width > limit) break;
    end += width;
  }
  return text.substr(0, end);
}

}  // namespace

const char* Signature::fileName() { return kFileName; }

Signature::Signature(SignaturePanelView& panel, LyricsList& list, TimeTagSource& timeTags,
                     platform::Prompter& prompter, std::string programDirectory)
    : m_panel(panel),
      m_list(list),
      m_timeTags(timeTags),
      m_prompter(prompter),
      m_settings(std::move(programDirectory), kFileName) {}

std::optional<std::string> Signature::storedValue() const {
  if (!m_settings.exists()) return std::nullopt;
  return cutAtCharacter(m_settings.value(kSection, kKey).value_or(""), kReadBufferBytes - 1);
}

void Signature::setSignature() {
  m_panel.move(kShownLeft, kShownTop);
  m_panel.focusEditBox();
  m_panel.setText(storedValue().value_or("青禾歌词编辑器，写歌词就这么简单~"));
}

void Signature::confirmSignature() {
  const std::string text = m_panel.text();
  if (text.empty()) return;
  // When the file cannot be written the panel stays open, so the typed text is not lost, and
  // the user learns why the panel did not close.
  platform::WriteStatus why = platform::WriteStatus::Ok;
  if (!m_settings.setValue(kSection, kKey, singleLine(text), &why)) {
    reportWriteFailure(m_prompter, filePath(), why);
    return;
  }
  m_panel.move(kParkedLeft, kParkedTop);
}

void Signature::closeSignaturePanel() { m_panel.move(kParkedLeft, kParkedTop); }

std::vector<std::string> Signature::signaturePieces() const {
  return splitLyricsText(storedValue().value_or("青禾程序集—LRC歌词编辑器   写歌词就这么简单"));
}

void Signature::addSignature() {
  // One tag for every piece: the moment of the command.
  const std::string tag = m_timeTags.currentTag();
  m_list.setSelection(m_list.selection() - 1);
  for (const auto& piece : signaturePieces()) {
    m_list.insertLine(m_list.selection() + 1, tag + piece);
  }
  // Two clamped steps: onto the signature, then onto the line that was selected before.
  m_list.setSelection(m_list.selection() + 1);
  m_list.setSelection(m_list.selection() + 1);
}

void Signature::appendSignature() {
  const std::string tag = m_timeTags.currentTag();
  for (const auto& piece : signaturePieces()) m_list.appendLine(tag + piece);
  m_list.setSelection(m_list.count());
}

std::string singleLine(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
    out += (c == '\r' || c == '\n') ? ' ' : c;
  }
  return out;
}

}  // namespace lyrics
