#pragma once

#include <QString>
#include <string>
#include <string_view>

// Conversions between the document's GB18030/GBK bytes and Qt's QString, used wherever a widget
// shows or edits a text of the pure subsystems.
namespace app {

// Decodes GB18030 bytes; a malformed byte becomes U+FFFD instead of being held back.
QString toQString(std::string_view gbk);

// Encodes a QString as GB18030 bytes; every Unicode character has a GB18030 form.
std::string toGbk(const QString& text);

}  // namespace app
