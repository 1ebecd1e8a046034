#include "files/lyrics_file_texts.h"

#include "lyrics/text_rules.h"

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
  std::string text;
  for (const auto& [field, tag] : tags) {
    const std::string& value = header.text(field);
    if (!value.empty()) text += tag + value + "]\r\n";
  }
  return text + lyrics::joinLyricsText(lines);
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
