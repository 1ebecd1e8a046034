#include "app/install_layout.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <filesystem>

#include "app/build_config.h"
#include "app/program_directory.h"
#include "app/xwayland_choice.h"
#include "support/temp_dir.h"

TEST(InstallLayoutTest, OnlyAnInstallMakesTheEditorInstalledAndKeepItsFilesPerUser) {
  testsupport::TempDir root;
  const QString base = QString::fromStdString(root.path().string());
  const QString bin = base + QStringLiteral("/prefix/bin");
  QDir().mkpath(bin);
  // A writable folder without an installed entry is a portable build tree.
  EXPECT_EQ(app::installedDesktopEntry(bin), QString());
  EXPECT_EQ(app::programDirectory(bin, base + QStringLiteral("/data")), bin);

  // The desktop entry the editor writes for itself lies beside a copy in ~/.local/bin: the copy
  // stays portable.
  std::filesystem::create_directories(root.path() / "prefix/share/applications");
  root.write("prefix/share/applications/qinghe-lrc-editor.desktop", "[Desktop Entry]\n");
  EXPECT_FALSE(app::isInstalledEditor(bin));
  EXPECT_EQ(app::installedDesktopEntry(bin), QString());
  EXPECT_EQ(app::programDirectory(bin, base + QStringLiteral("/data")), bin);

  // The metainfo file only an install puts there.
  std::filesystem::create_directories(root.path() / "prefix/share/metainfo");
  root.write(
      "prefix/share/metainfo/" + std::string(app::build_config::kAppStreamId) + ".metainfo.xml",
      "<component/>\n");
  const QString entry =
      base + QStringLiteral("/prefix/share/applications/qinghe-lrc-editor.desktop");
  EXPECT_TRUE(app::isInstalledEditor(bin));
  EXPECT_EQ(app::installedDesktopEntry(bin), entry);
  EXPECT_EQ(app::installedDesktopEntry(QString()), QString());
  // Installed, the editor keeps its files in the user's data folder even where it could write
  // beside itself (as root, or in a prefix of the user's own).
  EXPECT_EQ(app::programDirectory(bin, base + QStringLiteral("/data")),
            base + QStringLiteral("/data/qinghe-lrc-editor"));
  EXPECT_TRUE(QDir(base + QStringLiteral("/data/qinghe-lrc-editor")).exists());

  // The desktop sees the entry only when its share folder is one of $XDG_DATA_DIRS, however
  // that folder is spelled.
  EXPECT_EQ(app::visibleDesktopEntry(entry, {QStringLiteral("/usr/share")}), QString());
  EXPECT_EQ(app::visibleDesktopEntry(entry, {QStringLiteral("/usr/share"),
                                             base + QStringLiteral("/prefix/bin/../share/")}),
            entry);
  std::filesystem::create_directory_symlink(root.path() / "prefix/share", root.path() / "link");
  EXPECT_EQ(app::visibleDesktopEntry(entry, {base + QStringLiteral("/link")}), entry);
  EXPECT_EQ(app::visibleDesktopEntry(QString(), {base + QStringLiteral("/link")}), QString());
}

TEST(InstallLayoutTest, AWaylandSessionWithAnXDisplayRunsThroughXWaylandUnlessTheUserChose) {
  struct Case {
    const char* wayland;
    const char* display;
    const char* platform;
    bool xwayland;
  };
  const Case cases[] = {
      {"wayland-0", ":0", "", true},
      {"wayland-0", ":0", "wayland", false},
      {"wayland-0", ":0", "offscreen", false},
      {"wayland-0", "", "", false},
      {"", ":0", "", false},
      {"", "", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.wayland) + " | " + c.display + " | " + c.platform);
    EXPECT_EQ(app::shouldUseXWayland(c.wayland, c.display, c.platform), c.xwayland);
  }
}
