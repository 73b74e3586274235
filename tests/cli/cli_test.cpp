// The command-line front end: its streams, exit codes and options.
#include "cli/cli.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scratch_folder.h"

namespace zelk {
namespace {

using test::read_file;
using test::ScratchFolder;
using test::write_file;

struct Outcome {
  int status;
  std::string out, err;
};

Outcome run(std::vector<std::string> args, std::optional<std::string> epoch = "1796428800") {
  std::ostringstream out, err;
  CliEnvironment environment;
  environment.source_date_epoch = epoch;
  environment.now = 86400;
  int status = cli_main(args, out, err, environment);
  return {status, out.str(), err.str()};
}

class Cli : public ::testing::Test {
 protected:
  void SetUp() override { write_file(listing, "Grid,6M,2M\nEM00,L,W\nEM01,,C\n"); }
  std::string title() {
    std::string text = read_file(page);
    std::size_t start = text.find("<title>") + 7;  // the head's line ends differ between platforms
    return text.substr(start, text.find("</title>") - start);
  }
  ScratchFolder folder;
  const std::string listing = folder / "grids.csv", page = folder / "grids.html";
};

TEST_F(Cli, SummaryOnStdoutBandByIndexCaptionOrLabelAndTheDate) {
  Outcome r = run({listing, "-o", page, "--band", "2M", "--field", "em", "--ffma"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Wrote    2 (2 FFMA) grids to " + page +
                       "\n\nPrint on 8.5x11 sheet in Landscape mode to a color printer.\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(title(), "ZELK Grid Map for 2 M (144 MHz) (EM to HO) - 05 December 2026");
  for (auto [band, caption] : {std::pair{"1", "2 M (144 MHz)"}, {"2 M (144 MHz)", "2 M (144 MHz)"}, {"144", "2 M (144 MHz)"},
                               {"0", "6 M (50 MHz)"}, {"6 M (50 MHz)", "6 M (50 MHz)"}, {"50", "6 M (50 MHz)"}}) {
    r = run({listing, "-o", page, "--band", band, "--field", "EM", "--format", "11x17"}, std::nullopt);
    EXPECT_EQ(r.status, 0) << band << r.err;
    EXPECT_EQ(title(), std::string("ZELK Grid Map for ") + caption + " (EM to JP) - 02 January 1970");
  }
}

TEST_F(Cli, ErrorsGoToStderrAndLeaveThePage) {
  write_file(page, "old");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string err;  // its first line
  };
  const Case cases[] = {
      {{listing, "-o", page, "--field", "EM"}, 1, "ERROR: Didn't select a band."},
      {{listing, "-o", page, "--band", "1"}, 1, "ERROR: Didn't specify the starting field."},
      {{listing, "-o", page, "--band", "SAT", "--field", "EM"}, 1, "ERROR: No match found for band Satellite in " + listing},
      {{listing, "-o", page, "--band", "1", "--field", "EM", "--settings", folder / "none.ini"}, 1,
       "ERROR: Could not open settings file " + folder / "none.ini"},
      {{listing, "-o", page, "--band", "35CM"}, 2, "zelk2html-cli: unknown band 35CM"},
      {{listing, "-o", page, "--format", "a4"}, 2, "zelk2html-cli: unknown format a4"},
      {{listing, "--colour"}, 2, "zelk2html-cli: unknown option --colour"},
      {{listing, "-o"}, 2, "zelk2html-cli: -o needs a value"},
      {{listing, listing}, 2, "zelk2html-cli: more than one listing given"},
      {{}, 2, "zelk2html-cli: no listing given"},
  };
  for (const Case& c : cases) {
    Outcome r = run(c.args);
    EXPECT_EQ(r.status, c.status) << c.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.err);
    EXPECT_EQ(r.err.find("Usage: zelk2html-cli LISTING") != std::string::npos, c.status == 2) << c.err;
  }
  Outcome r = run({listing, "-o", page, "--band", "1", "--field", "EM"}, "12 May");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(read_file(page), "old");
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"grids.csv", "grids.html"}));

  r = run({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Usage: zelk2html-cli LISTING", 0), 0u);
}

TEST_F(Cli, SettingsFileSuppliesTheOptionsNotGiven) {
  const std::string ini = folder / "zelk2html.ini";
  Outcome r = run({listing, "-o", page, "--band", "6M", "--field", "DL", "--format", "portrait", "--no-color", "--ffma",
                   "--save-settings", ini});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string first = read_file(page);
  EXPECT_EQ(read_file(ini).size(), 596u);
  r = run({listing, "-o", page, "--settings", ini});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Wrote    1 (1 FFMA) grids to " + page + "\n\nPrint on 8.5x11 sheet in Portrait mode\n\n");
  EXPECT_EQ(read_file(page), first);
  r = run({listing, "-o", page, "--settings", ini, "--band", "2M", "--no-ffma", "--color"});
  EXPECT_EQ(r.out,
            "Wrote    2 grids to " + page + "\n\nPrint on 8.5x11 sheet in Portrait mode to a color printer.\n\n");
  EXPECT_EQ(title(), "ZELK Grid Map for 2 M (144 MHz) (DL to FO) - 05 December 2026");
}

}  // namespace
}  // namespace zelk
