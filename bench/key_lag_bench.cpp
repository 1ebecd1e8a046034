// The key-lag measurement and the compensated stamps, through the real sound path.
//
// The whole editor runs in this process over the tests' fakes, except for the player: the real
// libmpv player on the PulseAudio server of the tests. A scripted user listens to the sink's
// monitor, and a fixed lag after each sound was played there presses F5 on the X display, which
// stamps the key and sends it to the window with the focus; the GUI thread takes it from there
// when it comes to it, as a real key.
//
// First 按键延迟补偿... → 测量, with the user 250 ms late and then 150 ms late: the measured median
// must lie within 10 ms of the user's lag, and a song that was playing must be paused where it
// was heard and go on from there. 确定 stores the last one. Then 启用按键延迟补偿, and a
// click track (a 5 ms click in every second, each at another point of its second, as a song's
// onsets fall anywhere between two hundredths) is played at 1.0x, 0.75x and 0.5x while the user
// stamps every click 150 ms late: every stamp must lie within 10 ms of its click's song
// position, the median within 5 ms.
//
// Usage: key_lag_bench [runs of each part, default 1]

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/editor_app.h"
#include "app/window/main_menus.h"
#include "app/window/main_window.h"
#include "bench_files.h"
#include "lyrics/tag_corrections.h"
#include "monitor_setup.h"
#include "platform/monotonic_clock.h"
#include "playback/mpv/mpv_audio_player.h"
#include "support/click_track.h"
#include "support/fake_services.h"
#include "support/monitor_recorder.h"
#include "x_keyboard.h"

using platform::SteadyClock;

namespace {

// A sound starts where the level first rises above this after a quiet stretch: the ticks and
// the clicks peak at 0.7 and 0.85, the click track's tone stays at 0.1.
constexpr float kOnsetLevel = 0.25f;
constexpr double kQuietSeconds = 0.3;
constexpr int kLines = 40;

// Listens to the sink's monitor on a thread of its own and, while answering, presses F5 a
// fixed lag after every sound that was played. Watches the application's events to tell when
// the window took each key.
class ScriptedUser : public QObject {
 public:
  explicit ScriptedUser(const testsupport::MonitorRecorder& recorder, int rate)
      : m_recorder(recorder), m_quietFrames(static_cast<std::int64_t>(kQuietSeconds * rate)) {
    qApp->installEventFilter(this);
    m_thread = std::thread([this] { listen(); });
  }
  ~ScriptedUser() override {
    m_quit = true;
    m_thread.join();
  }

  // Answers every sound from now on, `lagMs` after it was played.
  void answer(int lagMs) {
    const std::lock_guard lock(m_mutex);
    m_lagNs = lagMs * 1'000'000LL;
    m_delivery.clear();
    m_answered = 0;
    m_answering = true;
  }
  void rest() { m_answering = false; }
  // Runs on the GUI thread when the window takes a key, before the editor handles it, with
  // how long the key waited, in milliseconds.
  std::function<void(double)> onKeyTaken;
  int answered() const { return m_answered; }
  // How long after the press the GUI thread took each key, in milliseconds.
  std::vector<double> deliveryMs() const {
    const std::lock_guard lock(m_mutex);
    return m_delivery;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const auto type = event->type();
    if ((type == QEvent::ShortcutOverride || type == QEvent::KeyPress) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F5) {
      const std::int64_t pressed = m_lastPressNs.exchange(0);
      if (pressed != 0) {
        const double waitedMs = static_cast<double>(SteadyClock::now() - pressed) / 1e6;
        {
          const std::lock_guard lock(m_mutex);
          m_delivery.push_back(waitedMs);
        }
        if (onKeyTaken) onKeyTaken(waitedMs);
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void listen() {
    bench::XKeyboard keyboard;
    if (!keyboard.usable()) {
      std::printf("key_lag_bench: no X display with the XTest extension to press keys on\n");
      std::exit(1);
    }
    std::int64_t next = 0;
    std::int64_t quiet = m_quietFrames;
    while (!m_quit) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      const std::vector<float> levels = m_recorder.levelsFrom(next);
      std::vector<std::int64_t> onsets;
      for (std::size_t index = 0; index < levels.size(); ++index) {
        if (levels[index] > kOnsetLevel) {
          if (quiet >= m_quietFrames) onsets.push_back(next + static_cast<std::int64_t>(index));
          quiet = 0;
        } else {
          ++quiet;
        }
      }
      next += static_cast<std::int64_t>(levels.size());
      if (!m_answering) continue;
      for (const std::int64_t onset : onsets) {
        const auto playedNs = m_recorder.recentFrameNs(onset);
        if (!playedNs) continue;
        const std::int64_t pressAt = *playedNs + m_lagNs;
        // Asleep until a little before the moment, then watching the clock for it.
        const std::int64_t coarse = pressAt - 2'000'000 - SteadyClock::now();
        if (coarse > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(coarse));
        while (SteadyClock::now() < pressAt) {
        }
        ++m_answered;
        m_lastPressNs = pressAt;
        keyboard.pressF5();
      }
    }
  }

  const testsupport::MonitorRecorder& m_recorder;
  const std::int64_t m_quietFrames;
  std::atomic<bool> m_quit{false};
  std::atomic<bool> m_answering{false};
  std::atomic<int> m_answered{0};
  std::int64_t m_lagNs = 0;
  std::atomic<std::int64_t> m_lastPressNs{0};
  mutable std::mutex m_mutex;
  std::vector<double> m_delivery;
  std::thread m_thread;
};

struct Bench {
  testsupport::EditorHarness harness;
  app::EditorApp* editor = nullptr;
  ScriptedUser* user = nullptr;
  int failures = 0;
  // The speeds of the menu, and every stamp's distance from its click at each, in
  // milliseconds, over all runs.
  static constexpr std::pair<double, const char*> kSpeeds[] = {
      {1.0, "PlayAtNormalSpeed"}, {0.75, "PlayAtThreeQuarterSpeed"}, {0.5, "PlayAtHalfSpeed"}};
  std::vector<double> allErrors[std::size(kSpeeds)];

  QAction* menuAction(const char* command) const {
    return editor->window().menus().action(QString::fromUtf8(command));
  }

  // One measurement in the dialog with the user `lagMs` late; 确定 stores what it measured.
  void measure(int lagMs) {
    int measured = -1;
    QString said;
    QTimer::singleShot(0, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      auto* button =
          dialog ? dialog->findChild<QAbstractButton*>(QStringLiteral("按钮_测量")) : nullptr;
      auto* outcome =
          dialog ? dialog->findChild<QLabel*>(QStringLiteral("标签_测量结果")) : nullptr;
      if (button == nullptr || outcome == nullptr) {
        std::printf("  the dialog with 测量 did not open\n");
        if (dialog) dialog->close();
        return;
      }
      // Keys go where the display server sends them: to the dialog once it has the focus,
      // which nothing gives it on a virtual display with no window manager.
      dialog->activateWindow();
      if (!QTest::qWaitForWindowActive(dialog, 5000)) {
        std::printf("  waited 5 s for the dialog to become active\n");
      }
      user->answer(lagMs);
      QTest::mouseClick(button, Qt::LeftButton);
      // Twelve sounds take at most 22 s.
      const bool ended = QTest::qWaitFor([&] { return button->isEnabled(); }, 40'000);
      user->rest();
      said = outcome->text();
      if (!ended) said = QStringLiteral("waited 40 s for the measurement to end: ") + said;
      measured = dialog->findChild<QSpinBox*>()->value();
      for (auto* ok : dialog->findChildren<QAbstractButton*>()) {
        if (ok->text() == QStringLiteral("确定")) QTest::mouseClick(ok, Qt::LeftButton);
      }
    });
    menuAction("ShowKeyLagDialog")->trigger();
    const std::vector<double> delivery = user->deliveryMs();
    const bool within = std::abs(measured - lagMs) <= 10;
    failures += within ? 0 : 1;
    std::printf("  user %d ms late: %d presses; measured %d ms (%s)\n    %s\n", lagMs,
                static_cast<int>(delivery.size()), measured, within ? "within 10 ms" : "OFF",
                said.toStdString().c_str());
    std::printf("    keys reached the window %.2f ms median, %.2f ms max after the press\n",
                bench::percentile(delivery, 0.5), bench::percentile(delivery, 1.0));
  }

  // measure(lagMs) while the click track plays: the song must be paused where it was heard
  // and go on from there at 继续.
  void measureOverPlayingSong(const std::string& song, int lagMs) {
    app::EditorState& state = editor->state();
    state.playback.dropAudioFile(song);
    editor->commands().run("PlaySong");
    if (!QTest::qWaitFor([&] { return state.clock.elapsedNs() > 2'500'000'000; }, 10'000)) {
      std::printf("  waited 10 s for the song to play 2.5 s\n");
    }
    const double before = static_cast<double>(state.clock.elapsedNs()) / 1e9;
    measure(lagMs);
    const bool paused = state.playback.state() == playback::PlaybackState::Paused;
    const double after = static_cast<double>(state.clock.elapsedNs()) / 1e9;
    editor->commands().run("TogglePause");
    QTest::qWait(1500);
    const double resumed = static_cast<double>(state.clock.elapsedNs()) / 1e9;
    editor->commands().run("StopPlayback");
    const bool kept =
        paused && std::abs(after - before) < 0.2 && resumed - after > 1.0 && resumed - after < 1.6;
    failures += kept ? 0 : 1;
    std::printf(
        "  the song played at %.2f s when 按键延迟补偿... opened; after the measurement it was "
        "%s at %.2f s, and 1.5 s after 继续 at %.2f s (%s)\n",
        before, paused ? "paused" : "NOT paused", after, resumed, kept ? "kept" : "NOT KEPT");
  }

  // The click track played at `speed` and every click stamped by the user 150 ms late.
  void stampClicks(const std::string& song, const std::vector<double>& onsets, int speedIndex) {
    const double speed = kSpeeds[speedIndex].first;
    app::EditorState& state = editor->state();
    // With no window manager on a virtual display, nothing gives the main window back the
    // keyboard after the dialog closed.
    editor->window().activateWindow();
    if (!QTest::qWaitForWindowActive(&editor->window(), 5000)) {
      std::printf("  waited 5 s for the editor's window to become active again\n");
    }
    for (int line = 0; line < kLines; ++line)
      state.lyrics.setLine(line, "line " + std::to_string(line + 1));
    state.lyrics.setSelection(0);
    editor->commands().run(kSpeeds[speedIndex].second);
    state.playback.dropAudioFile(song);
    // The heard position each press reads, before the hundredths and the lag: what the stamp
    // would be to the nanosecond.
    std::vector<double> heardAtPress;
    user->onKeyTaken = [&](double waitedMs) {
      heardAtPress.push_back(static_cast<double>(state.clock.elapsedNs()) / 1e9 -
                             waitedMs / 1000.0 * speed);
    };
    user->answer(150);
    editor->commands().run("PlaySong");
    const double songSeconds = onsets.back() + 0.5;
    const bool ended =
        QTest::qWaitFor([&] { return state.playback.state() == playback::PlaybackState::Idle; },
                        static_cast<int>(songSeconds / speed * 1000) + 10'000);
    // The last press may still be on its way.
    QTest::qWait(400);
    user->rest();
    if (!ended) {
      std::printf("  waited for the song to end; stopped\n");
      editor->commands().run("StopPlayback");
    }
    user->onKeyTaken = nullptr;
    std::vector<double> unrounded;
    const double lagSeconds = state.keyLag.lagMs().value_or(0) / 1000.0;
    for (const double heard : heardAtPress) {
      const double stamp = std::max(0.0, heard - lagSeconds * speed);
      const auto nearest = std::min_element(onsets.begin(), onsets.end(), [&](double a, double b) {
        return std::abs(a - stamp) < std::abs(b - stamp);
      });
      unrounded.push_back((stamp - *nearest) * 1000.0);
    }
    std::vector<double> errors, signedErrors;
    for (int line = 0; line < kLines; ++line) {
      const auto tag = lyrics::leadingTimeTag(state.lyrics.line(line));
      if (!tag) break;
      const double stamped = static_cast<double>(tag->first) / 100.0;
      const auto nearest = std::min_element(onsets.begin(), onsets.end(), [&](double a, double b) {
        return std::abs(a - stamped) < std::abs(b - stamped);
      });
      signedErrors.push_back((stamped - *nearest) * 1000.0);
      errors.push_back(std::abs(signedErrors.back()));
    }
    double mean = 0;
    for (const double error : signedErrors) mean += error;
    if (!signedErrors.empty()) mean /= static_cast<double>(signedErrors.size());
    const bool within = !errors.empty() && bench::percentile(errors, 1.0) <= 10.0 &&
                        bench::percentile(errors, 0.5) <= 5.0 &&
                        static_cast<int>(errors.size()) == user->answered();
    failures += within ? 0 : 1;
    auto& all = allErrors[speedIndex];
    all.insert(all.end(), errors.begin(), errors.end());
    const std::vector<double> delivery = user->deliveryMs();
    std::printf(
        "  %.2fx: %d clicks answered, %zu stamps; off their click %.1f ms median, %.1f ms max, "
        "mean signed %+.1f ms (%s)\n",
        speed, user->answered(), errors.size(), bench::percentile(errors, 0.5),
        bench::percentile(errors, 1.0), mean, within ? "within target" : "OFF");
    double unroundedMean = 0;
    for (const double error : unrounded) unroundedMean += error;
    if (!unrounded.empty()) unroundedMean /= static_cast<double>(unrounded.size());
    std::printf("    before the hundredths: %+.1f ms mean signed, from %+.1f to %+.1f ms\n",
                unroundedMean, bench::percentile(unrounded, 0.0),
                bench::percentile(unrounded, 1.0));
    std::printf("    keys reached the window %.2f ms median, %.2f ms max after the press\n",
                bench::percentile(delivery, 0.5), bench::percentile(delivery, 1.0));
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  if (!bench::soundServerReachable("key_lag_bench")) return 1;
  std::printf("key_lag_bench: load average at start %s\n", bench::loadAverage().c_str());

  // Made before the editor, it goes after it: the editor stops it on the way out.
  playback::MpvAudioPlayer player;
  Bench bench;
  const std::filesystem::path dir = bench.harness.home.path();
  const std::string song = (dir / "clicks.mp3").string();
  if (!testsupport::ClickTrack::write(song, 12, true)) {
    std::printf("key_lag_bench: ffmpeg could not make the click track\n");
    return 1;
  }
  const std::vector<double> onsets = testsupport::ClickTrack::decodedOnsets(song);
  {
    std::ofstream lyrics(dir / "lines.lrc", std::ios::binary);
    for (int line = 1; line <= kLines; ++line) lyrics << "line " << line << "\r\n";
  }
  player.prepare();
  bench.harness.player = &player;
  bench.editor = &bench.harness.start({(dir / "lines.lrc").string()});
  app::MainWindow& window = bench.editor->window();
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window, 5000)) {
    std::printf("key_lag_bench: waited 5 s for the editor's window to become active\n");
    return 1;
  }

  testsupport::MonitorRecorder recorder;
  if (!bench::startRecording("key_lag_bench", recorder)) return 1;
  ScriptedUser user(recorder, recorder.recording().rate);
  bench.user = &user;
  std::printf("recording %s.monitor; Qt platform %s\n", recorder.sinkName().c_str(),
              QApplication::platformName().toStdString().c_str());

  for (int run = 0; run < runs; ++run) {
    std::printf("measurement in 按键延迟补偿..., run %d:\n", run + 1);
    if (run == 0) {
      bench.measureOverPlayingSong(song, 250);
    } else {
      bench.measure(250);
    }
    bench.measure(150);
  }
  const auto stored = bench.editor->state().keyLag.lagMs();
  std::printf("stored lag %d ms\n", stored.value_or(-1));
  bench.menuAction("ToggleKeyLagCompensation")->trigger();
  if (!bench.editor->state().keyLag.enabled()) {
    std::printf("key_lag_bench: 启用按键延迟补偿 did not turn the compensation on\n");
    return 1;
  }
  for (int run = 0; run < runs; ++run) {
    std::printf("stamps with the compensation on, run %d:\n", run + 1);
    for (int speed = 0; speed < static_cast<int>(std::size(Bench::kSpeeds)); ++speed) {
      bench.stampClicks(song, onsets, speed);
    }
  }
  bench.user = nullptr;
  for (int index = 0; index < static_cast<int>(std::size(Bench::kSpeeds)); ++index) {
    const std::vector<double>& errors = bench.allErrors[index];
    const auto within =
        std::count_if(errors.begin(), errors.end(), [](double e) { return e <= 10.0; });
    std::printf(
        "all stamps at %.2fx: %zu, off their click %.1f ms median, %.1f ms p90, %.1f ms max; "
        "%ld within 10 ms\n",
        Bench::kSpeeds[index].first, errors.size(), bench::percentile(errors, 0.5),
        bench::percentile(errors, 0.9), bench::percentile(errors, 1.0), static_cast<long>(within));
  }
  std::printf(
      "(targets: measured median within 10 ms of the user's lag; stamps within 10 ms of "
      "their click, median within 5 ms)\n");
  std::printf("key_lag_bench: load average at the end %s\n", bench::loadAverage().c_str());
  recorder.stop();
  bench.editor->window().close();
  return bench.failures > 0 ? 1 : 0;
}
