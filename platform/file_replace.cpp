#include "platform/file_replace.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <system_error>

#include "platform/file_paths.h"
#include "platform/durable_files.h"

namespace zelk {

bool (*file_step_hook)(FileStep step, const std::string& target) = nullptr;

namespace {

namespace fs = std::filesystem;

// False for a step the fault tests chose to fail.
bool step_passes(FileStep step, const std::string& target) {
  if (file_step_hook == nullptr || file_step_hook(step, target)) return true;
  errno = EIO;
  return false;
}

// The temporary files not yet committed, for remove_temporary_files(). A
// signal handler may read them, so each is a lock-free pointer to a name that
// does not change while it is listed.
constexpr int kLiveSlots = 16;
std::atomic<const char*> live_temporaries[kLiveSlots];

int hold(const char* name) {
  for (int slot = 0; slot < kLiveSlots; ++slot) {
    const char* none = nullptr;
    if (live_temporaries[slot].compare_exchange_strong(none, name)) return slot;
  }
  return -1;
}

void release(int& slot) {
  if (slot >= 0) live_temporaries[slot].store(nullptr);
  slot = -1;
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
// from the link's own folder. Empty for a chain without end: the link reached
// at its last hop is not the user's page to replace.
std::string followed(const std::string& target) {
  constexpr int kMostHops = 40;  // as the system allows in a path
  fs::path path = path_of(target);
  std::error_code ec;
  for (int hop = 0; fs::is_symlink(fs::symlink_status(path, ec)); ++hop) {
    if (hop == kMostHops) return std::string();
    fs::path next = fs::read_symlink(path, ec);
    if (ec) break;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  return name_of(path);
}

}  // namespace

// Taken when the failure happens: on Windows the system's own error, which
// system_reason() reads, is gone after the next failing call.
std::error_code last_system_error() {
  return system_reason(std::error_code(errno != 0 ? errno : EIO, std::generic_category()));
}

ReplacementFile::ReplacementFile(std::string target, const char* mode, bool keep_existing)
    : target_(followed(target)), keep_existing_(keep_existing) {
  std::error_code ec;
  if (target_.empty()) {
    error_ = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return;
  }
  // A directory at the target can never be replaced by a file.
  if (fs::is_directory(path_of(target_), ec)) {
    error_ = std::make_error_code(std::errc::is_a_directory);
    return;
  }
  // A rename would replace a file that its owner made read-only; writing
  // into it in place would have been refused, so refuse here too.
  const fs::file_status status = fs::status(path_of(target_), ec);
  const bool replaces = fs::is_regular_file(status);
  errno = 0;
  if ((replaces && !may_write(target_)) || !step_passes(FileStep::kCreate, target_)) {
    error_ = last_system_error();
    return;
  }
  in_place_ = (fs::is_other(status) || is_reserved_device_name(target_)) && !keep_existing_;
  if (in_place_) {
    // A FIFO's open waits for its reader, as a shell's redirection does.
    stream_ = std::fopen(target_.c_str(), mode);
    if (stream_ == nullptr) error_ = last_system_error();
    return;
  }
  // Exclusive, so a name another program took (or planted as a link) is
  // never opened; with the replaced file's bits from the first moment, so a
  // private settings file is never readable by others, not even briefly.
  std::optional<unsigned> permissions;
  if (replaces) permissions = static_cast<unsigned>(status.permissions() & fs::perms::all);
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Listed before it exists, so that no moment leaves it unlisted.
    temporary_ = target_ + next_suffix();
    slot_ = hold(temporary_.c_str());
    errno = 0;
    stream_ = create_new_file(temporary_, mode, permissions);
    if (stream_ != nullptr) return;
    const int reason = errno;
    release(slot_);
    temporary_.clear();
    // Anything but a taken name (no folder, no permission) stops every other name too.
    if (reason != EEXIST) {
      errno = reason;
      error_ = last_system_error();
      return;
    }
  }
  error_ = std::make_error_code(std::errc::file_exists);
}

ReplacementFile::~ReplacementFile() {
  if (stream_ != nullptr) std::fclose(stream_);
  release(slot_);
  if (!temporary_.empty()) std::remove(temporary_.c_str());
}

void remove_temporary_files() {
  for (std::atomic<const char*>& slot : live_temporaries)
    if (const char* name = slot.exchange(nullptr)) std::remove(name);
}

bool ReplacementFile::commit() {
  if (stream_ == nullptr) return false;
  // A failed write left its reason in errno; the calls since rarely touch it.
  bool whole = step_passes(FileStep::kWrite, target_) && std::ferror(stream_) == 0;
  if (whole) errno = 0;
  whole = whole && step_passes(FileStep::kFlush, target_) && std::fflush(stream_) == 0;
  // On the disk before the rename, so that a power cut leaves the old file
  // or the new one, never an empty one. A device has no data of its own to flush.
  whole = whole && (in_place_ || (step_passes(FileStep::kSync, target_) && flush_to_disk(stream_)));
  if (!whole) error_ = last_system_error();
  // Closed whatever happened before, so no descriptor is left open.
  errno = 0;
  const bool closed = std::fclose(stream_) == 0;
  stream_ = nullptr;
  if (whole && !(step_passes(FileStep::kClose, target_) && closed)) {
    whole = false;
    error_ = last_system_error();
  }
  if (!whole || in_place_) return whole;
  if (!step_passes(FileStep::kRename, target_)) {
    error_ = last_system_error();
    return false;
  }
  if (std::error_code ec = move_into_place(path_of(temporary_), path_of(target_), !keep_existing_)) {
    error_ = ec;
    return false;
  }
  release(slot_);
  temporary_.clear();
  return true;
}

}  // namespace zelk
