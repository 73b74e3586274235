// Puts the field images a map page names beside the page. The page shows
// images/XX.gif relative to itself and the program ships the pictures in its
// own images/ folder, so a page written elsewhere would otherwise show no
// geography. Only missing pictures are added: one the user has put there is
// never replaced.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/staged_files.h"
#include "record/settings_record.h"

namespace zelk {

// The file names ("FN.gif") of the map's fields, west to east and south to
// north, as the page's style block names them; only two-letter names A..Z.
std::vector<std::string> field_image_names(const SettingsRecord& record);

struct FieldImageCopy {
  int added = 0;
  int failed = 0;  // missing in the source too, or not copied
  // The first reason a picture could not be put there ("could not create
  // /p/images: Permission denied"); a picture missing from a source folder
  // that exists is none.
  std::string problem;
};

// Stages into images/ beside `page_path` each picture of the map that is not
// there yet (nor staged), from `source_folder`, to be added with the page.
// Never overwrites, never throws for I/O.
FieldImageCopy add_missing_field_images(StagedFiles& files, const SettingsRecord& record,
                                        const std::filesystem::path& source_folder,
                                        const std::filesystem::path& page_path);

}  // namespace zelk
