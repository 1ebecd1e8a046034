#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "waveform/audio_decoder.h"
#include "waveform/envelope_cache.h"

namespace waveform {

// Makes a song's envelope on a thread of its own: from the cache when it holds the song as it
// is now, otherwise by decoding it (and then keeps it in the cache). What it finds reaches the
// callbacks on the GUI thread, in order; a load started later or the loader's end cancels the
// earlier one, whose results then never arrive.
class EnvelopeLoader : public QObject {
  Q_OBJECT

 public:
  struct Callbacks {
    // The song's length in seconds, before any peaks (0 when the file does not state it).
    std::function<void(double seconds)> started;
    std::function<void(const std::vector<Peak>& peaks)> peaks;
    std::function<void(DecodeStatus status)> finished;
  };

  EnvelopeLoader(std::shared_ptr<AudioDecoder> decoder, EnvelopeCache cache, Callbacks callbacks,
                 QObject* parent = nullptr);
  ~EnvelopeLoader() override;

  // Starts making the envelope of the file at `nativePath`.
  void load(const std::string& nativePath);
  // Stops the load under way; its results no longer arrive.
  void cancel();

 private:
  void run(const std::string& nativePath, unsigned generation);
  // Runs `work` on the GUI thread if the load `generation` is still the current one.
  void post(unsigned generation, std::function<void()> work);

  std::shared_ptr<AudioDecoder> m_decoder;
  EnvelopeCache m_cache;
  Callbacks m_callbacks;
  std::atomic<unsigned> m_generation{0};
  std::thread m_thread;
};

}  // namespace waveform
