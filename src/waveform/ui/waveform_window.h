#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "lyrics/lyrics_list.h"
#include "playback/play_clock.h"
#include "playback/playback_controller.h"
#include "waveform/envelope.h"
#include "waveform/tag_marks.h"
#include "waveform/ui/envelope_loader.h"
#include "waveform/ui/waveform_view.h"

namespace waveform {

// The waveform window 窗口_波形: a window of its own beside the main window, never blocking it,
// that shows the current song's waveform with every tag of the lyrics as a mark and the play
// cursor at the heard position. A click plays from there; dragging a mark retimes its tag.
// Closing it only hides it.
class WaveformWindow : public QWidget {
  Q_OBJECT

 public:
  // What the window reads and commands; all must outlive it. `cacheFolder` (the file system's
  // bytes) keeps the envelopes, "" none.
  struct Context {
    lyrics::LyricsList& lyrics;
    playback::PlayClock& clock;
    playback::PlaybackController& playback;
    std::string cacheFolder;
    std::shared_ptr<AudioDecoder> decoder;
  };

  explicit WaveformWindow(Context context, QWidget* parent = nullptr);
  ~WaveformWindow() override;

  // Shows the song at `gbkPath` (the song row's path cell; "" for none), loading its envelope
  // unless it is the song shown already.
  void showSong(const std::string& gbkPath);
  // The lines or the selection may have changed: the marks follow.
  void documentChanged();
  // Playback started, paused, stopped or jumped: the cursor follows.
  void playbackChanged();

  WaveformView& view() const { return *m_view; }
  // The envelope shown so far.
  const Envelope& envelope() const { return m_envelope; }
  // The message shown in the window instead of a waveform ("" when none).
  QString message() const;
  // True once the envelope of the song shown is complete.
  bool loaded() const { return m_loaded; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void showMessage(const QString& text);
  void finished(DecodeStatus status);
  void refreshMarks();
  void updateCursor(bool follow);
  QString label(const Mark& mark) const;
  QString songName() const;

  Context m_context;
  Envelope m_envelope;
  TagMarks m_marks;
  WaveformView* m_view;
  QLabel* m_message;
  EnvelopeLoader* m_loader;
  QTimer m_frameTimer;
  std::string m_songPath;
  bool m_loaded = false;
  bool m_marksStale = true;
  int m_selection = -2;
};

}  // namespace waveform
