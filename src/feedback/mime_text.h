#pragma once

#include <string>
#include <string_view>

namespace feedback {

// Base64 of `bytes` (RFC 4648 alphabet, padded), as one line.
std::string base64(std::string_view bytes);

// Base64 of `bytes` broken into lines of 76 characters, each ended by CR LF, for a MIME body.
std::string base64Lines(std::string_view bytes);

// A header value as MIME encoded-words "=?UTF-8?B?...?=" for UTF-8 text. Each word stays within
// the 75-character limit and holds whole characters; words are joined by CR LF and a space, so
// the result may follow "Subject: " directly.
std::string encodedWords(std::string_view utf8);

// The text with every line break (CR LF, lone LF or lone CR) written as CR LF, the canonical
// form of a text/plain body.
std::string crlfLineBreaks(std::string_view text);

}  // namespace feedback
