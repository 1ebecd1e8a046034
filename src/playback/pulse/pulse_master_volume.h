#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/master_volume.h"

struct pa_context;
struct pa_operation;
struct pa_sink_info;
struct pa_threaded_mainloop;

namespace playback {

// The master volume of the sound server's default sink, through libpulse. The server is
// served by libpulse's own thread; every call from the GUI thread waits a bounded time at
// most, and setting the volume never waits, so a server that hangs cannot freeze the window.
class PulseMasterVolume : public platform::MasterVolume {
 public:
  // How long a call may wait for the server.
  struct Timeouts {
    std::chrono::milliseconds connect{1000};
    std::chrono::milliseconds operation{500};
  };

  PulseMasterVolume();
  explicit PulseMasterVolume(Timeouts timeouts);
  // Lets volume changes still on their way reach the server (bounded), then disconnects.
  ~PulseMasterVolume() override;
  PulseMasterVolume(const PulseMasterVolume&) = delete;
  PulseMasterVolume& operator=(const PulseMasterVolume&) = delete;

  // Connects to the server (never starts one) and checks that it has a default sink.
  bool bindMaster() override;
  // The sink's full volume (100 %, 0 dB) while bound, else 0.
  std::uint32_t maximum() const override;
  // The front-left and front-right volume of the default sink (a mono sink gives one value twice).
  std::optional<Channels> volume() override;
  // Sends the channels to whatever sink is the default when the request arrives. Requests made
  // while one is on its way are merged: only the newest follows.
  bool setVolume(Channels channels) override;

 private:
  struct LoopDeleter {
    void operator()(pa_threaded_mainloop* loop) const;
  };
  struct ContextDeleter {
    void operator()(pa_context* context) const;
  };

  bool connectLocked();
  std::optional<Channels> readLocked();
  bool contextReadyLocked() const;
  // Waits with the loop locked until `done` holds or `timeout` has passed; false on timeout.
  template <typename Done>
  bool waitLocked(Done done, std::chrono::milliseconds timeout);
  // Waits for `operation`, cancelling it on timeout; true when it completed.
  bool finishLocked(pa_operation* operation);
  void sendNextLocked();
  void sendFinishedLocked();
  void release();

  static void onContextState(pa_context* context, void* self);
  static void onSinkForSet(pa_context* context, const pa_sink_info* info, int eol, void* self);
  static void onSetDone(pa_context* context, int success, void* self);

  Timeouts m_timeouts;
  std::unique_ptr<pa_threaded_mainloop, LoopDeleter> m_loop;
  std::unique_ptr<pa_context, ContextDeleter> m_context;
  bool m_bound = false;
  // The volume change waiting for the one on its way, and the one on its way.
  std::optional<Channels> m_wanted;
  std::optional<Channels> m_sending;
  bool m_setIssued = false;
};

}  // namespace playback
