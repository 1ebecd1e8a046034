#include "playback/pulse/pulse_master_volume.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "playback/volume_control.h"
#include "support/pulse_sink.h"
#include "support/temp_dir.h"

using namespace std::chrono_literals;
using playback::PulseMasterVolume;
using Values = std::vector<std::uint32_t>;

namespace {

// A 0..100 slider that clamps like the real one, and its label.
class SliderView : public playback::VolumeView {
 public:
  int sliderPosition() const override { return position; }
  void setSliderPosition(int wanted) override { position = std::clamp(wanted, 0, 100); }
  void setLabelText(const std::string& text) override { label = text; }

  int position = -1;
  std::string label = "unset";
};

std::chrono::milliseconds since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start);
}

// The shared server's default sink, put back as it was after each test.
class PulseFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!m_guard.serverReachable()) GTEST_SKIP() << "no PulseAudio server answers pactl";
    ASSERT_EQ(m_guard.channels(), 2u) << "the default sink is expected to be stereo";
  }

  Values both(std::uint32_t value) const { return Values(m_guard.channels(), value); }

  testsupport::SinkVolumeGuard m_guard;
};

// A server socket that takes connections and never answers.
class SilentServer {
 public:
  SilentServer() {
    m_path = m_dir.file("native");
    m_socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    m_path.copy(address.sun_path, sizeof address.sun_path - 1);
    m_listening = m_socket >= 0 &&
                  ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                  ::listen(m_socket, 4) == 0;
  }
  ~SilentServer() {
    if (m_socket >= 0) ::close(m_socket);
  }
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  bool listening() const { return m_listening; }
  std::string address() const { return "unix:" + m_path; }

 private:
  testsupport::TempDir m_dir;
  std::string m_path;
  int m_socket = -1;
  bool m_listening = false;
};

}  // namespace

TEST_F(PulseFixture, SliderSetsBothChannelsOfTheDefaultSink) {
  ASSERT_TRUE(testsupport::setDefaultSinkVolume({20000, 40000}));
  PulseMasterVolume mixer;
  SliderView view;
  playback::VolumeControl control(mixer, view);
  control.initVolume();
  EXPECT_EQ(control.maximum(), 65536u);  // the server's full volume, 0 dB
  // Mean 30000 of 65536 is 45.78 %, plus one, truncated.
  EXPECT_EQ(view.position, 46);
  EXPECT_EQ(view.label, "46");
  EXPECT_EQ(testsupport::defaultSinkVolume(), (Values{20000, 40000}));

  struct Step {
    int position;
    std::uint32_t value;
  };
  for (const Step& step : {Step{50, 65536 / 2}, Step{0, 0}, Step{100, 65536}, Step{33, 21626}}) {
    SCOPED_TRACE(step.position);
    view.position = step.position;
    control.applyVolume();
    EXPECT_EQ(view.label, std::to_string(step.position));
    EXPECT_EQ(testsupport::awaitDefaultSinkVolume(both(step.value)), both(step.value))
        << "waited 3 s for the sink to take the slider's volume";
  }
}

TEST_F(PulseFixture, ChangesInQuickSuccessionEndAtTheLastOne) {
  ASSERT_TRUE(testsupport::setDefaultSinkVolume(both(1000)));
  {
    PulseMasterVolume mixer;
    ASSERT_TRUE(mixer.bindMaster());
    EXPECT_EQ(mixer.volume(), (platform::MasterVolume::Channels{1000, 1000}));
    const auto start = std::chrono::steady_clock::now();
    for (std::uint32_t value = 0; value <= 65536; value += 512) {
      EXPECT_TRUE(mixer.setVolume({value, value}));
    }
    EXPECT_TRUE(mixer.setVolume({12345, 12345}));
    EXPECT_LT(since(start), 200ms) << "setting the volume must not wait for the server";
    EXPECT_EQ(testsupport::awaitDefaultSinkVolume(both(12345)), both(12345))
        << "waited 3 s for the last change";
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(testsupport::defaultSinkVolume(), both(12345)) << "an older change came in late";
    // The last change before the editor goes still reaches the server.
    EXPECT_TRUE(mixer.setVolume({777, 777}));
  }
  EXPECT_EQ(testsupport::awaitDefaultSinkVolume(both(777), 1000ms), both(777));
}

TEST_F(PulseFixture, WithoutAServerTheSliderStartsAtZeroAndStillMoves) {
  ASSERT_TRUE(testsupport::setDefaultSinkVolume(both(20000)));
  testsupport::TempDir dir;
  {
    testsupport::ScopedEnv server("PULSE_SERVER", "unix:" + dir.file("no-such-socket"));
    PulseMasterVolume mixer;
    SliderView view;
    playback::VolumeControl control(mixer, view);
    const auto start = std::chrono::steady_clock::now();
    control.initVolume();
    EXPECT_LT(since(start), 1500ms);
    EXPECT_EQ(view.position, 0);
    EXPECT_EQ(view.label, "0");
    EXPECT_EQ(control.maximum(), 0u);
    view.position = 70;
    control.applyVolume();
    EXPECT_EQ(view.label, "70");
    EXPECT_FALSE(mixer.setVolume({5, 5}));
    EXPECT_EQ(mixer.volume(), std::nullopt);
  }
  EXPECT_EQ(testsupport::defaultSinkVolume(), both(20000));
}

TEST(PulseMasterVolumeTest, AServerThatNeverAnswersDoesNotHoldTheCallerLong) {
  SilentServer silent;
  ASSERT_TRUE(silent.listening());
  testsupport::ScopedEnv server("PULSE_SERVER", silent.address());
  const auto start = std::chrono::steady_clock::now();
  {
    PulseMasterVolume mixer({250ms, 100ms});
    EXPECT_FALSE(mixer.bindMaster());
    EXPECT_FALSE(mixer.setVolume({1, 1}));
    EXPECT_EQ(mixer.maximum(), 0u);
  }
  EXPECT_LT(since(start), 1000ms);
  // With the editor's own limits.
  const auto second = std::chrono::steady_clock::now();
  {
    PulseMasterVolume mixer;
    EXPECT_FALSE(mixer.bindMaster());
  }
  const auto waited = since(second);
  EXPECT_GE(waited, 900ms) << "gave up before the connection limit";
  EXPECT_LT(waited, 2000ms);
}
