#pragma once

#include <string>
#include <vector>

#include "files/saved_lyrics_record.h"
#include "lyrics/header_fields.h"
#include "lyrics/lyrics_list.h"

// The texts and names of the files the editor writes for the user (GBK bytes).
namespace files {

// The file save-as writes for the chosen name: ".lrc" appended unless the name already ends
// in ".lrc" (ASCII case ignored).
std::string saveAsTarget(const std::string& chosenPath);

// The LRC file beside an audio file: its path without the last 4 bytes, then ".lrc".
std::string besideAudioTarget(const std::string& audioPath);

// An LRC file with header tags: "[ti:" "[ar:" "[al:" "[by:" lines for the boxes that are not
// empty, in that order, then every line; each line ends as the document's form says (CR LF
// unless the document came from an LF file).
std::string lrcWithHeader(const lyrics::HeaderFields& header, const lyrics::LyricsList& lines);

// The lines alone, as save-as writes them: each ends as the document's form says.
std::string lrcBody(const lyrics::LyricsList& lines);

// The bytes of a lyrics file holding `text` (GB18030) in `encoding`: the text itself for GBK,
// its UTF-8 form for UTF-8, behind the byte-order mark when the file had one.
std::string inFileEncoding(std::string text, lyrics::FileForm::Encoding encoding);

// The text file a library record is exported as.
std::string exportText(const SavedLyricsRecord& record);

// Name of the export file for the random number `number`.
std::string exportFileName(int number);

}  // namespace files
