#include "files/lyrics_file_texts.h"

#include "lyrics/text_rules.h"
#include "platform/native_path.h"
#include "platform/utf8_text.h"

namespace files {

std::string saveAsTarget(const std::string& chosenPath) {
  if (lyrics::asciiLower(lyrics::lastBytes(chosenPath, 4)) == ".lrc") return chosenPath;
  return chosenPath + ".lrc";
}

std::string besideAudioTarget(const std::string& audioPath) {
  const std::size_t keep = audioPath.size() > 4 ? audioPath.size() - 4 : 0;
  return audioPath.substr(0, keep) + ".lrc";
}

std::string lrcWithHeader(const lyrics::HeaderFields& header, const lyrics::LyricsList& lines) {
  using Field = lyrics::HeaderFields::Field;
  static const std::pair<Field, const char*> tags[] = {{Field::Song, "[ti:"},
                                                       {Field::Singer, "[ar:"},
                                                       {Field::Album, "[al:"},
                                                       {Field::Editor, "[by:"}};
  const std::string_view lineBreak = lines.fileForm().lineBreak();
  std::string text;
  for (const auto& [field, tag] : tags) {
    const std::string& value = header.text(field);
    if (!value.empty()) (text += tag + value + "]") += lineBreak;
  }
  return text + lyrics::joinLyricsText(lines, lineBreak);
}

std::string lrcBody(const lyrics::LyricsList& lines) {
  return lyrics::joinLyricsText(lines, lines.fileForm().lineBreak());
}

std::string inFileEncoding(std::string text, lyrics::FileForm::Encoding encoding) {
  using Encoding = lyrics::FileForm::Encoding;
  if (encoding == Encoding::Gbk) return text;
  // UTF-8 holds every character GB18030 does, so nothing of the document is lost; a byte that
  // is no GB18030 character at all (no edit makes one) is written as it is.
  std::string utf8 = platform::utf8FromGb18030(text);
  if (encoding == Encoding::Utf8WithMark) utf8.insert(0, "\xEF\xBB\xBF");
  return utf8;
}

std::string exportText(const SavedLyricsRecord& record) {
  std::string text = std::string(36, ' ') + "青禾歌词编辑器，写歌词就这么简单~\r\n歌曲：" +
                     record.song + "    歌手：" + record.singer + "\r\n专辑：" + record.album +
                     "    编辑人：" + record.editor + "\r\n歌曲路径：" + record.songPath +
                     "    保存时间：" + record.savedAt;
  if (record.lyrics.empty()) return text + "\r\n\r\n\r\n\r\n";
  return text + std::string(118, '=') + "\r\n" +
         lyrics::joinLyricsText(lyrics::splitLyricsText(record.lyrics));
}

std::string exportFileName(int number) {
  return "青禾歌词编辑器导出文本" + std::to_string(number) + ".txt";
}

}  // namespace files
