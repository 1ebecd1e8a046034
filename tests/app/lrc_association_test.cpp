#include <gtest/gtest.h>

#include <QFile>
#include <QString>

#include "app/lrc_association.h"
#include "support/temp_dir.h"

namespace {

QString readAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("<missing>");
  return QString::fromUtf8(file.readAll());
}

}  // namespace

TEST(LrcAssociationTest, WritesDesktopEntryMimeTypeAndDefaultIntoTheXdgTree) {
  testsupport::TempDir root;
  const QString base = QString::fromStdString(root.path().string());
  const app::LrcAssociation association(base + QStringLiteral("/data"),
                                        base + QStringLiteral("/config"),
                                        QStringLiteral("/opt/lrc/qinghe-lrc-editor"));
  association.registerAssociation(false);

  EXPECT_EQ(association.desktopFilePath(),
            base + QStringLiteral("/data/applications/qinghe-lrc-editor.desktop"));
  const QString desktop = readAll(association.desktopFilePath());
  EXPECT_TRUE(desktop.startsWith(QStringLiteral("[Desktop Entry]\n")));
  EXPECT_TRUE(desktop.contains(QStringLiteral("\nExec=/opt/lrc/qinghe-lrc-editor %f\n")));
  EXPECT_TRUE(desktop.contains(QStringLiteral("\nMimeType=text/x-lrc;\n")));
  EXPECT_TRUE(desktop.contains(QStringLiteral("\nType=Application\n")));

  const QString mime = readAll(base + QStringLiteral("/data/mime/packages/qinghe-lrc-editor.xml"));
  EXPECT_TRUE(mime.contains(QStringLiteral("<mime-type type=\"text/x-lrc\">")));
  EXPECT_TRUE(mime.contains(QStringLiteral("<glob pattern=\"*.lrc\"/>")));

  EXPECT_EQ(readAll(base + QStringLiteral("/config/mimeapps.list")),
            QStringLiteral("[Default Applications]\ntext/x-lrc=qinghe-lrc-editor.desktop\n"));

  // Every start writes the same files again, without piling up entries.
  association.registerAssociation(false);
  EXPECT_EQ(readAll(base + QStringLiteral("/config/mimeapps.list")),
            QStringLiteral("[Default Applications]\ntext/x-lrc=qinghe-lrc-editor.desktop\n"));
}

TEST(LrcAssociationTest, ExistingMimeAppsListKeepsItsOtherEntries) {
  testsupport::TempDir root;
  const QString base = QString::fromStdString(root.path().string());
  root.write("mimeapps.list",
             "[Added Associations]\n"
             "text/x-lrc=other.desktop;\n"
             "\n"
             "[Default Applications]\n"
             "audio/mpeg=vlc.desktop\n"
             "text/x-lrc = other.desktop\n"
             "text/plain=gedit.desktop\n");
  app::LrcAssociation(base + QStringLiteral("/data"), base, QStringLiteral("/usr/bin/editor"))
      .registerAssociation(false);
  EXPECT_EQ(readAll(base + QStringLiteral("/mimeapps.list")),
            QStringLiteral("[Added Associations]\n"
                           "text/x-lrc=other.desktop;\n"
                           "\n"
                           "[Default Applications]\n"
                           "audio/mpeg=vlc.desktop\n"
                           "text/x-lrc=qinghe-lrc-editor.desktop\n"
                           "text/plain=gedit.desktop\n"));

  // A list without the section gets it appended; the rest stays as it was.
  EXPECT_EQ(app::LrcAssociation::withDefaultApplication(
                QStringLiteral("[Removed Associations]\nimage/png=x.desktop")),
            QStringLiteral("[Removed Associations]\nimage/png=x.desktop\n"
                           "[Default Applications]\ntext/x-lrc=qinghe-lrc-editor.desktop\n"));
}

TEST(LrcAssociationTest, ExecLineQuotesPathsThatNeedIt) {
  EXPECT_EQ(app::LrcAssociation::execLine(QStringLiteral("/usr/bin/editor")),
            QStringLiteral("/usr/bin/editor %f"));
  EXPECT_EQ(app::LrcAssociation::execLine(QStringLiteral("/home/u/my apps/歌词 编辑")),
            QStringLiteral("\"/home/u/my apps/歌词 编辑\" %f"));
  EXPECT_EQ(app::LrcAssociation::execLine(QStringLiteral("/a b/$x\"q")),
            QStringLiteral("\"/a b/\\\\$x\\\\\"q\" %f"));
  EXPECT_EQ(app::LrcAssociation::execLine(QStringLiteral("/opt/100%/ed")),
            QStringLiteral("/opt/100%%/ed %f"));
}

TEST(LrcAssociationTest, UnwritableRootsFailSilently) {
  testsupport::TempDir root;
  // A file where the data folder should be: nothing can be created below it.
  const QString blocker = QString::fromStdString(root.write("data", "x"));
  const QString base = QString::fromStdString(root.path().string());
  app::LrcAssociation(blocker, base + QStringLiteral("/config"), QStringLiteral("/bin/ed"))
      .registerAssociation(false);
  EXPECT_EQ(root.read("data"), "x");
  EXPECT_TRUE(QFile::exists(base + QStringLiteral("/config/mimeapps.list")));
  app::LrcAssociation(QString(), QString(), QStringLiteral("/bin/ed")).registerAssociation(false);
}
