// The names the program derives from paths: the page of a listing, the
// program's own folder and file. Windows also takes "\" as a separator.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>

namespace zelk {

// The longest path kept for a listing, a page, the program or its settings
// file, as the platforms' classic path buffers of 260 bytes allow.
inline constexpr std::size_t kMaxPathLength = 259;

// The longest path the system opens, counted in its own units: on Windows
// UTF-16 code units (MAX_PATH less the terminator, so 259 for a Russian or a
// Chinese name alike), on Linux bytes (PATH_MAX less the terminator).
#ifdef _WIN32
inline constexpr std::size_t kSystemPathLimit = 259;
inline constexpr const char* kSystemPathUnits = "characters";
#else
inline constexpr std::size_t kSystemPathLimit = 4095;
inline constexpr const char* kSystemPathUnits = "bytes";
#endif

// The length of a path in the system's units (its names are UTF-8 on Windows).
std::size_t system_path_length(const std::string& path);

// The part after the last path separator ("grids.csv" of "/logs/grids.csv").
std::string file_name_of(const std::string& path);

// Everything up to and including the last separator ("/logs/"); "" for none.
std::string folder_of(const std::string& path);

// "my.grids.csv" -> "my.grids.html"; with a suffix "-144": "my.grids-144.html".
std::string page_name_for(const std::string& file_name, const std::string& suffix = "");

// True when writing `a` would replace `b`: the same file once links are
// followed (the same device and inode where both exist, the same resolved
// path otherwise), by whatever name either is given.
bool same_file(const std::string& a, const std::string& b);

// Names are bytes on Linux and UTF-8 on Windows, where the programs' manifests
// make UTF-8 the code page of the "A" functions and of the C library's
// fopen. std::filesystem would read a narrow name on Windows in the C
// library's locale instead, so every name passes through these two.
std::filesystem::path path_of(const std::string& name);
std::string name_of(const std::filesystem::path& path);

// The reason to show for a failed file. Windows' C library maps a file that
// another program holds open and one we may not write alike to EACCES; the
// system's own error of that failure, which the library keeps, says which,
// in Windows' own words. Elsewhere the reason as it is.
std::error_code system_reason(std::error_code reason);

// True for a name Windows keeps for a device in every folder (NUL, CON,
// COM1, "nul.txt" alike), which is written into, as "/dev/null" is on Linux.
// False elsewhere, where a device shows as one.
bool is_reserved_device_name(const std::string& path);

// The running program's file as Linux names it in /proc; empty without /proc.
std::string running_program_path();

}  // namespace zelk
