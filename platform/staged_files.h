// A run's output files, committed together: all of them, or none. Each is
// written whole into an exclusive temporary file of a short name of its own
// in its target's folder, flushed to the disk and closed as it is staged;
// only once every one is ready does commit() rename them into place, in the
// order staged, and flush each folder once. A run that stops before that
// (an error, an exception, Ctrl-C) leaves every old file as it was and no
// temporary file.
//
//   StagedFiles files;
//   if (!files.stage(page, "w", write_page)) return fail(files.error());
//   if (!files.stage(list, "w", write_list)) return fail(files.error());
//   StagedFiles::Outcome outcome = files.commit();
//
// A target that is a symbolic link is written through: users link pages into
// a web or synced folder, and the link must go on showing the new page. A
// device, FIFO or socket at a target is written into at once, as Unix tools
// do: "-o /dev/null" discards, and a renamed file must never take its place.
#pragma once

#include <cstdio>
#include <functional>
#include <list>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace zelk {

class StagedFiles {
 public:
  // A picture beside a page is added, never replaced, and its trouble spoils
  // nothing else: the page only shows that field plain.
  enum class Kind { kReplace, kAddOnly };

  StagedFiles() = default;
  ~StagedFiles();  // removes every temporary file not moved into place, and the folders made for them
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;

  // Creates the folder and those on its way; they go again unless a file
  // was committed into them. False, with error(), when it could not.
  bool make_folder(const std::string& folder);
  // Writes the whole file for `target` through `write` ("w" text or "wb"
  // raw bytes) and flushes it to the disk. False, with the reason in
  // error(), when the target is a folder or a file we may not write, or the
  // temporary file could not be created, written, flushed or closed; then
  // nothing of it is left.
  bool stage(const std::string& target, const char* mode, const std::function<void(std::FILE*)>& write,
             Kind kind = Kind::kReplace);
  std::error_code error() const { return error_; }
  // True when a file for `target` is staged already.
  bool holds(const std::string& target) const;

  struct Outcome {
    // The first file that could not be renamed into place, and why; empty
    // when every file went in.
    std::string failed;
    std::error_code reason;
    std::vector<std::string> replaced;      // in place before the failure
    std::vector<std::string> not_replaced;  // after it, left as they were
    // Add-only files that could not be added (not one found there by then).
    std::vector<std::pair<std::string, std::error_code>> not_added;
    bool whole() const { return failed.empty(); }
  };
  // Renames every staged file into place: add-only files first, so that a
  // page never names a picture still to come, then the rest in the order
  // staged. A rename that fails stops the rest.
  Outcome commit();

 private:
  struct Staged {
    std::string name;       // as the run names it
    std::string target;     // with every symbolic link followed
    std::string temporary;  // empty once in place, or for a device written into
    Kind kind;
    int slot = -1;  // in the list remove_temporary_files() empties
  };
  void discard(Staged& file);

  struct MadeFolder {
    std::string path;
    int slot = -1;
  };
  // Lists: the signal handler holds pointers into their names.
  std::list<Staged> files_;
  std::list<MadeFolder> made_folders_;
  bool committed_ = false;
  std::error_code error_;
};

// True when writing `target` writes into a device, FIFO or socket (or a
// name Windows keeps for one) rather than replacing a file: such a page has
// no folder of its own for pictures.
bool writes_in_place(const std::string& target);

// The last system error, as a reason to show; EIO when the library set none.
std::error_code last_system_error();

// Removes every temporary file not yet committed or given up. Safe to call
// from a signal handler: a run stopped from outside leaves no litter.
void remove_temporary_files();

// The steps of a staged file, in the order the program takes them. Writes
// go through stdio, which reports a failed write only in the stream's error
// flag, so one write step per file stands for any write into it. kFlush
// empties stdio's buffer, kSync waits for the disk, kRename is the commit.
enum class FileStep { kCreate, kWrite, kFlush, kSync, kClose, kRename };

// The fault tests' seam, null in the program: when set, it is asked before
// every step of every file, and false makes that step fail as a full or
// broken disk would.
extern bool (*file_step_hook)(FileStep step, const std::string& target);

}  // namespace zelk
