#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "files/recovery_file.h"
#include "files/recovery_folder.h"
#include "lyrics/lyrics_list.h"
#include "lyrics/undo_history.h"
#include "platform/prompter.h"

namespace files {

// Nothing lost at close: keeps this run's document (lines, selection, header boxes, song row)
// in its recovery file, and brings back the document of the run that ended last. The window's
// thread only takes a snapshot (a copy of the line positions, the line bytes shared); a thread
// of its own encodes and writes the file, atomically. A run writes nothing until its document
// has had a line, so an editor that is started and closed again leaves the previous run's file
// the one to bring back. Bringing a document back reads and decodes its file on that thread too,
// so a large one never holds the window; the window's thread then only puts the lines in.
class DocumentRecovery {
 public:
  // Keeps its files in `folder` (GBK path; "" keeps nothing). `list`, the texts beside it and
  // `history` are the document's; all of them and `prompter` must outlive this.
  DocumentRecovery(std::string folder, lyrics::LyricsList& list, lyrics::UndoHistory::Sides sides,
                   lyrics::UndoHistory& history, platform::Prompter& prompter);
  // Finishes the write under way and stops the writer.
  ~DocumentRecovery();
  DocumentRecovery(const DocumentRecovery&) = delete;
  DocumentRecovery& operator=(const DocumentRecovery&) = delete;

  // The document changed: the next write() has something to write.
  void noteChange() { m_changed = true; }
  // Text typed into a box (the preview box) that has not gone into the lines yet: while
  // `typed` gives one, the file holds the lines that text makes instead of the list's, so a run
  // that ends without taking it back leaves it to bring back. Empty: the list's lines.
  void setTypedText(std::function<std::optional<std::string>()> typed) {
    m_typedText = std::move(typed);
  }
  // Whether the document changed since the last write.
  bool changed() const { return m_changed; }
  // Takes the document as it is now and hands it to the writer (no waiting for the disk).
  void write();
  // write() when the document changed, then waits until the file is on the disk (at close).
  void writeAndWait();
  // How long a change may wait for its write: a second, or ten times what the last write took
  // (up to kLongestWriteDelayMs), so that a huge document keeps the disk and a core busy a tenth
  // of the time at most while it is edited, and a song's every change is kept within a second.
  int writeDelayMs() const;
  static constexpr int kWriteDelayMs = 1000;
  static constexpr int kLongestWriteDelayMs = 10'000;
  static int writeDelayMs(std::int64_t lastWriteNs);
  // Whether an ended run left a document to bring back (a look at the files' heads).
  bool canRestore() const;
  // Starts bringing back the document of the run that ended last: the writer's thread reads and
  // decodes its file, says so through the function of setRestoreReady(), and finishRestore()
  // puts it in. Tells the user at once when there is none. False when nothing was started:
  // none to bring back, or a restore is under way already (the second request adds nothing).
  bool restore();
  // Whether a restore was started and its document not yet put in.
  bool restoring() const { return m_restoring; }
  // `ready` is called on the writer's thread once a restore's file is read; it is to have
  // finishRestore() run on the window's thread. An empty function calls nothing: whoever set
  // it sets that before it goes, and no call comes after that.
  void setRestoreReady(std::function<void()> ready);
  // Puts the document a restore read in, as one step of the undo history; tells the user when
  // its file could not be read. False when nothing changed (nothing read yet, or a damaged file).
  bool finishRestore();
  // Calls off a restore not yet put in (at close): the document stays as it is, and the ended
  // run's file stays where it was.
  void callOffRestore();
  // This run's recovery file (GBK path), "" when there is none.
  std::string ownFile() const { return m_folder.ownFile(); }

 private:
  struct Job {
    RecoveryState state;
    // The ended run's file that this state brought back, removed once this one is written.
    std::string replaces;
  };

  // A restore's file to read, with the number of the restore it belongs to.
  struct ReadRequest {
    std::string path;
    unsigned call = 0;
  };
  // What the writer's thread read of it: nothing when the file was damaged or unreadable.
  struct ReadBack {
    std::string path;
    std::optional<RecoveredDocument> document;
  };

  // write(), and once this state is on the disk the ended run's file `replaces` goes.
  void writeReplacing(std::string replaces);
  void hand(Job job);
  void run();
  // On the writer's thread, with `lock` held on entry and on return.
  void readForRestore(std::unique_lock<std::mutex>& lock);

  RecoveryFolder m_folder;
  lyrics::LyricsList& m_list;
  lyrics::UndoHistory::Sides m_sides;
  lyrics::UndoHistory& m_history;
  platform::Prompter& m_prompter;
  bool m_changed = false;
  // Whether this run has written its file: from then on it always has its latest state.
  bool m_written = false;
  // From restore() until finishRestore() or callOffRestore(); the window's thread only.
  bool m_restoring = false;

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::optional<Job> m_next;
  bool m_busy = false;
  bool m_stop = false;
  // The line positions' storage of the last written snapshot, for the next one.
  std::vector<lyrics::LyricsText::Span> m_spare;
  std::optional<ReadRequest> m_toRead;
  std::optional<ReadBack> m_read;
  std::function<void()> m_restoreReady;
  std::function<std::optional<std::string>()> m_typedText;
  // Counts the restores called off; a read of an earlier count is dropped, and stops early.
  std::atomic<unsigned> m_restoreCall{0};
  // How long the writer's last write took, snapshot handed to file renamed.
  std::atomic<std::int64_t> m_lastWriteNs{0};
  std::thread m_writer;
};

}  // namespace files
