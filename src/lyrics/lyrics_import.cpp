#include "lyrics/lyrics_import.h"

#include "lyrics/status_texts.h"
#include "lyrics/text_rules.h"
#include "platform/file_io.h"
#include "platform/native_path.h"

namespace lyrics {

LyricsImporter::LyricsImporter(LyricsList& list, StatusBar& status, platform::Prompter& prompter,
                               platform::Dialogs& dialogs, LyricsFileReader* reader)
    : m_list(list),
      m_status(status),
      m_prompter(prompter),
      m_dialogs(dialogs),
      m_reader(reader ? *reader : m_directReader) {}

void LyricsImporter::importLyricsText(std::string_view text) {
  importLyricsText(LyricsText::cut(std::string(text)));
}

void LyricsImporter::importLyricsText(LyricsText text) {
  // The count is of the document's bytes: for a UTF-8 file, those of its GB18030 form.
  const std::size_t bytes = text.bytes().size();
  m_list.replaceAll(std::move(text));
  using status_texts::Colon;
  m_status.setText(StatusBar::Characters, status_texts::label(StatusBar::Characters, Colon::Ascii) +
                                              formatReal(static_cast<double>(bytes) / 2.0));
  m_status.setText(StatusBar::Lines, status_texts::label(StatusBar::Lines, Colon::Ascii) +
                                         std::to_string(m_list.count()));
  m_list.setSelection(0);
}

void LyricsImporter::openLyricsFile() {
  const auto chosen =
      m_dialogs.openFile("tolva_打开歌词文件", "文本格式(*.txt)|*.txt|歌词文件(*.lrc)|*.lrc",
                         m_dialogs.desktopDirectory());
  if (!chosen || chosen->empty()) return;
  m_reader.read(*chosen, [this](LyricsFile file) {
    if (file.status == platform::ReadStatus::TooLarge) {
      reportTooLarge();
      return;
    }
    // A missing or unreadable file gives no text either, and changes nothing.
    if (file.text.bytes().empty()) return;
    importLyricsText(std::move(file.text));
  });
}

void LyricsImporter::dropLyricsFile(const std::string& path) {
  // The type is checked on the name before anything is read, so dropping a video or an
  // archive is refused at once.
  const std::string ending = asciiLower(lastBytes(path, 3));
  if (ending != "txt" && ending != "lrc") {
    m_prompter.inform("歌词文件不正确，一般为：*.txt *.lrc", "tolva_错误提示",
                      platform::MessageIcon::Warning);
    return;
  }
  m_reader.read(path, [this](LyricsFile file) {
    if (file.status == platform::ReadStatus::TooLarge) {
      reportTooLarge();
      return;
    }
    // An empty file empties the list, but a failed read (a folder, a file gone or locked) must
    // not wipe the unsaved lines and pass for an empty file.
    if (file.status != platform::ReadStatus::Ok) {
      m_prompter.inform("歌词文件无法读取，没有导入。", "tolva_错误提示",
                        platform::MessageIcon::Warning);
      return;
    }
    importLyricsText(std::move(file.text));
  });
}

void LyricsImporter::loadCommandLineFile(const std::vector<std::string>& arguments) {
  const std::string path = commandLinePath(arguments);
  if (path.empty()) return;
  m_list.appendText(loadLyricsFile(path, kMaxFileBytes).text);
}

void LyricsImporter::reportTooLarge() {
  m_prompter.inform("歌词文件太大（超过64MB），不是正常的歌词文件，没有导入。", "tolva_错误提示",
                    platform::MessageIcon::Warning);
}

std::string lyricsFileText(std::string bytes) {
  bytes.resize(textUntilZero(bytes).size());
  // A binary file's text ends within its first bytes; the rest of the file is not kept.
  if (bytes.capacity() > 2 * bytes.size() + 4096) bytes.shrink_to_fit();
  const std::string_view text = bytes;
  if (text.starts_with(kUtf8ByteOrderMark)) {
    return platform::gb18030FromUtf8(text.substr(kUtf8ByteOrderMark.size()));
  }
  // GBK text is seldom well-formed UTF-8 beyond a few characters, and plain ASCII is the same
  // bytes either way; anything else stays exactly as the file holds it.
  if (platform::isMultiByteUtf8(text)) return platform::gb18030FromUtf8(text);
  return bytes;
}

std::string commandLinePath(const std::vector<std::string>& arguments) {
  std::string path;
  for (const auto& argument : arguments) path += argument;
  return path;
}

}  // namespace lyrics
