#pragma once

#include <string>

namespace files {

// The recovery files of every editor of this user, in one folder. Each run writes a file of its
// own, "recovery-<start time>-<process>.bin", and holds "<same>.lock" locked while it runs, so
// a run whose lock is free has ended, however it ended (closed, killed, crashed). A second
// editor therefore never writes over the first one's file, and the file of a run that ended is
// left alone until a later run's work replaces it.
class RecoveryFolder {
 public:
  // Claims this run's name in `folder` (GBK path, made when missing). An empty folder, or one
  // that cannot be written, keeps nothing.
  explicit RecoveryFolder(std::string folder);
  // Gives the name up: the run has ended and its file is one of an ended run.
  ~RecoveryFolder();
  RecoveryFolder(const RecoveryFolder&) = delete;
  RecoveryFolder& operator=(const RecoveryFolder&) = delete;

  // Whether this run has a name of its own to write under.
  bool usable() const { return m_lock >= 0; }
  // This run's recovery file (GBK path); "" when not usable.
  std::string ownFile() const;
  // The recovery file of the run that ended last among those that left at least one line
  // (a cheap look at each file's head); "" when there is none.
  std::string latestEnded() const;
  // Removes the files of every ended run but `keep`'s: older work that `keep` replaced, files
  // without lines or without a readable head, the locks of runs that wrote nothing and those of
  // runs that died while claiming them.
  void pruneEndedExcept(const std::string& keep);
  // Removes the recovery file `path` of an ended run (it was brought back and lives on in this
  // run's file); a run that still holds its lock keeps it.
  void removeEnded(const std::string& path);

 private:
  // Takes the lock of the run named `stem` when nobody holds it: its descriptor, or -1 while
  // its run lives. A run without a lock file has ended; the result is then -2.
  int lockEnded(const std::string& stem) const;

  std::string m_folder;  // native path
  std::string m_stem;
  int m_lock = -1;
};

}  // namespace files
