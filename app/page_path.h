// Where the page of a chosen listing is written: the program's own folder,
// under the listing's file name with its last extension replaced by ".html".
#pragma once

#include <string>

namespace zelk {

// The longest path the dialog keeps (input and output), as the platforms'
// classic path buffers of 260 bytes allow.
inline constexpr std::size_t kMaxPathLength = 259;

// The part after the last path separator ("grids.csv" of "/logs/grids.csv").
std::string file_name_of(const std::string& path);

// "my.grids.csv" -> "my.grids.html", "grids" -> "grids.html".
std::string page_name_for(const std::string& file_name);

}  // namespace zelk
