#include "app/bindings/key_lag_bindings.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <filesystem>
#include <system_error>

#include "app/adapters/gbk.h"
#include "app/adapters/qt_paths.h"
#include "app/window/key_lag_dialog.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "lyrics/write_failure_report.h"
#include "platform/file_io.h"

namespace app {

namespace {

// "0.18" for 180 ms: seconds as the time tags count them, with a third decimal only when the
// lag has one.
QString lagSeconds(int ms) { return QString::number(ms / 1000.0, 'f', ms % 10 == 0 ? 2 : 3); }

}  // namespace

KeyLagBindings::KeyLagBindings(MainWindow& window, EditorState& state, const Services& services,
                               shell::CommandRegistry& registry)
    : m_window(window),
      m_state(state),
      m_prompter(services.prompter),
      m_player(services.player),
      m_registry(registry),
      m_cacheFolder(services.cacheFolder),
      m_tagToolTip(window.tagButton()->toolTip()) {
  registry.add("ShowKeyLagDialog", [this] { showKeyLagDialog(); });
  registry.addCheckable(
      "ToggleKeyLagCompensation", [this] { toggleCompensation(); },
      [this] { return m_state.keyLag.enabled(); });
  m_state.keyLag.setListener([this] {
    showCompensation();
    m_registry.checkedStateChanged();
  });
  showCompensation();
}

KeyLagBindings::~KeyLagBindings() { m_state.keyLag.setListener(nullptr); }

void KeyLagBindings::showCompensation() {
  const playback::KeyLagSetting& keyLag = m_state.keyLag;
  QString inForce;
  if (keyLag.enabled()) {
    inForce = QStringLiteral("当前补偿 %1 秒").arg(lagSeconds(*keyLag.lagMs()));
  } else if (keyLag.problem() != playback::KeyLagSetting::Problem::None) {
    inForce = QStringLiteral("设置文件中的按键延迟没有使用，补偿关闭");
  }
  // The designed tooltip stays as it is; the lag in force is a line below it.
  m_window.tagButton()->setToolTip(
      keyLag.enabled() ? m_tagToolTip + QLatin1Char('\n') + inForce : m_tagToolTip);
  if (QAction* toggle = m_window.menus().action(QStringLiteral("ToggleKeyLagCompensation"))) {
    toggle->setToolTip(inForce);
    toggle->setStatusTip(inForce);
  }
}

QString KeyLagBindings::refusedSettingText() const {
  const playback::KeyLagSetting& keyLag = m_state.keyLag;
  const QString file = fromGbkPath(keyLag.filePath());
  switch (keyLag.problem()) {
    case playback::KeyLagSetting::Problem::Unreadable:
      return QStringLiteral("设置文件 %1 读不出来，其中的按键延迟没有使用，补偿关闭。").arg(file);
    case playback::KeyLagSetting::Problem::BadLag:
      return QStringLiteral(
                 "设置文件 %1 中的按键延迟“%2”不是 0 到 500 之间的整数毫秒，没有使用，补偿关闭。")
          .arg(file, toQString(keyLag.refusedText()));
    case playback::KeyLagSetting::Problem::None:
      break;
  }
  return {};
}

std::string KeyLagBindings::soundFilePath() const {
  // One file per running editor, so two editors measuring at once never share one.
  const QByteArray folder = m_cacheFolder.empty() ? QFile::encodeName(QDir::tempPath())
                                                  : QByteArray::fromStdString(m_cacheFolder);
  return toGbkPath(folder + "/key-lag-sounds-" +
                   QByteArray::number(QCoreApplication::applicationPid()) + ".wav");
}

bool KeyLagBindings::showKeyLagDialog() {
  KeyLagDialog dialog(m_state.keyLag.lagMs(), refusedSettingText(), &m_window);
  // Made after the dialog, it ends before it: closing the dialog stops the sounds.
  playback::KeyLagMeasurement measurement(m_state.playback, m_player, m_steadyClock);
  const std::string soundFile = soundFilePath();
  connect(&dialog, &KeyLagDialog::measureRequested, &dialog, [&] {
    const std::vector<double> onsets = playback::KeyLagMeasurement::planSounds(m_random);
    // The folder is made on the first measurement; a failure shows when the file is written.
    std::error_code ignored;
    std::filesystem::create_directories(
        std::filesystem::path(platform::nativePath(soundFile)).parent_path(), ignored);
    const platform::WriteStatus written = platform::replaceFile(
        soundFile, playback::KeyLagMeasurement::soundFileBytes(onsets));
    if (written != platform::WriteStatus::Ok) {
      lyrics::reportWriteFailure(m_prompter, soundFile, written);
      return;
    }
    dialog.setMeasuring(true);
    dialog.showOutcome(QStringLiteral("正在测量：每听到一个声音就按一次 F5 或空格键。"));
    measurement.start(soundFile, onsets, [&] {
      std::error_code ignored;
      std::filesystem::remove(platform::nativePath(soundFile), ignored);
      dialog.setMeasuring(false);
      showMeasured(dialog, measurement);
    });
  });
  connect(&dialog, &KeyLagDialog::pressed, &dialog, [&] {
    measurement.press(m_state.inputMoments.handledInputNs());
    dialog.showOutcome(QStringLiteral("正在测量：每听到一个声音就按一次 F5 或空格键。已按 %1 次。")
                           .arg(measurement.presses()));
  });
  const bool stored = dialog.exec() == QDialog::Accepted;
  measurement.cancel();
  std::error_code ignored;
  std::filesystem::remove(platform::nativePath(soundFile), ignored);
  if (!stored) return false;
  platform::WriteStatus why = platform::WriteStatus::Ok;
  if (!m_state.keyLag.storeLag(dialog.lagMs(), &why)) {
    lyrics::reportWriteFailure(m_prompter, m_state.keyLag.filePath(), why);
  }
  return true;
}

void KeyLagBindings::showMeasured(KeyLagDialog& dialog,
                                  const playback::KeyLagMeasurement& measurement) {
  using Outcome = playback::KeyLagMeasurement::Outcome;
  if (measurement.outcome() == Outcome::NoAudioOutput) {
    dialog.showOutcome(QStringLiteral(
        "无法打开声音设备，不能测量。按键延迟没有改变。请检查系统的声音设置。"));
    return;
  }
  if (measurement.outcome() != Outcome::Done) {
    dialog.showOutcome(QStringLiteral("测量用的声音不能播放，按键延迟没有改变。"));
    return;
  }
  const playback::KeyLagFigures figures = measurement.figures();
  QString missed;
  if (figures.stray + figures.repeated > 0) {
    missed = QStringLiteral("（%1 次离声音太远或在声音之前，%2 次是同一个声音的重复按键）")
                 .arg(figures.stray)
                 .arg(figures.repeated);
  }
  if (!figures.enough()) {
    dialog.showOutcome(
        QStringLiteral("共按 %1 次，只有 %2 次计入%3，至少要 %4 次，按键延迟没有改变。"
                       "请每听到一个声音按一次键，再测一次。")
            .arg(measurement.presses())
            .arg(figures.counted())
            .arg(missed)
            .arg(playback::KeyLagFigures::kFewestCounted));
    return;
  }
  const int median = *figures.medianMs();
  const auto [low, high] = *figures.middleHalfMs();
  dialog.setLagMs(median);
  dialog.showOutcome(QStringLiteral("测得按键延迟 %1 毫秒（中位数）。中间一半在 %2 到 %3 毫秒之间，"
                                    "相差 %4 毫秒。共按 %5 次，%6 次计入%7。按“确定”保存。")
                         .arg(median)
                         .arg(low)
                         .arg(high)
                         .arg(high - low)
                         .arg(measurement.presses())
                         .arg(figures.counted())
                         .arg(missed));
}

void KeyLagBindings::toggleCompensation() {
  playback::KeyLagSetting& keyLag = m_state.keyLag;
  const bool on = !keyLag.enabled();
  // Turned on with no lag to take off, the lag is asked for first; 取消 leaves it off.
  if (on && !keyLag.lagMs() && (!showKeyLagDialog() || !keyLag.lagMs())) {
    m_registry.checkedStateChanged();
    return;
  }
  platform::WriteStatus why = platform::WriteStatus::Ok;
  if (!keyLag.storeEnabled(on, &why)) {
    lyrics::reportWriteFailure(m_prompter, keyLag.filePath(), why);
  }
}

}  // namespace app
