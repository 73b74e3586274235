// What a status letter means, and the any band built from it.
#include "listing/status.h"

#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "listing/band_table.h"
#include "test_helpers.h"

namespace zelk {
namespace {

TEST(Status, AnyBandTakesEachGridsBestStatus) {
  std::FILE* in = test::stream_of("Grid,6M,2M,Notes,SAT\nEM00,W,C,*\nEM01,S,*\nEM02,N,,,W\nEM03,S,C\nEM04,x\nEM05\n");
  const ListingBands listing = read_every_band(in, "L.csv");
  std::fclose(in);
  // EM00's "*" is in no band's column; EM03's S and C are both confirmed unless S counts as checked.
  for (auto [s_checked, classes] : {std::pair{0, "confirmed checked worked confirmed unworked -"},
                                    {1, "confirmed checked worked checked unworked -"}}) {
    SettingsRecord record = test::record_for(kAnyBand);
    record.submitted_as_checked_option = s_checked;
    const GridIndex index = any_band_index(listing, record);
    std::string seen;
    for (const char* grid : {"EM00", "EM01", "EM02", "EM03", "EM04", "EM05"}) {
      const std::optional<char> letter = index.find(grid);
      static constexpr const char* kNames[] = {"unworked", "worked", "confirmed", "checked"};
      seen += std::string(seen.empty() ? "" : " ") + (letter ? kNames[static_cast<int>(status_of(*letter, record))] : "-");
    }
    EXPECT_EQ(seen, classes) << s_checked;
  }
}

}  // namespace
}  // namespace zelk
