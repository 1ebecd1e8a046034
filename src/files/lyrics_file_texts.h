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
// empty, in that order, then every line followed by CR LF.
std::string lrcWithHeader(const lyrics::HeaderFields& header, const lyrics::LyricsList& lines);

// The text file a library record is exported as.
std::string exportText(const SavedLyricsRecord& record);

// Name of the export file for the random number `number`.
std::string exportFileName(int number);

}  // namespace files
