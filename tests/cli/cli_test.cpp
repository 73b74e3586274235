// The command-line front end: its streams, exit codes, options and page names.
#include "cli/cli.h"

#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "test_helpers.h"

namespace zelk {
namespace {

using test::read_file;
using test::write_file;

struct Outcome {
  int status;
  std::string out, err;
};

Outcome run(std::vector<std::string> args, std::optional<std::string> epoch = "1796428800", std::string images = "") {
  std::ostringstream out, err;
  int status = cli_main(args, out, err, CliEnvironment{epoch, 86400, images});
  return {status, out.str(), err.str()};
}

// The head's line ends differ between platforms; the title does not.
std::string title(const std::string& page) {
  std::string text = read_file(page);
  std::size_t start = text.find("<title>") + 7;
  return text.substr(start, text.find("</title>") - start);
}

// Runs in a scratch folder, where pages named after the listing land; only the
// listing's last extension gives way to the page's.
class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::current_path(folder.path());
    write_file("in/my.grids.csv", "Grid,6M,2M\nEM00,L,W\nEM01,,C\n");
  }
  void TearDown() override { std::filesystem::current_path(before); }
  const std::filesystem::path before = std::filesystem::current_path();
  test::ScratchFolder folder;
};

TEST_F(Cli, SummaryOnStdoutBandByIndexCaptionOrLabelAndTheDate) {
  Outcome r = run({"in/my.grids.csv", "--band=2M", "--field=em", "--ffma"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Wrote    2 (2 FFMA) grids to my.grids.html\n\nPrint on 8.5x11 sheet in Landscape mode to a color printer.\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(title("my.grids.html"), "ZELK Grid Map for 2 M (144 MHz) (EM to HO) - 05 December 2026");
  for (auto [band, caption] : {std::pair{"1", "2 M (144 MHz)"}, {"2 M (144 MHz)", "2 M (144 MHz)"}, {"0", "6 M (50 MHz)"}}) {
    // Set but empty is unset.
    r = run({"in/my.grids.csv", "-o", "p.html", "--band", band, "--field", "EM", "--format", "11x17"}, "");
    EXPECT_EQ(r.status, 0) << band << r.err;
    EXPECT_EQ(title("p.html"), std::string("ZELK Grid Map for ") + caption + " (EM to JP) - 02 January 1970");
  }
}

TEST_F(Cli, ErrorsGoToStderrAndLeaveThePage) {
  write_file("my.grids.html", "old");
  write_file("none.csv", "Grid,Notes\nEM00,x\n");
  const std::string listing = "in/my.grids.csv";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;  // all of it, or its first line when a usage text follows
  } cases[] = {
      {{listing, "--field", "EM"}, 1, "ERROR: Didn't select a band.\n"},
      {{listing, "--band", "all", "-o", "."}, 1, "ERROR: Didn't specify the starting field.\n"},
      {{"none.csv", "--band", "all", "--field", "EM"}, 1, "ERROR: No band column in the header of none.csv\n"},
      {{"gone.csv", "--band", "all", "--field", "EM", "-o", "made"}, 1,
       "ERROR: Could not open input file gone.csv: No such file or directory\n"},
      {{"none.csv", "--band", "1", "--field", "EM"}, 1, "ERROR: No match found for band 2 M (144 MHz) in none.csv\n\n"},
      {{listing, "--band", "1", "--field", "EM", "--settings", "none.ini"}, 1,
       "ERROR: Could not open settings file none.ini: No such file or directory\n"},
      {{"in", "--band", "1", "--field", "EM"}, 1, "ERROR: Could not open input file in: Is a directory\n"},
      {{listing, "--band=all", "--field=EM", "-o", "none.csv/x"}, 1,
       "ERROR: Could not create folder none.csv/x: Not a directory\n"},
      {{listing, "--band", "1", "--field", "EM", "--", "--help"}, 2, "zelk2html-cli: more than one listing given"},
      {{listing, "-o", "-"}, 2,
       "zelk2html-cli: - as the page: standard input and output are not supported (the page needs its pictures beside it)"},
      {{"-", "--band", "1"}, 2,
       "zelk2html-cli: - as the listing: standard input and output are not supported (the page needs its pictures beside it)"},
      {{listing, "--color=yes"}, 2, "zelk2html-cli: --color takes no value"},
      {{listing, "--band=11"}, 2, "zelk2html-cli: unknown band 11"},
      {{"in/../my.grids.html", "--band", "1", "--field", "EM"}, 1,
       "ERROR: The page my.grids.html would replace the listing in/../my.grids.html\n"},
      {{listing, "--band", "11"}, 2, "zelk2html-cli: unknown band 11"},
      {{listing, "--band", "all", "--save-settings", "x.ini"}, 2, "zelk2html-cli: --save-settings cannot be used with --band all"},
      {{listing, "--format", "a4"}, 2, "zelk2html-cli: unknown format a4"},
      {{listing, "--colour"}, 2, "zelk2html-cli: unknown option --colour"},
      {{listing, "-o"}, 2, "zelk2html-cli: -o needs a value"},
      {{listing, listing}, 2, "zelk2html-cli: more than one listing given"},
      {{}, 2, "zelk2html-cli: no listing given"},
  };
  for (const Case& c : cases) {
    Outcome r = run(c.args);
    EXPECT_EQ(r.status, c.status) << c.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(c.status == 2 ? r.err.substr(0, r.err.find('\n')) : r.err, c.err);
    EXPECT_EQ(r.err.find("Usage: zelk2html-cli LISTING") != std::string::npos, c.status == 2) << c.err;
  }
  Outcome r = run({listing, "--band", "1", "--field", "EM"}, "12 May");
  EXPECT_EQ(r.status * 1000 + r.err.size(), 2000 + r.err.find('\n') + 1) << "one line, no usage text";
  EXPECT_EQ(r.err, "zelk2html-cli: SOURCE_DATE_EPOCH is not a whole number of seconds: 12 May\n");
  EXPECT_EQ(read_file("my.grids.html"), "old");
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"in", "my.grids.html", "none.csv"}));
  for (auto args : {std::vector<std::string>{"--help"}, {listing, "-h"}, {"-o", "x", "--help"}}) {
    r = run(args);
    EXPECT_EQ(r.status * 1000 + r.out.rfind("Usage: zelk2html-cli LISTING", 0), 0u);
  }
  EXPECT_EQ(run({"-o", "--help", listing}).err, "ERROR: Didn't select a band.\n") << "--help as the page's name";
}

TEST_F(Cli, EveryBandWritesEachBandsOwnPage) {
  // 2.3 names 2 M as a length, 13 cm as a frequency; 3CM has no worked grid, 222 names no band.
  write_file("in/grids", "Grid,2.3,6M,SAT,3CM,222\nEM00,W,L,,,W\nEM01,C,,W\n");
  std::filesystem::create_directories(folder / "out/grids-144.html");  // a page that cannot be replaced
  Outcome r = run({"in/grids", "--band", "all", "-o", "out", "--field", "EM", "--ffma"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "WARNING: in/grids: column 2 (2.3) names two bands: 2 M and 13 CM\n"
                   "WARNING: in/grids: column 6 (222) names no band\n"
                   "ERROR: Could not create output file " + test::joined("out", "grids-144.html") + ": Is a directory\n");
  EXPECT_EQ(r.out, "6 M (50 MHz): Wrote    1 (1 FFMA) grids to " + test::joined("out", "grids-50.html") +
                   "\n13 CM (2304 MHz): Wrote    2 (2 FFMA) grids to " + test::joined("out", "grids-2304.html") +
                   "\n3 CM (10 GHZ): no worked grids, no page"
                   "\nSatellite: Wrote    1 (1 FFMA) grids to " + test::joined("out", "grids-sat.html") +
                   "\nBand totals: Wrote " + test::joined("out", "grids-bands.html") + "\n"
                   "\nBand              Checked  Confirmed  Worked  Total      FFMA  Not on a map"
                   "\n6 M (50 MHz)            0          0       1      1  1 of 488             0"
                   "\n2 M (144 MHz)           0          1       1      2  2 of 488             0"
                   "\n13 CM (2304 MHz)        0          1       1      2  2 of 488             0"
                   "\n3 CM (10 GHZ)           0          0       0      0  0 of 488             0"
                   "\nSatellite               0          0       1      1  1 of 488             0"
                   "\n\nPrint on 8.5x11 sheet in Landscape mode to a color printer.\n\n");
  // Only the pages written are linked.
  const std::string contents = read_file("out/grids-bands.html");
  EXPECT_NE(contents.find("<tr><td>2 M (144 MHz)</td>"), std::string::npos);
  EXPECT_NE(contents.find("<tr><td>3 CM (10 GHZ)</td>"), std::string::npos);
  EXPECT_NE(contents.find("<tr><td><a href='grids-2304.html'>13 CM (2304 MHz)</a></td>"), std::string::npos);
  std::filesystem::remove("out/grids-144.html");
  std::filesystem::remove("out/grids-bands.html");
  std::filesystem::create_directories(folder / "out/grids-bands.html");
  r = run({"in/grids", "--band", "all", "-o", "out", "--field", "EM", "--ffma"});
  EXPECT_EQ(r.status * 1000 + r.out.find("Band totals"), 1000 + std::string::npos);
  EXPECT_EQ(r.err, "WARNING: in/grids: column 2 (2.3) names two bands: 2 M and 13 CM\n"
                   "WARNING: in/grids: column 6 (222) names no band\n"
                   "ERROR: Could not write output file " + test::joined("out", "grids-bands.html") + ": Is a directory\n");
  // A folder that is missing is made; no band without worked grids is a failure.
  r = run({"in/grids", "--band", "all", "-o", "new/deeper", "--field", "EM", "--no-ffma"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(test::names_in(folder / "new/deeper"),
            (std::vector<std::string>{"grids-144.html", "grids-2304.html", "grids-50.html", "grids-bands.html",
                                      "grids-sat.html"}));
  write_file("in/empty.csv", "Grid,6M,2M\nEM00,,\n");
  r = run({"in/empty.csv", "--band", "all", "-o", "empty", "--field", "EM"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "6 M (50 MHz): no worked grids, no page\n2 M (144 MHz): no worked grids, no page\n");
  EXPECT_EQ(r.err, "ERROR: No band of in/empty.csv has worked grids\n");
  EXPECT_EQ(test::names_in(folder / "empty"), std::vector<std::string>{});
  for (auto [band, name] : {std::pair{"50", "out/grids-50.html"}, {"13CM", "out/grids-2304.html"},
                            {"2304", "out/grids-2304.html"}, {"sat", "out/grids-sat.html"}}) {
    EXPECT_EQ(run({"in/grids", "--band", band, "-o", "p.html", "--field", "EM", "--ffma"}).status, 0);
    EXPECT_EQ(read_file(name), read_file("p.html")) << name;
  }
  for (auto [band, index] : {std::pair{"430", 3}, {"1296", 5}, {"3456", 7}, {"5768", 8}, {"10000", 9}, {"Sat", 10}}) {
    write_file("b.ini", "");
    r = run({"in/grids", "--band", band, "--save-settings", "b.ini"});
    EXPECT_EQ(r.status, 1) << band << r.err;  // no field: the band was taken
  }
}

// Over the fields of one map the contents page counts what each band's map
// counts: the test keeps the listing's rows in those fields, and the
// single-band runs read all of it.
TEST_F(Cli, BandTotalsOverAMapsFieldsAreThoseOfItsMaps) {
  const std::string listing = ZELK_TEST_DATA "/golden/grids.csv";
  const std::regex row("<tr><td>(?:<a href='[^']*'>)?([^<]*)(?:</a>)?</td><td>\\d+</td><td>\\d+</td><td>\\d+</td>"
                       "<td>(\\d+)</td><td>(\\d+) of 488</td>");
  struct Map {
    const char *field, *format, *s_checked;
    char east, north;
  };
  for (Map map : {Map{"DL", "11x17", "--s-checked", 'I', 'O'}, Map{"QA", "landscape", "--no-s-checked", 'T', 'C'}}) {
    std::istringstream rows(read_file(listing));
    std::string kept, line;
    for (std::getline(rows, line); rows; std::getline(rows, line))
      if (kept.empty() || (line.size() >= 2 && line[0] >= map.field[0] && line[0] <= map.east && line[1] >= map.field[1] &&
                           line[1] <= map.north))
        kept += line + "\n";
    write_file("fields.csv", kept);
    const std::vector<std::string> options = {"--field", map.field, "--format", map.format, map.s_checked};
    std::vector<std::string> args = {"fields.csv", "--band", "all", "-o", "all"};
    args.insert(args.end(), options.begin(), options.end());
    ASSERT_EQ(run(args).status, 0) << map.field;
    const std::string contents = read_file("all/fields-bands.html");
    int bands = 0;
    for (std::sregex_iterator it(contents.begin(), contents.end(), row), end; it != end; ++it, ++bands) {
      args = {listing, "--band", (*it)[1].str(), "-o", "one.html", "--ffma"};
      args.insert(args.end(), options.begin(), options.end());
      Outcome one = run(args);
      char expected[64];
      std::snprintf(expected, sizeof expected, "Wrote %4d (%d FFMA) grids", std::stoi((*it)[2]), std::stoi((*it)[3]));
      EXPECT_TRUE(one.out.starts_with(expected)) << map.field << " " << (*it)[1] << ": " << expected << " against " << one.out;
    }
    EXPECT_EQ(bands, 2) << map.field;  // 222 and 432 name no band
  }
}

// Nothing the user gave the run to read is replaced, by whatever name.
TEST_F(Cli, TheListingAndTheSettingsReadAreNeverReplaced) {
  const std::string listing = "Grid,2M\nEM00,W\n", absolute = folder / "g.csv";
  write_file("g.csv", listing);
  write_file("s.ini", "settings");
  const bool links = test::make_symlink("g.csv", "link.csv");
  std::filesystem::create_hard_link("g.csv", "hard.csv");
  const std::vector<std::string> before = folder.names();
  std::vector<std::string> names = {"g.csv", "./g.csv", absolute, "hard.csv"};
  if (links) names.push_back("link.csv");
  for (const std::string& name : names) {
    Outcome r = run({"g.csv", "--band", "1", "--field", "EM", "-o", name});
    EXPECT_EQ(r.err, "ERROR: The page " + name + " would replace the listing g.csv\n");
    r = run({"g.csv", "--band", "1", "--field", "EM", "--save-settings", name});
    EXPECT_EQ(r.err, "ERROR: The settings file " + name + " would replace the listing g.csv\n");
    r = run({"g.csv", "--band", "all", "--field", "EM", "-o", "."});
    EXPECT_EQ(r.status, 0);
    std::filesystem::remove("g-144.html");
    std::filesystem::remove("g-bands.html");
    if (!links) continue;
    r = run({"link.csv", "--band", "1", "--field", "EM", "-o", name});
    EXPECT_EQ(r.err, "ERROR: The page " + name + " would replace the listing link.csv\n");
  }
  Outcome r = run({"g.csv", "--band", "1", "--field", "EM", "-o", "p.html", "--save-settings", "./p.html"});
  EXPECT_EQ(r.status * 1000 + r.out.size(), 1000u);
  EXPECT_EQ(r.err, "ERROR: The settings file ./p.html would replace the page p.html\n");
  r = run({"g.csv", "--band", "1", "--field", "EM", "--settings", "s.ini", "-o", absolute.substr(0, absolute.size() - 5) + "s.ini"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Version number changed, resetting to default.\nERROR: The page " + absolute.substr(0, absolute.size() - 5) + "s.ini would replace the settings file s.ini\n");
  for (const std::string page : {"g-144.html", "g-bands.html"}) {
    std::filesystem::create_directory("d");
    if (test::make_symlink("../g.csv", "d/" + page)) {
      r = run({"g.csv", "--band", "all", "--field", "EM", "-o", "d"});
      EXPECT_EQ(r.err, "ERROR: The page " + test::joined("d", page) + " would replace the listing g.csv\n");
      EXPECT_EQ(test::names_in("d"), std::vector<std::string>{page});
    }
    std::filesystem::remove_all("d");
  }
  EXPECT_EQ(read_file("g.csv"), listing);
  EXPECT_EQ(read_file("s.ini"), "settings");
  std::filesystem::remove("p.html");
  EXPECT_EQ(folder.names(), before);
}

// The system's reason for each file that failed; pictures that cannot be put
// beside the page are a warning, a settings file not saved an error.
TEST_F(Cli, FileProblemsSayWhy) {
  write_file("g.csv", "Grid,2M\nEM00,W\n");
  const std::vector<std::string> run_args = {"g.csv", "--band", "1", "--field", "EM", "-o", "p.html"};
  auto with = [&](std::vector<std::string> more) {
    more.insert(more.begin(), run_args.begin(), run_args.end());
    return more;
  };
  Outcome r = run(with({"--save-settings", "no/such.ini"}));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "ERROR: Could not save settings file no/such.ini: No such file or directory\n");
  EXPECT_TRUE(read_file("p.html").starts_with("<html>"));
  r = run(run_args, "1796428800", "nowhere");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "WARNING: The field pictures were not put beside the page: found no folder nowhere\n");
  write_file("program/EM.gif", "EM");
  write_file("images", "a file");
  r = run(run_args, "1796428800", "program");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "WARNING: The field pictures were not put beside the page: could not create images: Not a directory\n");
  // A chain of links without end is not followed to some link to replace.
  if (!test::make_symlink("loop-b", "loop-a") || !test::make_symlink("loop-a", "loop-b")) return;
  r = run({"g.csv", "--band", "1", "--field", "EM", "-o", "loop-a"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "ERROR: Could not create output file loop-a: Too many levels of symbolic links\n");
  EXPECT_TRUE(std::filesystem::is_symlink("loop-a"));
}

TEST_F(Cli, SettingsFileSuppliesTheOptionsNotGiven) {
  run({"in/my.grids.csv", "--band", "6M", "--field", "DL", "--format", "portrait", "--no-color", "--ffma",
       "--save-settings", "zelk2html.ini"});
  const std::string first = read_file("my.grids.html");
  Outcome r = run({"in/my.grids.csv", "--settings", "zelk2html.ini"});
  EXPECT_EQ(r.out, "Wrote    1 (1 FFMA) grids to my.grids.html\n\nPrint on 8.5x11 sheet in Portrait mode\n\n");
  EXPECT_EQ(read_file("my.grids.html"), first);
  r = run({"in/my.grids.csv", "--settings", "zelk2html.ini", "--band", "2M", "--no-ffma", "--color"});
  EXPECT_EQ(r.out, "Wrote    2 grids to my.grids.html\n\nPrint on 8.5x11 sheet in Portrait mode to a color printer.\n\n");
  EXPECT_EQ(title("my.grids.html"), "ZELK Grid Map for 2 M (144 MHz) (DL to FO) - 05 December 2026");
}

}  // namespace
}  // namespace zelk
