// make_field_images GEOGRAPHY OUTPUT_FOLDER
//
// Draws images/XX.gif for every field AA to RR from the reduced geography,
// and the plain picture under every name past "R" that a page can show.
// Runs at build time; the build puts OUTPUT_FOLDER beside the programs.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "field_art/field_geography.h"
#include "field_art/field_picture.h"
#include "field_art/gif_file.h"
#include "mappage/map_extent.h"

namespace {

std::string image_name(char longitude_letter, char latitude_letter) {
  return std::string{longitude_letter, latitude_letter} + ".gif";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_field_images GEOGRAPHY OUTPUT_FOLDER\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  zelk::Geography geography;
  std::string error;
  if (!in) {
    std::cerr << "make_field_images: cannot open " << argv[1] << "\n";
    return 1;
  }
  if (!zelk::read_geography(in, geography, error)) {
    std::cerr << "make_field_images: " << argv[1] << ": " << error << "\n";
    return 1;
  }
  const std::filesystem::path folder = argv[2];
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    std::cerr << "make_field_images: cannot create " << folder.string() << ": " << ec.message() << "\n";
    return 1;
  }
  const zelk::IndexedPicture plain = zelk::draw_plain_field();
  const zelk::MapExtent farthest = zelk::farthest_map_extent();
  for (char lon = 'A'; lon <= farthest.east(); ++lon) {
    for (char lat = 'A'; lat <= farthest.north(); ++lat) {
      const bool real = lon <= 'R' && lat <= 'R';
      const std::string path = (folder / image_name(lon, lat)).string();
      if (!zelk::write_gif(real ? zelk::draw_field(geography, lon, lat) : plain, path, error)) {
        std::cerr << "make_field_images: " << error << "\n";
        return 1;
      }
    }
  }
  return 0;
}
