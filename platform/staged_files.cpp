#include "platform/staged_files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <system_error>

#include "platform/durable_files.h"
#include "platform/file_paths.h"

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
// does not change while it is listed. Every band's page and list, the
// contents page and every picture a run adds fit with room to spare.
constexpr int kLiveSlots = 1024;
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

// A short name of its own, not the target's name plus a suffix, so that any
// name the file system takes for a page can be staged beside it. Names differ
// between processes too, so two programs writing at once never share one.
std::string temporary_name_in(const std::string& folder) {
  static std::mt19937 generator(std::random_device{}() ^
                                static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
  char name[24];
  std::snprintf(name, sizeof name, ".zelk-%08x.tmp", static_cast<unsigned>(generator()));
  return folder + name;
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

bool is_device(const std::string& followed_target, const fs::file_status& status) {
  return fs::is_other(status) || is_reserved_device_name(followed_target);
}

// Writes, flushes to the disk and closes; false, with errno set, when any of it failed.
bool write_whole(std::FILE* stream, const std::string& target, bool device,
                 const std::function<void(std::FILE*)>& write) {
  write(stream);
  // A failed write left its reason in errno; the calls since rarely touch it.
  bool whole = step_passes(FileStep::kWrite, target) && std::ferror(stream) == 0;
  if (whole) errno = 0;
  whole = whole && step_passes(FileStep::kFlush, target) && std::fflush(stream) == 0;
  // On the disk before the rename, so that a power cut leaves the old file
  // or the new one, never an empty one. A device has no data of its own to flush.
  whole = whole && (device || (step_passes(FileStep::kSync, target) && flush_to_disk(stream)));
  const int reason = errno;
  // Closed whatever happened before, so no descriptor is left open.
  errno = 0;
  const bool closed = std::fclose(stream) == 0;
  if (!whole) errno = reason;
  return whole && step_passes(FileStep::kClose, target) && closed;
}

}  // namespace

// Taken when the failure happens: on Windows the system's own error, which
// system_reason() reads, is gone after the next failing call.
std::error_code last_system_error() {
  return system_reason(std::error_code(errno != 0 ? errno : EIO, std::generic_category()));
}

bool writes_in_place(const std::string& target) {
  const std::string path = followed(target);
  std::error_code ec;
  return !path.empty() && is_device(path, fs::status(path_of(path), ec));
}

void remove_temporary_files() {
  // The files first, then the folders made for them, which only then are
  // empty; a folder made inside another goes before it.
  for (int pass = 0; pass < 2; ++pass)
    for (int slot = kLiveSlots - 1; slot >= 0; --slot)
      if (const char* name = live_temporaries[slot].load(); name != nullptr && (std::remove(name) == 0 || pass == 1))
        live_temporaries[slot].store(nullptr);
}

// Removed before its name leaves the list, so that an interrupt in between
// still finds it.
void StagedFiles::discard(Staged& file) {
  if (!file.temporary.empty()) std::remove(file.temporary.c_str());
  release(file.slot);
  file.temporary.clear();
}

StagedFiles::~StagedFiles() {
  for (Staged& file : files_) discard(file);
  // Deepest first; a folder that holds anything now stays.
  for (auto folder = made_folders_.rbegin(); folder != made_folders_.rend(); ++folder) {
    std::error_code ec;
    if (!committed_) fs::remove(path_of(folder->path), ec);
    release(folder->slot);
  }
}

bool StagedFiles::make_folder(const std::string& folder) {
  std::error_code ec;
  std::vector<fs::path> missing;
  fs::path path = path_of(folder);
  for (; !path.empty() && !fs::exists(fs::symlink_status(path, ec)); path = path.parent_path()) {
    missing.push_back(path);
    if (path == path.parent_path()) break;
  }
  // Said alike on every system: Windows calls a file on the way a missing folder.
  if (!missing.empty() && !path.empty() && !fs::is_directory(path, ec)) {
    error_ = std::make_error_code(std::errc::not_a_directory);
    return false;
  }
  for (auto path = missing.rbegin(); path != missing.rend(); ++path) {
    MadeFolder& made = made_folders_.emplace_back(MadeFolder{name_of(*path)});
    made.slot = hold(made.path.c_str());
    if (!fs::create_directory(*path, ec) && ec) {
      release(made.slot);
      made_folders_.pop_back();
      error_ = ec;
      return false;
    }
  }
  return true;
}

bool StagedFiles::stage(const std::string& target, const char* mode, const std::function<void(std::FILE*)>& write,
                        Kind kind) {
  Staged file{target, followed(target), "", kind};
  error_ = {};
  if (file.target.empty()) {
    error_ = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return false;
  }
  std::error_code ec;
  // A directory at the target can never be replaced by a file.
  if (fs::is_directory(path_of(file.target), ec)) {
    error_ = std::make_error_code(std::errc::is_a_directory);
    return false;
  }
  // A rename would replace a file that its owner made read-only; writing
  // into it in place would have been refused, so refuse here too.
  const fs::file_status status = fs::status(path_of(file.target), ec);
  const bool replaces = fs::is_regular_file(status);
  errno = 0;
  if ((replaces && kind == Kind::kReplace && !may_write(file.target)) ||
      !step_passes(FileStep::kCreate, file.target)) {
    error_ = last_system_error();
    return false;
  }
  if (kind == Kind::kReplace && is_device(file.target, status)) {
    // A FIFO's open waits for its reader, as a shell's redirection does.
    std::FILE* stream = std::fopen(file.target.c_str(), mode);
    if (stream != nullptr && write_whole(stream, file.target, true, write)) return true;
    error_ = last_system_error();
    return false;
  }
  // Exclusive, so a name another program took (or planted as a link) is
  // never opened; with the replaced file's bits from the first moment, so a
  // private settings file is never readable by others, not even briefly.
  std::optional<unsigned> permissions;
  if (replaces) permissions = static_cast<unsigned>(status.permissions() & fs::perms::all);
  Staged& staged = files_.emplace_back(std::move(file));
  std::FILE* stream = nullptr;
  for (int attempt = 0;; ++attempt) {
    // Listed before it exists, so that no moment leaves it unlisted.
    staged.temporary = temporary_name_in(folder_of(staged.target));
    staged.slot = hold(staged.temporary.c_str());
    errno = 0;
    if ((stream = create_new_file(staged.temporary, mode, permissions)) != nullptr) break;
    const int reason = errno;
    release(staged.slot);
    staged.temporary.clear();
    // Anything but a taken name (no folder, no permission) stops every other name too.
    errno = reason;
    if (reason != EEXIST || attempt == 99) break;
  }
  if (stream == nullptr || !write_whole(stream, staged.target, false, write)) {
    error_ = last_system_error();
    discard(staged);
    files_.pop_back();
    return false;
  }
  return true;
}

bool StagedFiles::holds(const std::string& target) const {
  const std::string path = followed(target);
  return std::any_of(files_.begin(), files_.end(), [&](const Staged& file) { return file.target == path; });
}

StagedFiles::Outcome StagedFiles::commit() {
  Outcome outcome;
  committed_ = true;
  for (MadeFolder& folder : made_folders_) release(folder.slot);
  std::vector<std::string> folders;
  auto rename = [&](Staged& file) -> std::error_code {
    if (!step_passes(FileStep::kRename, file.target)) return last_system_error();
    std::error_code ec = move_into_place(path_of(file.temporary), path_of(file.target), file.kind == Kind::kReplace);
    if (!ec) {
      release(file.slot);
      file.temporary.clear();
      const std::string folder = folder_of(file.target);
      if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    }
    return ec;
  };
  for (Staged& file : files_)
    if (file.kind == Kind::kAddOnly) {
      // One put there since it was staged is the user's, and as good.
      if (std::error_code ec = rename(file); ec && ec != std::errc::file_exists)
        outcome.not_added.emplace_back(file.name, ec);
    }
  for (Staged& file : files_) {
    if (file.kind != Kind::kReplace || file.temporary.empty()) continue;
    if (!outcome.whole()) {
      outcome.not_replaced.push_back(file.name);
    } else if (std::error_code ec = rename(file)) {
      outcome.failed = file.name;
      outcome.reason = ec;
    } else {
      outcome.replaced.push_back(file.name);
    }
  }
  // Each rename lives in its folder: without this a power cut may bring back
  // the old name, or none. Once per folder, after all of its renames.
  for (const std::string& folder : folders) flush_folder(folder.empty() ? "." : folder);
  for (Staged& file : files_) discard(file);
  return outcome;
}

}  // namespace zelk
