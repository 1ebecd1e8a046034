#include "files/document_recovery.h"

#include <cstdint>
#include <new>
#include <utility>

#include "platform/file_io.h"

namespace files {

namespace {

constexpr const char* kTitle = "tolva_错误提示";
// The largest file a document of the lyrics list can make: 4 GB of lines and their lengths.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{3} * lyrics::LyricsText::kMaxBytes;

}  // namespace

DocumentRecovery::DocumentRecovery(std::string folder, lyrics::LyricsList& list,
                                   lyrics::UndoHistory::Sides sides, lyrics::UndoHistory& history,
                                   platform::Prompter& prompter)
    : m_folder(std::move(folder)),
      m_list(list),
      m_sides(std::move(sides)),
      m_history(history),
      m_prompter(prompter) {
  // Older work of ended runs goes; the latest stays until a later run's work replaces it.
  m_folder.pruneEndedExcept(m_folder.latestEnded());
  if (m_folder.usable()) m_writer = std::thread([this] { run(); });
}

DocumentRecovery::~DocumentRecovery() {
  if (!m_writer.joinable()) return;
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_wake.notify_all();
  m_writer.join();
}

void DocumentRecovery::write() { writeReplacing({}); }

void DocumentRecovery::writeReplacing(std::string replaces) {
  m_changed = false;
  if (!m_folder.usable() || (m_list.count() == 0 && !m_written)) return;
  std::vector<lyrics::LyricsText::Span> spare;
  {
    std::lock_guard lock(m_mutex);
    spare = std::move(m_spare);
  }
  Job job;
  job.replaces = std::move(replaces);
  job.state.lines = m_list.snapshot(std::move(spare));
  job.state.selection = m_list.selection();
  job.state.form = m_list.fileForm();
  job.state.sides = m_sides.read();
  m_written = true;
  hand(std::move(job));
}

void DocumentRecovery::hand(Job job) {
  {
    std::lock_guard lock(m_mutex);
    // A state not yet written is out of date: the newer one takes its place.
    if (m_next && job.replaces.empty()) job.replaces = std::move(m_next->replaces);
    m_next = std::move(job);
  }
  m_wake.notify_all();
}

void DocumentRecovery::writeAndWait() {
  if (m_changed) write();
  std::unique_lock lock(m_mutex);
  m_wake.wait(lock, [this] { return !m_next && !m_busy; });
}

void DocumentRecovery::run() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_wake.wait(lock, [this] { return m_stop || m_next; });
    if (!m_next) return;
    Job job = std::move(*m_next);
    m_next.reset();
    m_busy = true;
    lock.unlock();
    const platform::WriteStatus status = platform::replaceFileFrom(
        m_folder.ownFile(),
        [&job](const platform::PieceSink& put) { return encodeRecoveryFile(job.state, put); });
    if (status == platform::WriteStatus::Ok && !job.replaces.empty()) {
      m_folder.removeEnded(job.replaces);
    }
    std::vector<lyrics::LyricsText::Span> spare = job.state.lines.releaseSpans();
    job = {};
    lock.lock();
    m_spare = std::move(spare);
    m_busy = false;
    m_wake.notify_all();
  }
}

bool DocumentRecovery::canRestore() const { return !m_folder.latestEnded().empty(); }

bool DocumentRecovery::restore() {
  const std::string path = m_folder.latestEnded();
  if (path.empty()) {
    m_prompter.inform("没有可以恢复的歌词：上次关闭时的歌词列表是空的，或者已经恢复过了。",
                      "tolva_提示：", platform::MessageIcon::Information);
    return false;
  }
  std::optional<RecoveredDocument> document;
  try {
    platform::FileBytes file = platform::readFileBytes(path, kMaxFileBytes);
    if (file.status == platform::ReadStatus::Ok) {
      document = decodeRecoveryFile(std::move(file.bytes));
    }
  } catch (const std::bad_alloc&) {
    document.reset();
  }
  if (!document || document->sides.size() != m_sides.read().size()) {
    m_prompter.inform(
        "上次关闭时的歌词无法恢复：恢复文件已损坏或无法读取，歌词列表没有改变。\n" + path, kTitle,
        platform::MessageIcon::Warning);
    return false;
  }
  // The action under way ends first, so the restore is a step of its own.
  m_history.settle();
  m_list.replaceAll(std::move(document->lines));
  m_list.setFileForm(document->form);
  m_sides.write(document->sides);
  m_list.setSelection(document->selection);
  m_history.settle();
  // This run's file takes the document over at once; the ended run's file goes after it.
  writeReplacing(path);
  return true;
}

}  // namespace files
