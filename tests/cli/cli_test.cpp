// The command-line front end: its streams, exit codes, options and page names.
#include "cli/cli.h"

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "scratch_folder.h"

namespace zelk {
namespace {

using test::read_file;
using test::write_file;

struct Outcome {
  int status;
  std::string out, err;
};

Outcome run(std::vector<std::string> args, std::optional<std::string> epoch = "1796428800") {
  std::ostringstream out, err;
  int status = cli_main(args, out, err, CliEnvironment{epoch, 86400, ""});
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
  Outcome r = run({"in/my.grids.csv", "--band", "2M", "--field", "em", "--ffma"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Wrote    2 (2 FFMA) grids to my.grids.html\n\nPrint on 8.5x11 sheet in Landscape mode to a color printer.\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(title("my.grids.html"), "ZELK Grid Map for 2 M (144 MHz) (EM to HO) - 05 December 2026");
  for (auto [band, caption] : {std::pair{"1", "2 M (144 MHz)"}, {"2 M (144 MHz)", "2 M (144 MHz)"}, {"0", "6 M (50 MHz)"}}) {
    r = run({"in/my.grids.csv", "-o", "p.html", "--band", band, "--field", "EM", "--format", "11x17"}, std::nullopt);
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
      {{"none.csv", "--band", "all", "--field", "EM"}, 1, "ERROR: No match found for band 6 M (50 MHz) in none.csv\n\n"},
      {{listing, "--band", "1", "--field", "EM", "--settings", "none.ini"}, 1, "ERROR: Could not open settings file none.ini\n"},
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
  EXPECT_EQ(run({listing, "--band", "1", "--field", "EM"}, "12 May").status, 2);
  EXPECT_EQ(read_file("my.grids.html"), "old");
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"in", "my.grids.html", "none.csv"}));
  EXPECT_EQ(run({"--help"}).out.rfind("Usage: zelk2html-cli LISTING", 0), 0u);
}

TEST_F(Cli, EveryBandWritesEachBandsOwnPage) {
  write_file("in/grids", "Grid,2.3,6M,SAT\nEM00,W,L\nEM01,C,,W\n");  // 2.3 names 2 M as a length, 13 cm as a frequency
  std::filesystem::create_directory(folder / "grids-144.html");  // a page that cannot be replaced
  Outcome r = run({"in/grids", "--band", "all", "-o", folder.path(), "--field", "EM", "--ffma"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "ERROR: Could not create output file " + folder / "grids-144.html" + "\n");
  EXPECT_EQ(r.out, "6 M (50 MHz): Wrote    1 (1 FFMA) grids to " + folder / "grids-50.html" +
                       "\n13 CM (2304 MHz): Wrote    2 (2 FFMA) grids to " + folder / "grids-2304.html" +
                       "\nSatellite: Wrote    1 (1 FFMA) grids to " + folder / "grids-sat.html" +
                       "\n\nPrint on 8.5x11 sheet in Landscape mode to a color printer.\n\n");
  for (auto [band, name] : {std::pair{"50", "grids-50.html"}, {"13CM", "grids-2304.html"}, {"SAT", "grids-sat.html"}}) {
    EXPECT_EQ(run({"in/grids", "--band", band, "-o", "p.html", "--field", "EM", "--ffma"}).status, 0);
    EXPECT_EQ(read_file(name), read_file("p.html")) << name;
  }
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
