#include "app/adapters/background_lyrics_reader.h"

#include <sys/stat.h>
#include <QProgressDialog>

#include <atomic>
#include <limits>

#include "platform/native_path.h"

namespace app {

namespace {

constexpr int kProgressSteps = 1000;
constexpr int kProgressPollMs = 50;

std::uintmax_t fileSize(const std::string& gbkPath) {
  struct stat info {};
  if (::stat(platform::nativePath(gbkPath).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
  return static_cast<std::uintmax_t>(info.st_size);
}

}  // namespace

// Shared by the window and the worker; the worker writes `file` before it posts its end.
struct BackgroundLyricsReader::Job {
  std::function<void(lyrics::LyricsFile)> done;
  std::atomic<bool> stop{false};
  std::atomic<int> progress{0};
  lyrics::LyricsFile file;
};

BackgroundLyricsReader::BackgroundLyricsReader(QWidget* window, Load load,
                                               std::uintmax_t backgroundBytes)
    : m_window(window), m_load(std::move(load)), m_backgroundBytes(backgroundBytes) {
  if (!m_load) {
    m_load = [](const std::string& path, const std::function<bool(double)>& onProgress) {
      return lyrics::loadLyricsFile(path, kMaxFileBytes, onProgress);
    };
  }
  m_showTimer.setSingleShot(true);
  // A coarse timer may fire 5 per cent early, and the dialog is not to show before its time.
  m_showTimer.setTimerType(Qt::PreciseTimer);
  connect(&m_showTimer, &QTimer::timeout, this, &BackgroundLyricsReader::showProgress);
  connect(&m_progressTimer, &QTimer::timeout, this, &BackgroundLyricsReader::updateProgress);
}

BackgroundLyricsReader::~BackgroundLyricsReader() {
  callOff();
  if (m_dialog) delete m_dialog.data();
}

void BackgroundLyricsReader::read(const std::string& path,
                                  std::function<void(lyrics::LyricsFile)> done) {
  callOff();
  if (fileSize(path) < m_backgroundBytes) {
    done(m_load(path, {}));
    return;
  }
  start(path, std::move(done));
}

void BackgroundLyricsReader::start(const std::string& path,
                                   std::function<void(lyrics::LyricsFile)> done) {
  auto job = std::make_shared<Job>();
  job->done = std::move(done);
  m_job = job;
  m_thread = std::thread([this, job, path, load = m_load] {
    job->file = load(path, [&job](double share) {
      job->progress.store(static_cast<int>(share * kProgressSteps), std::memory_order_relaxed);
      return !job->stop.load(std::memory_order_relaxed);
    });
    // Dropped unread should the reader be gone by then; the destructor joins this thread first.
    QMetaObject::invokeMethod(
        this, [this, job] { finish(job); }, Qt::QueuedConnection);
  });
  m_showTimer.start(kProgressDelayMs);
}

void BackgroundLyricsReader::showProgress() {
  if (!m_job || !m_window) return;
  if (!m_dialog) {
    m_dialog = new QProgressDialog(m_window);
    m_dialog->setWindowTitle(QStringLiteral("tolva_打开歌词文件"));
    m_dialog->setLabelText(QStringLiteral("正在读取歌词文件，请稍候……"));
    m_dialog->setCancelButtonText(QStringLiteral("取消"));
    m_dialog->setRange(0, kProgressSteps);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    // Shown by this reader after its own delay, never by the dialog's guess of the time left.
    m_dialog->setMinimumDuration(std::numeric_limits<int>::max());
    connect(m_dialog, &QProgressDialog::canceled, this, &BackgroundLyricsReader::callOff);
  }
  m_dialog->setValue(m_job->progress.load(std::memory_order_relaxed));
  m_dialog->show();
  m_progressTimer.start(kProgressPollMs);
}

void BackgroundLyricsReader::updateProgress() {
  if (m_job && m_dialog) m_dialog->setValue(m_job->progress.load(std::memory_order_relaxed));
}

void BackgroundLyricsReader::finish(const std::shared_ptr<Job>& job) {
  // A read called off or overtaken has been ended already.
  if (job != m_job) return;
  endJob();
  if (!job->file.cancelled && job->done) job->done(std::move(job->file));
}

void BackgroundLyricsReader::callOff() {
  if (!m_job) return;
  m_job->stop.store(true, std::memory_order_relaxed);
  endJob();
}

void BackgroundLyricsReader::endJob() {
  if (m_thread.joinable()) m_thread.join();
  m_job.reset();
  m_showTimer.stop();
  m_progressTimer.stop();
  if (m_dialog) m_dialog->hide();
}

}  // namespace app
