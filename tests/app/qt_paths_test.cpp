#include "app/adapters/qt_paths.h"

#include <gtest/gtest.h>

#include <QMimeData>

#include "app/adapters/file_drop.h"
#include "app/adapters/gbk.h"
#include "platform/native_path.h"

namespace {

QString character(char32_t c) { return QString::fromUcs4(&c, 1); }

}  // namespace

TEST(QtPathsTest, EveryCharacterRoundTripsAndShowsWhatItNames) {
  // Every character comes back from its document text, so no two names share one and no name
  // opens the file of another; and a path shows what it names, as the display's GB18030 and
  // the path conversion are one.
  int differences = 0;
  for (char32_t c = 1; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const QString text = character(c);
    const std::string gbk = app::toGbkPath(text);
    if ((gbk != app::toGbk(text) || platform::nativePath(gbk) != text.toUtf8().toStdString()) &&
        ++differences <= 5) {
      ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c);
    }
  }
  EXPECT_EQ(differences, 0);
  // The characters two converters used to disagree on, private use, four-byte forms.
  for (const char32_t c : {U'\uFE10', U'\u9FB4', U'\uE81E', U'\uE78D', U'\uE000', U'\u6674',
                           U'\U00020087', U'\U0001F600', U'\U0010FFFF'}) {
    const QString name = QStringLiteral("/歌/") + character(c) + QStringLiteral(".lrc");
    SCOPED_TRACE(name.toStdString());
    EXPECT_EQ(app::toQString(app::toGbkPath(name)), name);
    EXPECT_EQ(app::fromGbkPath(app::toGbkPath(name)), name);
    EXPECT_EQ(app::nativePathOf(app::localFileUrl(app::toGbkPath(name))), name.toUtf8());
  }
  // An undecodable byte shows as one replacement character and still names its file.
  const std::string latin1 = app::toGbkPath(QByteArray("/caf\xE9.lrc"));
  EXPECT_EQ(app::toQString(latin1), QStringLiteral("/caf\uFFFD.lrc"));
  EXPECT_EQ(app::nativePathOf(app::localFileUrl(latin1)), QByteArray("/caf\xE9.lrc"));
}

TEST(QtPathsTest, DropsAndUrlsKeepEveryByteOfTheName) {
  const QByteArray raw("/tmp/a b\xFF%41#?\xE6\x99\xB4.lrc");
  const QUrl url = app::localFileUrl(app::toGbkPath(raw));
  EXPECT_TRUE(url.isLocalFile());
  EXPECT_EQ(app::nativePathOf(url), raw);

  // A file manager sends the undecodable byte percent-encoded.
  QMimeData mime;
  mime.setUrls(
      {QUrl::fromEncoded("file:///m/%FF%E6%99%B4.lrc"), QUrl::fromEncoded("file://nas/s/x.lrc")});
  EXPECT_EQ(app::droppedPathText(&mime),
            app::toGbkPath(QByteArray("/m/\xFF\xE6\x99\xB4.lrc")) + "\r\n//nas/s/x.lrc\r\n");
}
