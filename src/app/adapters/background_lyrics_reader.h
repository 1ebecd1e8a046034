#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "lyrics/lyrics_file_reader.h"

class QWidget;

namespace app {

// Reads the lyrics files of the dialog and of drops without freezing the window. A small file
// is read at once, before read() returns, exactly as the importer always did; a large one is
// read, decoded and cut on a worker thread while the window goes on painting, playing and
// ticking, and its lines reach the list in one piece when it is done. A read that takes longer
// than half a second shows a progress dialog over the window, whose 取消 calls it off and keeps
// the list as it was. A new read calls off one still running: the file chosen last wins.
class BackgroundLyricsReader : public QObject, public lyrics::LyricsFileReader {
  Q_OBJECT

 public:
  // The work of one read, on the worker thread: path → file, reporting the share done.
  using Load = std::function<lyrics::LyricsFile(const std::string& path,
                                                const std::function<bool(double)>& onProgress)>;

  // Files below this size are read at once: a few milliseconds of work.
  static constexpr std::uintmax_t kBackgroundBytes = std::uintmax_t{1} << 20;
  // How long a read runs before its progress dialog shows.
  static constexpr int kProgressDelayMs = 500;

  // The dialog shows over `window`. `load` replaces the real work and `backgroundBytes` the
  // size threshold (tests).
  explicit BackgroundLyricsReader(QWidget* window, Load load = {},
                                  std::uintmax_t backgroundBytes = kBackgroundBytes);
  // Calls off a running read and waits for its thread.
  ~BackgroundLyricsReader() override;

  void read(const std::string& path, std::function<void(lyrics::LyricsFile)> done) override;

  // True while a read runs on the worker thread.
  bool busy() const { return static_cast<bool>(m_job); }
  // The progress dialog, once a read has needed it.
  QProgressDialog* progressDialog() const { return m_dialog; }

 private:
  struct Job;

  void start(const std::string& path, std::function<void(lyrics::LyricsFile)> done);
  void showProgress();
  void updateProgress();
  void finish(const std::shared_ptr<Job>& job);
  // Ends the running read without handing anything over.
  void callOff();
  void endJob();

  QPointer<QWidget> m_window;
  Load m_load;
  std::uintmax_t m_backgroundBytes;
  std::shared_ptr<Job> m_job;
  std::thread m_thread;
  QTimer m_showTimer;
  QTimer m_progressTimer;
  QPointer<QProgressDialog> m_dialog;
};

}  // namespace app
