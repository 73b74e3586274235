// Writes a file so that it is never half-written: the bytes go to a temporary
// file beside the target, which replaces the target only once complete. A
// device, FIFO or socket at the target is written into instead, as Unix tools
// do: "-o /dev/null" discards, and a renamed file must never take its place.
#pragma once

#include <cstdio>
#include <string>
#include <system_error>

namespace zelk {

class ReplacementFile {
 public:
  // mode is "w" (text) or "wb" (raw bytes). A target that is a symbolic link
  // is written through: users link pages into a web or synced folder, and the
  // link must go on showing the new page. With keep_existing, a file that is
  // already at the target is never replaced (the commit fails instead).
  ReplacementFile(std::string target, const char* mode, bool keep_existing = false);
  ~ReplacementFile();  // removes the temporary file unless committed
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Null when the target is a folder or a file we may not write, a chain of
  // links without end, or when the temporary file could not be created.
  std::FILE* stream() const { return stream_; }
  // The system's reason for the step that failed; empty before a failure.
  std::error_code error() const { return error_; }
  // True when the target is a device, FIFO or socket that is written into.
  bool in_place() const { return in_place_; }
  // Flushes to the disk, closes and renames over the target, which keeps the
  // permission bits of the file it replaces; false, with the target
  // untouched, when any write, either flush, the close or the rename failed.
  bool commit();

 private:
  std::string target_;  // with every symbolic link followed
  std::string temporary_;
  std::FILE* stream_ = nullptr;
  bool keep_existing_;
  bool in_place_ = false;
  std::error_code error_;
  int slot_ = -1;  // in the list remove_temporary_files() empties
};

// The last system error, as a reason to show; EIO when the library set none.
std::error_code last_system_error();

// Removes every temporary file not yet committed or given up. Safe to call
// from a signal handler: a run stopped from outside leaves no litter.
void remove_temporary_files();

// The steps of a replacement, in the order the program takes them. Writes
// go through stdio, which reports a failed write only in the stream's error
// flag, so one write step per file stands for any write into it. kFlush
// empties stdio's buffer, kSync waits for the disk.
enum class FileStep { kCreate, kWrite, kFlush, kSync, kClose, kRename };

// The fault tests' seam, null in the program: when set, it is asked before
// every step of every replacement, and false makes that step fail as a full
// or broken disk would.
extern bool (*file_step_hook)(FileStep step, const std::string& target);

}  // namespace zelk
