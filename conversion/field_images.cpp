#include "conversion/field_images.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "platform/file_paths.h"
#include "mappage/map_extent.h"

namespace zelk {

namespace {

// The whole picture, or nothing when it could not be read; a picture is a few kilobytes.
std::optional<std::string> bytes_of(const std::filesystem::path& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name_of(path).c_str(), "rb"), &std::fclose);
  if (file == nullptr) return std::nullopt;
  std::string bytes;
  char buffer[1 << 14];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) bytes.append(buffer, n);
  if (std::ferror(file.get()) != 0) return std::nullopt;
  return bytes;
}

}  // namespace

std::vector<std::string> field_image_names(const SettingsRecord& record) {
  std::vector<std::string> names;
  const MapExtent map = map_extent(record);
  for (int column = 0; column < map.columns; ++column)
    for (int row = 0; row < map.rows; ++row)
      names.push_back(std::string{static_cast<char>(map.west + column), static_cast<char>(map.south + row)} + ".gif");
  return names;
}

FieldImageCopy add_missing_field_images(StagedFiles& files, const SettingsRecord& record,
                                        const std::filesystem::path& source_folder,
                                        const std::filesystem::path& page_path) {
  namespace fs = std::filesystem;
  FieldImageCopy result;
  const fs::path target_folder = page_path.parent_path() / "images";
  std::error_code ec;
  bool folder_ready = false;
  for (const std::string& name : field_image_names(record)) {
    const fs::path target = target_folder / name;
    if (fs::exists(fs::symlink_status(target, ec)) || files.holds(name_of(target))) continue;
    // Without a picture to copy, no empty folder is left beside the page.
    if (!fs::is_regular_file(source_folder / name, ec)) {
      ++result.failed;
      if (result.problem.empty() && !fs::is_directory(source_folder, ec))
        result.problem = "found no folder " + name_of(source_folder);
      continue;
    }
    if (!folder_ready && !files.make_folder(name_of(target_folder)) && result.problem.empty())
      result.problem = "could not create " + name_of(target_folder) + ": " + files.error().message();
    folder_ready = true;
    // A copy cut short by a full disk would stay for good, since an image
    // there is never replaced: it gets its name only when whole.
    const std::optional<std::string> bytes = bytes_of(source_folder / name);
    if (bytes && files.stage(
                     name_of(target), "wb",
                     [&](std::FILE* to) { std::fwrite(bytes->data(), 1, bytes->size(), to); },
                     StagedFiles::Kind::kAddOnly)) {
      ++result.added;
      continue;
    }
    ++result.failed;
    if (result.problem.empty())
      result.problem = "could not write " + name_of(target) + (files.error() ? ": " + files.error().message() : "");
  }
  return result;
}

}  // namespace zelk
