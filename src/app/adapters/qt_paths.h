#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <string>
#include <string_view>

// Paths between Qt and the document's GB18030 text. Each goes through the file system's bytes
// and platform::gbkPath / platform::nativePath, the one conversion every path of the editor uses.
namespace app {

// The document form of the file system bytes `nativePath` (command-line arguments, drops).
std::string toGbkPath(const QByteArray& nativePath);

// The document form of a path Qt names (dialogs, standard folders).
std::string toGbkPath(const QString& path);

// The path for Qt's own file functions. Qt holds file names as text, so bytes that are not
// UTF-8 come out as U+FFFD here; where the bytes matter, use localFileUrl.
QString fromGbkPath(std::string_view gbkPath);

// A file: URL of exactly the file system bytes of a document path.
QUrl localFileUrl(std::string_view gbkPath);

// The file system bytes a local file: URL names, undecodable bytes included.
QByteArray nativePathOf(const QUrl& url);

}  // namespace app
