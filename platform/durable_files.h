// The few system calls that make a replaced file durable and private, which
// standard C++ cannot make: exclusive creation with chosen permission bits,
// a flush to the disk itself, and a rename that reaches the disk. One file
// per platform implements them (durable_files_posix.cpp, _win32.cpp).
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace zelk {

// Opens `path` for writing ("w" or "wb") only when nothing is there by that
// name, not even a link. With `permissions` (POSIX mode bits; Windows has
// none to give) the file has those bits exactly and never more, from the
// moment it exists; without, the system's default for a new file. Null
// with errno set (EEXIST: the name is taken) when it could not.
std::FILE* create_new_file(const std::string& path, const char* mode, std::optional<unsigned> permissions);

// After fflush: waits until the file's data is on the disk. False, with
// errno set, when the disk reported a failure.
bool flush_to_disk(std::FILE* file);

// Renames `from` to `to`, replacing a file there only when `replace` is set
// (else the rename fails with file_exists, at the moment of the rename). On
// Windows the move is written through to the disk; on Linux the new name
// is durable once its folder is flushed.
std::error_code move_into_place(const std::filesystem::path& from, const std::filesystem::path& to, bool replace);

// Flushes a folder's names to the disk, after renames into it. Best effort:
// some file systems cannot flush a folder, and the files are in place either
// way. Nothing to do on Windows, whose moves are written through.
void flush_folder(const std::string& folder);

}  // namespace zelk
