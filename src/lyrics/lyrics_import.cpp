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
  importLyricsText(LyricsText::cutImported(std::string(text)));
}

void LyricsImporter::importLyricsText(LyricsText text, FileForm::Encoding encoding) {
  // The count is of the document's bytes: for a UTF-8 file, those of its GB18030 form.
  const std::size_t bytes = text.bytes().size();
  const FileForm form{encoding, text.lineEnd()};
  m_list.replaceAll(std::move(text));
  m_list.setFileForm(form);
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
    importLyricsText(std::move(file.text), file.encoding);
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
    importLyricsText(std::move(file.text), file.encoding);
  });
}

void LyricsImporter::loadCommandLineFile(const std::vector<std::string>& arguments) {
  const std::string path = commandLinePath(arguments);
  if (path.empty()) return;
  LyricsFile file = loadLyricsFile(path, kMaxFileBytes);
  // The list is empty at start-up, so the file gives the document its form.
  const FileForm form{file.encoding, file.text.lineEnd()};
  m_list.appendText(std::move(file.text));
  if (file.status == platform::ReadStatus::Ok) m_list.setFileForm(form);
}

void LyricsImporter::reportTooLarge() {
  m_prompter.inform("歌词文件太大（超过64MB），不是正常的歌词文件，没有导入。", "tolva_错误提示",
                    platform::MessageIcon::Warning);
}

FileForm::Encoding lyricsFileEncoding(const platform::Utf8Scan& scan) {
  // A mark before bytes that are no UTF-8 is no promise: converting would turn the bytes into
  // replacement characters and lose them, so such a file is read as any other. The mark is
  // well-formed UTF-8 itself, so it is scanned with the rest.
  if (scan.marked()) {
    return scan.wellFormed() ? FileForm::Encoding::Utf8WithMark : FileForm::Encoding::Gbk;
  }
  // GBK text is seldom well-formed UTF-8 beyond a few characters, and plain ASCII is the same
  // bytes either way.
  return scan.multiByteUtf8() ? FileForm::Encoding::Utf8 : FileForm::Encoding::Gbk;
}

FileForm::Encoding lyricsFileEncoding(std::string_view text) {
  platform::Utf8Scan scan;
  scan.add(text);
  return lyricsFileEncoding(scan);
}

std::string lyricsFileText(std::string bytes) {
  bytes.resize(textUntilZero(bytes).size());
  // A binary file's text ends within its first bytes; the rest of the file is not kept.
  if (bytes.capacity() > 2 * bytes.size() + 4096) bytes.shrink_to_fit();
  const std::string_view text = bytes;
  switch (lyricsFileEncoding(text)) {
    case FileForm::Encoding::Utf8WithMark:
      return platform::gb18030FromUtf8(text.substr(kUtf8ByteOrderMark.size()));
    case FileForm::Encoding::Utf8:
      return platform::gb18030FromUtf8(text);
    case FileForm::Encoding::Gbk:
      break;
  }
  return bytes;
}

std::string commandLinePath(const std::vector<std::string>& arguments) {
  std::string path;
  for (const auto& argument : arguments) path += argument;
  return path;
}

}  // namespace lyrics
