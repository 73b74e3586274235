// Listings of 100 MB, made at run time in the build tree and removed after:
// one of ordinary rows (every square of the world, over and over) and one
// that is a single line without end. Too slow for the sanitizer run.
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "conversion/generate.h"
#include "conversion/settings_record.h"
#include "tests/faults/fault_support.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kListingBytes = 100u << 20;

class BigListing : public ::testing::Test {
 protected:
  BigListing() {
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    out = std::fopen(listing.c_str(), "wb");
  }
  ~BigListing() override { fs::remove_all(folder_); }

  GenerateResult generate_from_listing() {
    SettingsRecord record;
    reset_to_defaults(record);
    record.band_index = 1;
    return generate(record, faults::request_for(listing, page, "FN"));
  }

  const fs::path folder_ =
      fs::path(ZELK_FAULTS_WORK) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string listing = (folder_ / "listing.csv").string(), page = (folder_ / "page.html").string();
  std::FILE* out = nullptr;
};

TEST_F(BigListing, HundredMegabytesOfRows) {
  ASSERT_NE(out, nullptr);
  std::fputs("Grid,6M,2M,SAT\n", out);
  std::size_t written = 0;
  while (written < kListingBytes) {
    for (char a = 'A'; a <= 'R'; ++a)
      for (char b = 'A'; b <= 'R'; ++b)
        for (int n = 0; n < 100; ++n) {
          // W, C and * by turns, so every credited class is drawn.
          const char letter = "WC*"[n % 3];
          written += static_cast<std::size_t>(std::fprintf(out, "%c%c%02d,L,%c,S\n", a, b, n, letter));
        }
  }
  ASSERT_EQ(std::fclose(out), 0);

  EXPECT_EQ(generate_from_listing().message,
            "Wrote 1200 grids to " + page + "\n\nPrint on 8.5x11 sheet in Landscape mode to a color printer.\n\n");
  EXPECT_GT(fs::file_size(page), 50000u);
}

// The reader keeps only the grid of a line, yet that grid is the whole line.
TEST_F(BigListing, HundredMegabytesInOneLine) {
  ASSERT_NE(out, nullptr);
  std::fputs("Grid,2M\n", out);
  const std::string block(1 << 20, 'A');
  for (std::size_t i = 0; i < kListingBytes / block.size(); ++i) std::fwrite(block.data(), 1, block.size(), out);
  ASSERT_EQ(std::fclose(out), 0);

  GenerateResult result = generate_from_listing();
  EXPECT_EQ(result.status, GenerateStatus::kFailed);
  EXPECT_EQ(result.message, "Read     0 worked grids from " + listing + "\n");
  EXPECT_FALSE(fs::exists(page));
}

}  // namespace
}  // namespace zelk
