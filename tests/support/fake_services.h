#pragma once

#include <QString>
#include <QTest>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/adapters/qt_paths.h"
#include "app/editor_app.h"
#include "app/services.h"
#include "app/window/main_window.h"
#include "feedback/smtp_mail_sender.h"
#include "support/fake_audio_player.h"
#include "support/fake_master_volume.h"
#include "support/recording_clipboard.h"
#include "support/recording_prompter.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_font_chooser.h"
#include "support/temp_dir.h"

namespace testsupport {

// Stand-ins for every service of the editor, in a home folder of their own: the association
// is registered under it and the files kept beside the program go to <home>/program. A test
// may point `player` or `masterVolume` at real ones before the editor is made.
struct FakeServices {
  FakeServices() { std::filesystem::create_directory(home.path() / "program"); }

  app::Services services() {
    const QString root = QString::fromStdString(home.path().string());
    return app::Services{
        .prompter = prompter,
        .dialogs = dialogs,
        .fontChooser = fontChooser,
        .clipboard = clipboard,
        .player = *player,
        .masterVolume = *masterVolume,
        .mailSender = [] { return std::make_unique<feedback::SmtpMailSender>(); },
        .association = app::LrcAssociation(root + "/data", root + "/config", root + "/editor"),
        .refreshDesktopCaches = false,
        .programDirectory = app::toGbkPath(QString::fromStdString(home.file("program"))),
        .recoveryFolder = app::toGbkPath(QString::fromStdString(home.file("data/qinghe-lrc-editor"))),
        .preparePlayer = {},
        .cacheFolder = home.file("cache/qinghe-lrc-editor"),
        .settingsFolder = app::toGbkPath(QString::fromStdString(home.file("config/qinghe-lrc-editor"))),
    };
  }

  TempDir home;
  RecordingPrompter prompter;
  ScriptedDialogs dialogs;
  ScriptedFontChooser fontChooser;
  RecordingClipboard clipboard;
  FakeAudioPlayer fakePlayer;
  FakeMasterVolume fakeMasterVolume;
  playback::AudioPlayer* player = &fakePlayer;
  platform::MasterVolume* masterVolume = &fakeMasterVolume;
};

// The real editor over FakeServices, shown offscreen.
struct EditorHarness : FakeServices {
  // Makes the editor without running its start-up sequence.
  app::EditorApp& create(std::vector<std::string> arguments = {}) {
    editor = std::make_unique<app::EditorApp>(std::move(arguments), services());
    return *editor;
  }
  // Makes the editor and runs its start-up sequence, which shows the window.
  app::EditorApp& start(std::vector<std::string> arguments = {}) {
    create(std::move(arguments)).start();
    return *editor;
  }
  // start(), then makes the window the active one so that its shortcut keys work; false when
  // it did not become active within the wait.
  bool startActive(std::vector<std::string> arguments = {}) {
    start(std::move(arguments));
    window().activateWindow();
    return QTest::qWaitForWindowActive(&window());
  }
  app::MainWindow& window() const { return editor->window(); }

  std::unique_ptr<app::EditorApp> editor;
};

}  // namespace testsupport
