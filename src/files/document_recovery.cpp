#include "files/document_recovery.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <new>
#include <utility>

#include "lyrics/text_rules.h"
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
    // A read under way stops at its next piece; writes still go to the disk.
    ++m_restoreCall;
    m_restoreReady = nullptr;
  }
  m_wake.notify_all();
  m_writer.join();
}

void DocumentRecovery::write() { writeReplacing({}); }

int DocumentRecovery::writeDelayMs() const { return writeDelayMs(m_lastWriteNs.load()); }

int DocumentRecovery::writeDelayMs(std::int64_t lastWriteNs) {
  const std::int64_t tenTimesMs = lastWriteNs / 100'000;
  return static_cast<int>(
      std::clamp<std::int64_t>(tenTimesMs, kWriteDelayMs, kLongestWriteDelayMs));
}

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
  const std::optional<std::string> typed = m_typedText ? m_typedText() : std::nullopt;
  if (typed) {
    lyrics::LyricsList typedLines;
    typedLines.replaceAll(lyrics::splitLyricsText(*typed));
    job.state.lines = typedLines.snapshot(std::move(spare));
  } else {
    job.state.lines = m_list.snapshot(std::move(spare));
  }
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
    m_wake.wait(lock, [this] { return m_stop || m_next || m_toRead; });
    // Writes go first: they hold the work of this run.
    if (!m_next) {
      if (m_stop) return;
      readForRestore(lock);
      continue;
    }
    Job job = std::move(*m_next);
    m_next.reset();
    m_busy = true;
    lock.unlock();
    const auto started = std::chrono::steady_clock::now();
    const platform::WriteStatus status = platform::replaceFileFrom(
        m_folder.ownFile(),
        [&job](const platform::PieceSink& put) { return encodeRecoveryFile(job.state, put); });
    if (status == platform::WriteStatus::Ok && !job.replaces.empty()) {
      m_folder.removeEnded(job.replaces);
    }
    std::vector<lyrics::LyricsText::Span> spare = job.state.lines.releaseSpans();
    job = {};
    m_lastWriteNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now() - started)
                        .count();
    lock.lock();
    m_spare = std::move(spare);
    m_busy = false;
    m_wake.notify_all();
  }
}

void DocumentRecovery::readForRestore(std::unique_lock<std::mutex>& lock) {
  const ReadRequest request = std::move(*m_toRead);
  m_toRead.reset();
  lock.unlock();
  const auto calledOff = [this, &request] {
    return m_restoreCall.load(std::memory_order_relaxed) != request.call;
  };
  ReadBack read{request.path, std::nullopt};
  try {
    platform::FileBytes file =
        platform::readFileBytes(request.path, kMaxFileBytes,
                                [&calledOff](std::size_t, std::size_t) { return !calledOff(); });
    if (file.status == platform::ReadStatus::Ok && !calledOff()) {
      read.document = decodeRecoveryFile(std::move(file.bytes));
    }
  } catch (const std::bad_alloc&) {
    read.document.reset();
  }
  lock.lock();
  if (calledOff()) return;
  m_read = std::move(read);
  if (m_restoreReady) m_restoreReady();
}

bool DocumentRecovery::canRestore() const { return !m_folder.latestEnded().empty(); }

void DocumentRecovery::setRestoreReady(std::function<void()> ready) {
  std::lock_guard lock(m_mutex);
  m_restoreReady = std::move(ready);
}

bool DocumentRecovery::restore() {
  if (m_restoring) return false;
  const std::string path = m_folder.latestEnded();
  if (path.empty()) {
    m_prompter.inform("没有可以恢复的歌词：上次关闭时的歌词列表是空的，或者已经恢复过了。",
                      "tolva_提示：", platform::MessageIcon::Information);
    return false;
  }
  {
    std::lock_guard lock(m_mutex);
    m_toRead = ReadRequest{path, m_restoreCall.load(std::memory_order_relaxed)};
  }
  // A folder this run cannot write to still lets it bring an ended run's document back.
  if (!m_writer.joinable()) m_writer = std::thread([this] { run(); });
  m_wake.notify_all();
  m_restoring = true;
  return true;
}

bool DocumentRecovery::finishRestore() {
  std::optional<ReadBack> read;
  {
    std::lock_guard lock(m_mutex);
    read = std::move(m_read);
    m_read.reset();
  }
  if (!read) return false;
  m_restoring = false;
  if (!read->document || read->document->sides.size() != m_sides.read().size()) {
    m_prompter.inform(
        "上次关闭时的歌词无法恢复：恢复文件已损坏或无法读取，歌词列表没有改变。\n" + read->path,
        kTitle, platform::MessageIcon::Warning);
    return false;
  }
  RecoveredDocument& document = *read->document;
  // The user asked for this document, so it comes in even when the document was edited while
  // its file was read; those edits are not lost but become a step of their own just before it,
  // and one undo brings them back. The action under way ends first, so the restore is a step
  // of its own.
  m_history.settle();
  m_list.replaceAll(std::move(document.lines));
  m_list.setFileForm(document.form);
  m_sides.write(document.sides);
  m_list.setSelection(document.selection);
  m_history.settle();
  // This run's file takes the document over at once; the ended run's file goes after it.
  writeReplacing(read->path);
  return true;
}

void DocumentRecovery::callOffRestore() {
  std::lock_guard lock(m_mutex);
  ++m_restoreCall;
  m_toRead.reset();
  m_read.reset();
  m_restoring = false;
}

}  // namespace files
