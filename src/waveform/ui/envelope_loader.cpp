#include "waveform/ui/envelope_loader.h"

#include <QMetaObject>

namespace waveform {

EnvelopeLoader::EnvelopeLoader(std::shared_ptr<AudioDecoder> decoder, EnvelopeCache cache,
                               Callbacks callbacks, QObject* parent)
    : QObject(parent),
      m_decoder(std::move(decoder)),
      m_cache(std::move(cache)),
      m_callbacks(std::move(callbacks)) {}

EnvelopeLoader::~EnvelopeLoader() { cancel(); }

void EnvelopeLoader::cancel() {
  ++m_generation;
  // The decoder checks the generation at every hand-over (ten seconds of sound), so this waits
  // for a few tens of milliseconds at most.
  if (m_thread.joinable()) m_thread.join();
}

void EnvelopeLoader::load(const std::string& nativePath) {
  cancel();
  const unsigned generation = m_generation.load();
  m_thread = std::thread([this, nativePath, generation] { run(nativePath, generation); });
}

void EnvelopeLoader::post(unsigned generation, std::function<void()> work) {
  QMetaObject::invokeMethod(
      this,
      [this, generation, work = std::move(work)] {
        if (generation == m_generation.load()) work();
      },
      Qt::QueuedConnection);
}

void EnvelopeLoader::run(const std::string& nativePath, unsigned generation) {
  const auto current = [this, generation] { return generation == m_generation.load(); };
  const auto key = SongKey::of(nativePath);
  if (!key) {
    post(generation, [this] { m_callbacks.finished(DecodeStatus::Missing); });
    return;
  }
  if (auto cached = m_cache.load(*key)) {
    post(generation, [this, peaks = std::move(*cached)] {
      m_callbacks.started(static_cast<double>(peaks.size()) / Envelope::kBucketsPerSecond);
      m_callbacks.peaks(peaks);
      m_callbacks.finished(DecodeStatus::Ok);
    });
    return;
  }
  std::vector<Peak> all;
  DecodeSink sink;
  sink.started = [&](double seconds) {
    post(generation, [this, seconds] { m_callbacks.started(seconds); });
  };
  sink.peaks = [&](std::vector<Peak> peaks) {
    if (!current()) return false;
    all.insert(all.end(), peaks.begin(), peaks.end());
    post(generation, [this, peaks = std::move(peaks)] { m_callbacks.peaks(peaks); });
    return true;
  };
  const DecodeStatus status = m_decoder->decode(nativePath, sink);
  // A file that changed while it was decoded is not kept under its old key.
  if (status == DecodeStatus::Ok && SongKey::of(nativePath) == key) m_cache.store(*key, all);
  post(generation, [this, status] { m_callbacks.finished(status); });
}

}  // namespace waveform
