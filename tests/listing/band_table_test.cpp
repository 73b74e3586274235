// The band table and the two rule sets that read a column label.
#include "listing/band_table.h"

#include <string>

#include <gtest/gtest.h>

#include "scratch_folder.h"

namespace zelk {
namespace {

TEST(BandTable, Captions) {
  const char* expected[] = {"6 M (50 MHz)",    "2 M (144 MHz)",    "1.25 CM (220 MHz)", "70 CM (430 MHz)",
                            "35 CM (900 MHz)", "23 CM (1296 MHz)", "13 CM (2304 MHz)",  "9 CM (3456 MHz)",
                            "6 CM (5768 MHz)", "3 CM (10 GHZ)",    "Satellite"};
  for (int band = 0; band < kBandCount; ++band) EXPECT_STREQ(band_caption(band), expected[band]);
  EXPECT_STREQ(band_caption(-1), "");
  EXPECT_STREQ(band_caption(11), "");
}

TEST(BandTable, LabelRules) {
  struct Case {
    const char* label;
    int by_band_label, by_frequency;
  };
  const Case cases[] = {
      {"2", 1, -1},          {"2m", 1, -1},         {" +2M", 1, -1},      {"-2", -1, -1},
      {"6M", 0, -1},         {"6 M (CW)", 8, -1},   {"6cm", 8, -1},       {"3CM", 9, -1},
      {"9CM", 7, -1},        {"13CM", 6, -1},       {"23cm", 5, -1},      {"33CM", 4, -1},
      {"35CM", -1, -1},      {"70CM", 3, -1},       {"1.25CM", 2, -1},    {"1.19", 2, -1},
      {"1.26", -1, -1},      {".1.2", -1, -1},      {"sat", 10, 10},      {"Sat", 10, 10},
      {"SATELLITE", -1, -1}, {" SAT", -1, -1},      {"50", -1, 0},        {"144", -1, 1},
      {"220", -1, 2},        {"430", -1, -1},       {"432", -1, -1},      {"440", -1, 3},
      {"900", -1, 4},        {"10G", -1, 9},        {"1.3", -1, 5},       {"1.29", -1, 5},
      {"1.31", -1, -1},      {"2.3", 1, 6},         {"2.29", 1, 6},       {"3.3", 9, 7},
      {"3.4", 9, -1},        {"5.6", -1, 8},        {"5.7", -1, -1},      {"1296", -1, -1},
      {"99999999999", -1, -1},
      // The leading number is read as the C library reads it.
      {"1.2e0", 2, -1},      {"0x1.4", 2, -1},      {"+1.3GHZ", -1, 5},   {"+-1.2", -1, -1},
      // Captions: all but 35 CM (its number is 33) and Satellite name their band.
      {"35 CM (900 MHz)", -1, -1}, {"6 CM (5768 MHz)", 8, -1}, {"Satellite", -1, -1},
  };
  for (const Case& c : cases) {
    SettingsRecord record = test::record_for(-1);
    std::string label = c.label;
    EXPECT_EQ(band_from_label(label.data(), "L.csv", record), c.by_band_label) << c.label;
    label = c.label;
    EXPECT_EQ(band_from_frequency(label.data(), "L.csv", record), c.by_frequency) << c.label;
  }
}

TEST(BandTable, UnrecognizedLabelIsUpperCasedAndNamedInTheMessage) {
  SettingsRecord record = test::record_for(-1);
  char label[] = "azimuth";
  EXPECT_EQ(band_from_label(label, "C:\\logs\\grids.csv", record), -1);
  EXPECT_STREQ(label, "AZIMUTH");
  EXPECT_STREQ(record.message, "Unrecognized band: AZIMUTH in C:\\logs\\grids.csv");
  EXPECT_EQ(band_from_frequency(label, nullptr, record), -1);
  EXPECT_STREQ(record.message, "Unrecognized frequency: AZIMUTH");
  EXPECT_EQ(band_from_label(label, nullptr, record), -1);
  EXPECT_STREQ(record.message, "Unrecognized band: AZIMUTH");
  const std::string long_path(400, 'p');
  EXPECT_EQ(band_from_frequency(label, long_path.c_str(), record), -1);
  EXPECT_EQ(std::string(record.message), "Unrecognized frequency: AZIMUTH in " + std::string(220, 'p'));
}

}  // namespace
}  // namespace zelk
