#pragma once

#include <condition_variable>
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
// the one to bring back.
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
  // Whether the document changed since the last write.
  bool changed() const { return m_changed; }
  // Takes the document as it is now and hands it to the writer (no waiting for the disk).
  void write();
  // write() when the document changed, then waits until the file is on the disk (at close).
  void writeAndWait();
  // Whether an ended run left a document to bring back (a look at the files' heads).
  bool canRestore() const;
  // Brings back the document of the run that ended last as one step of the undo history; tells
  // the user when there is none or its file cannot be read. False when nothing changed.
  bool restore();
  // This run's recovery file (GBK path), "" when there is none.
  std::string ownFile() const { return m_folder.ownFile(); }

 private:
  struct Job {
    RecoveryState state;
    // The ended run's file that this state brought back, removed once this one is written.
    std::string replaces;
  };

  // write(), and once this state is on the disk the ended run's file `replaces` goes.
  void writeReplacing(std::string replaces);
  void hand(Job job);
  void run();

  RecoveryFolder m_folder;
  lyrics::LyricsList& m_list;
  lyrics::UndoHistory::Sides m_sides;
  lyrics::UndoHistory& m_history;
  platform::Prompter& m_prompter;
  bool m_changed = false;
  // Whether this run has written its file: from then on it always has its latest state.
  bool m_written = false;

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::optional<Job> m_next;
  bool m_busy = false;
  bool m_stop = false;
  // The line positions' storage of the last written snapshot, for the next one.
  std::vector<lyrics::LyricsText::Span> m_spare;
  std::thread m_writer;
};

}  // namespace files
