#include "conversion/file_replace.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "conversion/file_paths.h"

namespace zelk {

namespace file_faults {
namespace {

long failing_step = 0;
long taken = 0;
std::optional<Failure> made_to_fail;

}  // namespace

void fail_step_number(long number) {
  failing_step = number;
  taken = 0;
  made_to_fail.reset();
}

std::optional<Failure> failure() { return made_to_fail; }

}  // namespace file_faults

namespace {

namespace fs = std::filesystem;

// False for the one step the fault tests chose to fail.
bool step_passes(file_faults::Step step, const std::string& target) {
  if (++file_faults::taken != file_faults::failing_step) return true;
  file_faults::made_to_fail = file_faults::Failure{step, target};
  return false;
}

// Temporary names differ between processes too, so two programs writing the
// same page at once never share a temporary file.
std::string next_suffix() {
  static std::mt19937 generator(std::random_device{}() ^
                                static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".tmp%08x", static_cast<unsigned>(generator()));
  return suffix;
}

// Opening for appending writes nothing and leaves the time stamps alone.
bool may_write(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

// The file a chain of links ends at, existing or not; a relative link is read
// from the link's own folder. A loop is left to the open to refuse.
std::string followed(const std::string& target) {
  fs::path path = path_of(target);
  std::error_code ec;
  for (int hop = 0; hop < 40 && fs::is_symlink(fs::symlink_status(path, ec)); ++hop) {
    fs::path next = fs::read_symlink(path, ec);
    if (ec) break;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return name_of(path);
}

}  // namespace

ReplacementFile::ReplacementFile(std::string target, const char* mode, bool keep_existing)
    : target_(followed(target)), keep_existing_(keep_existing) {
  std::error_code ec;
  // A directory at the target can never be replaced by a file.
  if (fs::is_directory(path_of(target_), ec)) return;
  // A rename would replace a file that its owner made read-only; writing
  // into it in place would have been refused, so refuse here too.
  const bool replaces = fs::is_regular_file(path_of(target_), ec);
  if (replaces && !may_write(target_)) return;
  if (!step_passes(file_faults::Step::kCreate, target_)) return;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = target_ + next_suffix();
    if (fs::exists(path_of(candidate), ec)) continue;
    // Anything else that stops the open (no folder, no permission) will stop
    // every other name too.
    stream_ = std::fopen(candidate.c_str(), mode);
    if (stream_ == nullptr) return;
    temporary_ = std::move(candidate);
    // A page kept private (640) must not come back readable by everyone.
    if (replaces) fs::permissions(path_of(temporary_), fs::status(path_of(target_), ec).permissions(), ec);
    return;
  }
}

ReplacementFile::~ReplacementFile() {
  if (stream_ != nullptr) std::fclose(stream_);
  if (!temporary_.empty()) std::remove(temporary_.c_str());
}

bool ReplacementFile::commit() {
  using file_faults::Step;
  if (stream_ == nullptr) return false;
  bool whole = step_passes(Step::kWrite, target_) && std::ferror(stream_) == 0;
  whole = whole && step_passes(Step::kFlush, target_) && std::fflush(stream_) == 0;
  // Closed whatever happened before, so no descriptor is left open.
  const bool closed = std::fclose(stream_) == 0;
  stream_ = nullptr;
  whole = whole && step_passes(Step::kClose, target_) && closed;
  std::error_code ec;
  if (!whole || (keep_existing_ && fs::exists(fs::symlink_status(path_of(target_), ec)))) return false;
  if (!step_passes(Step::kRename, target_)) return false;
  fs::rename(path_of(temporary_), path_of(target_), ec);
  if (ec) return false;
  temporary_.clear();
  return true;
}

}  // namespace zelk
