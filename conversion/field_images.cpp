#include "conversion/field_images.h"

#include <cstdio>
#include <memory>
#include <system_error>

#include "platform/file_paths.h"
#include "platform/file_replace.h"
#include "mappage/map_page.h"

namespace zelk {

namespace {

// False when the source could not be read; a failed write shows at commit.
bool copy_bytes(std::FILE* from, std::FILE* to) {
  char buffer[1 << 14];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, from)) > 0;) std::fwrite(buffer, 1, n, to);
  return std::ferror(from) == 0;
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

FieldImageCopy add_missing_field_images(const SettingsRecord& record, const std::filesystem::path& source_folder,
                                        const std::filesystem::path& page_path) {
  namespace fs = std::filesystem;
  FieldImageCopy result;
  const fs::path target_folder = page_path.parent_path() / "images";
  std::error_code ec;
  bool folder_ready = false;
  for (const std::string& name : field_image_names(record)) {
    const fs::path target = target_folder / name;
    if (fs::exists(fs::symlink_status(target, ec))) continue;
    // Without a picture to copy, no empty folder is left beside the page.
    if (!fs::is_regular_file(source_folder / name, ec)) {
      ++result.failed;
      if (result.problem.empty() && !fs::is_directory(source_folder, ec))
        result.problem = "found no folder " + name_of(source_folder);
      continue;
    }
    if (!folder_ready) {
      fs::create_directories(target_folder, ec);
      if (ec) result.problem = "could not create " + name_of(target_folder) + ": " + ec.message();
      folder_ready = true;
    }
    // A copy cut short by a full disk would stay for good, since an image
    // there is never replaced: it gets its name only when whole.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> source(std::fopen(name_of(source_folder / name).c_str(), "rb"),
                                                           &std::fclose);
    ReplacementFile copy(name_of(target), "wb", /*keep_existing=*/true);
    if (source != nullptr && copy.stream() != nullptr && copy_bytes(source.get(), copy.stream()) && copy.commit()) {
      ++result.added;
      continue;
    }
    ++result.failed;
    if (result.problem.empty())
      result.problem = "could not write " + name_of(target) + (copy.error() ? ": " + copy.error().message() : "");
  }
  return result;
}

}  // namespace zelk
