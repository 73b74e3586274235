// Where the running program reads its data and keeps the user's files.
//
// Portable (a build tree, an unpacked folder, the Windows zip): everything
// lies beside the program, its data and the user's pages and settings alike.
// Installed (the program in <prefix>/bin, its data in <prefix>/share/zelk2html/
// with images/ and ZELK/index.html): the data is read from share/zelk2html/,
// and the user's settings and pages go where the desktop keeps such things,
// never into the program's own folders, which the user may not be able to write.
// The Windows installer lays its folder out the same way, so one rule serves
// both: an unpacked zip has no bin/ and stays portable.
//
//   ProgramFolders folders = program_folders("/usr/bin/zelk2html", user);
//   folders.settings_file;  // user->config + "/zelk2html/zelk2html.ini"
#pragma once

#include <optional>
#include <string>

namespace zelk {

// The user's own folders as the desktop names them.
struct UserFolders {
  std::string config;     // $XDG_CONFIG_HOME, or ~/.config; Windows: roaming AppData
  std::string documents;  // the desktop's documents folder; Windows: Documents
};

// Folders end with a separator; "" is the current folder.
struct ProgramFolders {
  std::string data;           // holds images/ and ZELK/
  std::string pages;          // pages, and the field pictures copied beside them
  std::string settings_file;  // named after the program: zelk2html.ini
  std::string documents;      // the user's documents folder, where a first Open looks; "" for none
};

// The program's file name without the extension Windows programs carry.
std::string program_base_name(const std::string& program_path);

// The one place that tells portable from installed, by the program's path
// and the files around it. Without user folders (a platform whose programs
// always live portable) the program is portable.
ProgramFolders program_folders(const std::string& program_path, const std::optional<UserFolders>& user);

}  // namespace zelk
