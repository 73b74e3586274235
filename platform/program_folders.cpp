#include "platform/program_folders.h"

#include <filesystem>
#include <system_error>

#include "platform/file_paths.h"

namespace zelk {

namespace {

namespace fs = std::filesystem;

// Only Windows programs carry an extension; a Linux program copied as
// zelk2html-3.3 keeps all of its name (and zelk2html-3.3.ini).
#ifdef _WIN32
constexpr bool kProgramsHaveExtension = true;
#else
constexpr bool kProgramsHaveExtension = false;
#endif

constexpr const char* kDataFolderName = "zelk2html";

// <prefix>/share/zelk2html/ when the program lies in <prefix>/bin and the
// data it ships is there; nothing otherwise. The layout decides, not write
// access: a user's own ~/.local is installed too.
std::optional<fs::path> installed_data_folder(const std::string& program_path) {
  fs::path bin = path_of(program_path).parent_path();
  if (bin.filename() != "bin") return std::nullopt;
  fs::path data = bin.parent_path() / "share" / kDataFolderName;
  std::error_code ec;
  if (!fs::is_directory(data / "images", ec) || !fs::is_regular_file(data / "ZELK" / "index.html", ec))
    return std::nullopt;
  return data;
}

std::string folder_text(const fs::path& folder) { return name_of(folder / ""); }

}  // namespace

std::string program_base_name(const std::string& program_path) {
  std::string name = file_name_of(program_path);
  std::size_t dot = name.rfind('.');
  if (kProgramsHaveExtension && dot != std::string::npos) name.erase(dot);
  return name;
}

ProgramFolders program_folders(const std::string& program_path, const std::optional<UserFolders>& user) {
  std::string settings_name = program_base_name(program_path) + ".ini";
  std::optional<fs::path> data = user ? installed_data_folder(program_path) : std::nullopt;
  const std::string documents = user ? folder_text(path_of(user->documents)) : std::string();
  if (!data) {
    std::string beside = folder_of(program_path);
    return {beside, beside, beside + settings_name, documents};
  }
  return {folder_text(*data), folder_text(path_of(user->documents) / kDataFolderName),
          folder_text(path_of(user->config) / kDataFolderName) + settings_name, documents};
}

}  // namespace zelk
