// Scratch folders, and a child process for faults that must not touch the
// test runner; a crash in the child fails its case, not the whole suite.
#pragma once

#include <functional>
#include <string>

#include "conversion/generate.h"

namespace zelk::faults {

// A fresh temporary folder, removed with all it holds (read-only parts too).
class FaultFolder {
 public:
  FaultFolder();
  ~FaultFolder();
  FaultFolder(const FaultFolder&) = delete;
  FaultFolder& operator=(const FaultFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  // Gives the folder to the user become_unprivileged_user switches to, so
  // that only permission bits decide.
  void hand_to_unprivileged_user() const;

 private:
  std::string path_;
};

// A request as the command line makes it.
GenerateRequest request_for(const std::string& listing, const std::string& page, const std::string& ll_field);

// The names in a folder, sorted, separated by blanks.
std::string names_in(const std::string& folder);

void write_file(const std::string& path, const std::string& bytes);
std::string read_file(const std::string& path);

// What `body` returned in a forked child working in `folder`, or how the
// child died. A body that cannot set up its fault returns "SKIP: <why>".
std::string run_in_child(const std::string& folder, const std::function<std::string()>& body);

// For use inside a child: "" on success, else why not.
std::string become_unprivileged_user();              // no-op when not root
std::string limit_file_size(long bytes);             // writes beyond fail with EFBIG
std::string mount_small_file_system(const std::string& folder, int kilobytes);

// "\n" as "\\n", other control bytes as "\\xNN": a message on one line.
std::string visible(const std::string& text);

}  // namespace zelk::faults

#define ZELK_SKIP_IF_CHILD_SKIPPED(report)                             \
  do {                                                                 \
    if ((report).rfind("SKIP: ", 0) == 0) GTEST_SKIP() << (report);    \
  } while (false)
