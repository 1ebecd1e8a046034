#include "app/adapters/qt_services.h"

#include <QFile>
#include <QStandardPaths>

#include "app/adapters/qt_paths.h"
#include "app/program_directory.h"
#include "feedback/smtp_mail_sender.h"
#include "feedback/smtp_settings.h"

namespace app {

QtServices::QtServices() = default;

Services QtServices::services() {
  return Services{
      .prompter = m_prompter,
      .dialogs = m_dialogs,
      .fontChooser = m_fontChooser,
      .clipboard = m_clipboard,
      .player = m_player,
      .masterVolume = m_masterVolume,
      .mailSender = [] { return std::make_unique<feedback::SmtpMailSender>(); },
      .association = LrcAssociation::forCurrentUser(),
      .refreshDesktopCaches = true,
      .programDirectory = toGbkPath(openProgramDirectory()),
      .recoveryFolder = toGbkPath(userDataFolder()),
      .preparePlayer = [this] { m_player.prepareInBackground(); },
      .cacheFolder = QFile::encodeName(
                         QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                         QStringLiteral("/qinghe-lrc-editor"))
                         .toStdString(),
      .settingsFolder = [] {
        const std::string folder = feedback::editorConfigFolder();
        return folder.empty() ? std::string() : toGbkPath(QByteArray::fromStdString(folder));
      }(),
  };
}

}  // namespace app
