#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>
#include <filesystem>

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
  EXPECT_EQ(
      app::LrcAssociation::withDefaultApplication("[Removed Associations]\nimage/png=x.desktop"),
      "[Removed Associations]\nimage/png=x.desktop\n"
      "[Default Applications]\ntext/x-lrc=qinghe-lrc-editor.desktop\n");
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

TEST(LrcAssociationTest, TheUsersListKeepsEveryByteAndIsOnlyChangedWhereItMust) {
  struct Case {
    const char* what;
    QByteArray before;
    QByteArray after;
  };
  const QByteArray ours = "text/x-lrc=qinghe-lrc-editor.desktop";
  const Case cases[] = {
      {"bytes that are not UTF-8 elsewhere",
       "[Added Associations]\ntext/plain=caf\xE9.desktop;\n[Default Applications]\n"
       "text/x-lrc=other.desktop\nimage/png=\xFF\xFE.desktop\n",
       "[Added Associations]\ntext/plain=caf\xE9.desktop;\n[Default Applications]\n" + ours +
           "\nimage/png=\xFF\xFE.desktop\n"},
      {"already ours, in the user's spelling",
       "[Default Applications]\r\ntext/x-lrc = qinghe-lrc-editor.desktop \r\n# \x80\r\n",
       "[Default Applications]\r\ntext/x-lrc = qinghe-lrc-editor.desktop \r\n# \x80\r\n"},
      {"CR LF lines", "[Default Applications]\r\ntext/x-lrc=other.desktop\r\nx=y\r\n",
       "[Default Applications]\r\n" + ours + "\r\nx=y\r\n"},
      {"key only in another section",
       "[Added Associations]\ntext/x-lrc=a.desktop\n[Default Applications]\nx=y",
       "[Added Associations]\ntext/x-lrc=a.desktop\n[Default Applications]\n" + ours + "\nx=y"},
      {"section header at the very end", "[Default Applications]",
       "[Default Applications]\n" + ours + "\n"},
      {"no section, no final line break", "[Added Associations]\nx=\xC0",
       "[Added Associations]\nx=\xC0\n[Default Applications]\n" + ours + "\n"},
      {"empty list", "", "[Default Applications]\n" + ours + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(app::LrcAssociation::withDefaultApplication(c.before), c.after);
    EXPECT_EQ(app::LrcAssociation::withDefaultApplication(c.after), c.after);
  }

  // On disk: the user's bytes come back exactly, with only our line changed.
  testsupport::TempDir root;
  const QString base = QString::fromStdString(root.path().string());
  root.write("mimeapps.list", cases[0].before.toStdString());
  app::LrcAssociation(base + QStringLiteral("/data"), base, QStringLiteral("/usr/bin/editor"))
      .registerAssociation(false);
  EXPECT_EQ(root.read("mimeapps.list"), cases[0].after.toStdString());
}

TEST(LrcAssociationTest, AStartThatChangesNothingWritesNothingAndRefreshesNoCache) {
  testsupport::TempDir root;
  const QString base = QString::fromStdString(root.path().string());
  const std::filesystem::path data = root.path() / "data";
  // Cache tools that build their cache the way the real ones do: a new file in the folder.
  const QString tools = base + QStringLiteral("/bin");
  QDir().mkpath(tools);
  root.write("bin/update-mime-database", "#!/bin/sh\necho built > \"$1/mime.cache\"\n");
  root.write("bin/update-desktop-database", "#!/bin/sh\necho built > \"$1/mimeinfo.cache\"\n");
  for (const char* tool : {"bin/update-mime-database", "bin/update-desktop-database"}) {
    std::filesystem::permissions(root.path() / tool, std::filesystem::perms::owner_all);
  }
  struct ScopedPath {
    QByteArray old = qgetenv("PATH");
    ~ScopedPath() { qputenv("PATH", old); }
  } path;
  qputenv("PATH", tools.toLocal8Bit() + ':' + path.old);
  const app::LrcAssociation association(base + QStringLiteral("/data"), base,
                                        QStringLiteral("/usr/bin/editor"));

  const QStringList both = {QStringLiteral("update-mime-database"),
                            QStringLiteral("update-desktop-database")};
  EXPECT_EQ(association.registerAssociation(true), both);
  const bool built = QTest::qWaitFor(
      [&] {
        // Written in full, not merely created: the tools run on their own.
        std::error_code missing;
        return std::filesystem::file_size(data / "mime/mime.cache", missing) == 6 &&
               std::filesystem::file_size(data / "applications/mimeinfo.cache", missing) == 6;
      },
      5000);
  ASSERT_TRUE(built) << "waited 5 s for the two cache tools to build their caches";

  // The second start finds everything in place: no file is replaced (a replaced file is a new
  // inode), no tool started.
  const auto identity = [&](const char* file) {
    struct stat info {};
    ::stat((root.path() / file).c_str(), &info);
    return std::make_pair(info.st_ino, info.st_mtim.tv_nsec + info.st_mtim.tv_sec * 1000000000L);
  };
  const char* files[] = {"mimeapps.list", "data/applications/qinghe-lrc-editor.desktop",
                         "data/mime/packages/qinghe-lrc-editor.xml"};
  std::vector<decltype(identity(""))> before;
  for (const char* file : files) before.push_back(identity(file));
  EXPECT_EQ(association.registerAssociation(true), QStringList());
  for (std::size_t i = 0; i < std::size(files); ++i) EXPECT_EQ(identity(files[i]), before[i]);

  // The program moved: only its desktop entry and that entry's cache are due again. The files
  // are dated back as if written at an earlier start, the caches after them.
  const auto ago = [](int hours) {
    return std::filesystem::file_time_type::clock::now() - std::chrono::hours(hours);
  };
  for (const char* file : files) std::filesystem::last_write_time(root.path() / file, ago(2));
  std::filesystem::last_write_time(data / "mime/mime.cache", ago(1));
  std::filesystem::last_write_time(data / "applications/mimeinfo.cache", ago(1));
  before[0] = identity(files[0]);
  const app::LrcAssociation moved(base + QStringLiteral("/data"), base,
                                  QStringLiteral("/opt/editor"));
  EXPECT_EQ(moved.registerAssociation(false),
            QStringList{QStringLiteral("update-desktop-database")});
  EXPECT_EQ(identity(files[0]), before[0]);
}

TEST(LrcAssociationTest, AnInstalledEditorLeavesItsEntryToTheInstalledOneAndRemovesStaleCopies) {
  testsupport::TempDir root;
  const QString base = QString::fromStdString(root.path().string());
  const QString installed = QStringLiteral("/usr/share/applications/qinghe-lrc-editor.desktop");
  // Copies an earlier start of a build tree left behind; the entry names a program now gone.
  std::filesystem::create_directories(root.path() / "data/applications");
  std::filesystem::create_directories(root.path() / "data/mime/packages");
  root.write("data/applications/qinghe-lrc-editor.desktop",
             "[Desktop Entry]\nExec=/gone/qinghe-lrc-editor %f\n");
  root.write("data/mime/packages/qinghe-lrc-editor.xml", "<mime-info/>\n");
  root.write("data/applications/other.desktop", "[Desktop Entry]\n");
  const app::LrcAssociation association(base + QStringLiteral("/data"), base,
                                        QStringLiteral("/usr/bin/qinghe-lrc-editor"), installed);

  EXPECT_EQ(association.registerAssociation(false),
            (QStringList{QStringLiteral("update-mime-database"),
                         QStringLiteral("update-desktop-database")}));
  EXPECT_FALSE(QFile::exists(association.desktopFilePath()));
  EXPECT_FALSE(QFile::exists(association.mimePackagePath()));
  EXPECT_EQ(root.read("data/applications/other.desktop"), "[Desktop Entry]\n");
  EXPECT_EQ(readAll(association.mimeAppsListPath()),
            QStringLiteral("[Default Applications]\ntext/x-lrc=qinghe-lrc-editor.desktop\n"));
  // Nothing left to remove: no cache is due again.
  EXPECT_EQ(association.registerAssociation(false), QStringList());
}

TEST(LrcAssociationTest, ThePerUserMimeTypeIsTheOneThatIsInstalled) {
  testsupport::TempDir root;
  const QString base = QString::fromStdString(root.path().string());
  const app::LrcAssociation association(base, base, QStringLiteral("/bin/ed"));
  association.registerAssociation(false);
  QFile installed(QStringLiteral(LRC_TEST_DATA_DIR "/../../packaging/qinghe-lrc-editor.xml"));
  ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
  EXPECT_EQ(readAll(association.mimePackagePath()), QString::fromUtf8(installed.readAll()));
}
