// The command-line front end: its streams, exit codes, options and page names.
#include "cli/cli.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstring>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <regex>
#include <sstream>
#include <tuple>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "conversion/settings_file.h"
#include "listing/band_table.h"
#include "test_helpers.h"
#include "zelk_version.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::joined, test::names_in, test::read_file, test::write_file;
using Args = std::vector<std::string>;

struct Outcome {
  int status;
  std::string out, err;
};

Outcome run(Args args, std::optional<std::string> epoch = "1796428800", std::string images = "") {
  std::ostringstream out, err;
  int status = cli_main(args, out, err, CliEnvironment{epoch, 86400, images});
  return {status, out.str(), err.str()};
}

// Arguments without spaces, written as a shell line.
Outcome run(const std::string& line) {
  Args args;
  std::istringstream words(line);
  for (std::string word; words >> word;) args.push_back(word);
  return run(args);
}

// The head's line ends differ between platforms; the title does not.
std::string title(const std::string& page) {
  std::string text = read_file(page);
  std::size_t start = text.find("<title>") + 7;
  return text.substr(start, text.find("</title>") - start);
}

// What a reader sees of each row of a page's tables: the cells' text, each
// cell ended by "|", a bar's parts as the numbers of their widths, then the
// links. A width that no browser reads as a number ("30,3%") shows as "?".
std::vector<std::string> rows_of(const std::string& page) {
  static const std::regex row("<tr>([^]*?)</tr>"), piece("<([^>]*)>|[^<]+");
  std::vector<std::string> rows;
  for (std::sregex_iterator r(page.begin(), page.end(), row), end; r != end; ++r) {
    const std::string cells = (*r)[1];
    std::string text, links;
    for (std::sregex_iterator p(cells.begin(), cells.end(), piece); p != end; ++p) {
      const std::string tag = (*p)[1];
      if (!(*p)[1].matched) text += p->str();
      if (tag == "/td" || tag == "/th") text += '|';
      if (tag.starts_with("a href='")) links += " " + tag.substr(8, tag.size() - 9);
      if (const std::size_t at = tag.find("width: "); at != std::string::npos) {
        double value = 0;
        const auto [after, error] = std::from_chars(tag.data() + at + 7, tag.data() + tag.size(), value);
        char number[16];
        std::snprintf(number, sizeof number, " %.1f", value);
        text += error == std::errc() && *after == '%' ? number : " ?";
      }
    }
    rows.push_back(text + (links.empty() ? "" : " ->" + links));
  }
  return rows;
}

// Sets a locale whose decimal mark is a comma, as the dialog runs under a
// German desktop; false where the machine has none.
bool comma_locale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "German_Germany.1252"})
    if (std::setlocale(LC_ALL, name) != nullptr && *std::localeconv()->decimal_point == ',') return true;
  std::setlocale(LC_ALL, "C");
  return false;
}

// Runs in a scratch folder, where pages named after the listing land; only the
// listing's last extension gives way to the page's.
class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::current_path(folder.path());
    write_file("in/my.grids.csv", "Grid,6M,2M\nEM00,L,W\nEM01,,C\n");
  }
  void TearDown() override { fs::current_path(before); }
  const fs::path before = fs::current_path();
  test::ScratchFolder folder;
};

TEST_F(Cli, SummaryOnStdoutOptionsFromTheLine) {
  Outcome r = run("in/my.grids.csv --band=2M --field=em --ffma");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Wrote    2 (2 FFMA) grids to my.grids.html\n\n"
                   "Print on 8.5x11 sheet in Landscape mode to a color printer.\n\n");
  EXPECT_EQ(title("my.grids.html"), "ZELK Grid Map for 2 M (144 MHz) (EM to HO) - 05 December 2026");
  const std::string two = "2 M (144 MHz)";
  for (auto [band, caption] : {std::pair{std::string("144"), two}, {"2m", two}, {"50", "6 M (50 MHz)"}}) {
    // Set but empty is unset.
    r = run({"in/my.grids.csv", "-o", "p.html", "--band", band, "--field", "EM", "--format", "11X17"}, "");
    EXPECT_EQ(r.status, 0) << band << r.err;
    EXPECT_EQ(title("p.html"), "ZELK Grid Map for " + caption + " (EM to JP) - 02 January 1970");
  }
  // A settings file's print format sets the map's size; one no dialog writes
  // loads as landscape, whatever size the file holds, and is not saved back.
  // A long folder: the summary whole.
  const std::string deep = std::string(235, 'd') + "/p.html";
  fs::create_directory(std::string(235, 'd'));
  SettingsRecord stored = test::record_for(1, "RA");
  std::strcpy(stored.version, ZELK_VERSION_TEXT);
  stored.print_format = 99;
  stored.map_columns = stored.map_rows = 18;
  ASSERT_TRUE(save_settings_file(stored, "s.ini"));
  r = run({"in/my.grids.csv", "--settings", "s.ini", "-o", deep, "--save-settings", "s.ini"});
  EXPECT_EQ(r.out, "Wrote    0 grids to " + deep + "\n\nPrint on 8.5x11 sheet in Landscape mode to a color printer.\n\n");
  EXPECT_EQ(title(deep).substr(33, 8), "RA to UC");
  // Rows, format, needed, S = *, columns: landscape's, and what the file held is gone.
  EXPECT_EQ(read_file("s.ini").substr(576, 20), std::string("\3\0\0\0\1\0\0\0\1\0\0\0\0\0\0\0\4\0\0\0", 20));
  // Any band finds its field and saves it; the list beside the page.
  r = run("in/my.grids.csv --band any --field auto -o a.html --ffma-list a-ffma.html --save-settings a.ini");
  EXPECT_EQ(r.out, "Wrote    2 grids to a.html, lower-left field CL (its map holds the most credited grids and centres them)\n\n"
                   "Print on 8.5x11 sheet in Landscape mode to a color printer.\n\n"
                   "FFMA squares needed: Wrote a-ffma.html\n");
  EXPECT_EQ(title("a.html").substr(0, 38), "ZELK Grid Map for Any band (CL to FN) ");
  const std::string list = read_file("a-ffma.html");
  for (const char* text : {"<title>ZELK FFMA Squares Needed on Any band - 05 December 2026</title>",
                           "486 of 488 still needed; 2 worked, 1 of them not yet confirmed.", "<b>EM</b> (98): EM02 EM03",
                           "confirm them (1)</h2>", "<p><b>EM</b> (1): EM00</p>"})
    EXPECT_NE(list.find(text), list.npos) << text;
  SettingsRecord saved = test::record_for(-1);
  std::strcpy(saved.version, ZELK_VERSION_TEXT);
  EXPECT_EQ(load_settings_file(saved, "a.ini"), LoadOutcome::kLoaded);
  EXPECT_EQ(std::to_string(saved.band_index) + saved.lower_left_field, "12CL");
  // A spreadsheet's byte-order mark; a second 2 M column; grids as no map writes them.
  write_file("odd.csv", "\xEF\xBB\xBFGrid,2M,2.3G\nfn42,W\nEM00,W\nFN31ab,C\n FN21,W\nqq,N\n");
  r = run("odd.csv --band 2m --field EM");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "WARNING: odd.csv: column 3 (2.3G) names two bands: 2 M and 13 CM\n"
                   "WARNING: odd.csv: columns 2 (2M) and 3 (2.3G) both name 2 M; column 2 is read\n"
                   "WARNING: 3 credited grids of odd.csv are not written as a map writes squares (four "
                   "characters, capital letters) and show on no map: fn42, FN31ab, \" FN21\"\n");
}

// Each as a spreadsheet saves it: the page of its plain comma-separated twin.
TEST_F(Cli, SpreadsheetListingsGiveThePlainPage) {
  ASSERT_EQ(run("in/my.grids.csv --band 2m --field EM -o plain.html").status, 0);
  const std::u16string plain = u"Grid,6M,2M\nEM00,L,W\nEM01,,C\n";
  for (const std::string& saved :
       {std::string("Grid;6M;2M\nEM00;L;W\nEM01;;C\n"), std::string("Grid\t6M\t2M\r\nEM00\tL\tW\r\nEM01\t\tC\r\n"),
        std::string("\"Grid\",\"6M\",\"2M\"\n\"EM00\",\"L\",\"W\"\n\"EM01\",\"\",\"C\"\n"),
        std::string("Grid,6M,2M,Notes\nEM00,L,W,\"a, \"\"b\"\"\nc\"\nEM01,,C\n"), test::utf16(plain, true), test::utf16(plain, false),
        "\xEF\xBB\xBF" + read_file("in/my.grids.csv")}) {
    write_file("saved.csv", saved);
    const Outcome r = run("saved.csv --band 2m --field EM -o saved.html");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read_file("saved.html"), read_file("plain.html")) << saved;
  }
}

// A contest log, whatever its name: each band's grids as its listing would
// give them, worked out here from the QSOs; what it skips, counted.
TEST_F(Cli, ContestLogDrawsItsGridsBandByBand) {
  const struct {
    std::string frequency, sent, received;
    int band;  // -1 a band without a map, -2 a QSO without a grid
  } qsos[] = {{"50", "FN31", "K1ABC FN42", 0},          {"144", "FN31", "W2DEF FN20", 1},
              {"144200", "FN32", "K2X fn30ab", 1},        // a rover moved on; six characters
              {"1.2G", "FN32", "W2DEF FN20", 5},          {"50125", "FN32", "VE3GHI EN93ab", 0},
              {"432", "FN32", "W4R FM18 2", 3},           // a transmitter's digit
              {"14025", "599 1", "K2X 599 2", -1},        {"24G", "FN32", "W3Q FN10", -1},
              {"144", "FN32", "K3Y", -2},                 {"144", "FN32", "K4Z 599 12", -2}};
  std::string log = "START-OF-LOG: 3.0\r\nCONTEST: ARRL-VHF-JUN\r\nCALLSIGN: W1XYZ\r\n";
  std::map<int, std::set<std::string>> grids;
  for (const auto& qso : qsos) {
    log += "QSO: " + qso.frequency + "  PH 2026-06-13 1802 W1XYZ  " + qso.sent + "  " + qso.received + "\r\n";
    std::string grid = qso.received.substr(qso.received.find(' ') + 1, 4);
    if (qso.band >= 0) grids[qso.band].insert({char(std::toupper(grid[0])), char(std::toupper(grid[1])), grid[2], grid[3]});
  }
  write_file("w1xyz.txt", log + "73 and thanks\r\nEND-OF-LOG:\r\n");
  Outcome r = run("w1xyz.txt --band all --field FN -o all");
  EXPECT_EQ(r.err, "WARNING: w1xyz.txt: 2 QSOs on bands without a map (14025 1, 24G 1); 2 QSO lines without a "
                   "grid; 1 line neither header nor QSO\n");
  for (const auto& [band, its] : grids) {  // the totals table: checked, confirmed, worked
    const std::string caption = band_caption(band);
    std::istringstream row(r.out.substr(r.out.rfind("\n" + caption) + caption.size() + 1));
    int checked = -1, confirmed = -1, worked = -1;
    row >> checked >> confirmed >> worked;
    EXPECT_EQ(std::to_string(checked + confirmed) + " " + std::to_string(worked), "0 " + std::to_string(its.size()));
  }
  std::string listing = "Grid,2M\n";
  for (const std::string& grid : grids[1]) listing += grid + ",W\n";
  write_file("twin.csv", listing);
  EXPECT_EQ(run("w1xyz.txt --band 2m --field FN -o log.html").status, 0);
  EXPECT_EQ(run("twin.csv --band 2m --field FN -o twin.html").status, 0);
  EXPECT_EQ(read_file("log.html"), read_file("twin.html"));
  write_file("hf.log", "START-OF-LOG: 3.0\nQSO: 14025 CW 2026-06-13 1802 W1XYZ 599 1 K2X 599 2\nEND-OF-LOG:\n");
  write_file("empty.cbr", "START-OF-LOG: 3.0\nEND-OF-LOG:\n");
  EXPECT_EQ(run("hf.log --band all --field FN").err.substr(0, 48), "ERROR: No QSO of hf.log is on a band with a map\n");
  EXPECT_EQ(run("empty.cbr --band 6m --field FN").err, "ERROR: No QSO line in empty.cbr\n");
}

TEST_F(Cli, ErrorsGoToStderrAndLeaveThePage) {
  write_file("my.grids.html", "old");
  write_file("none.csv", "Grid,Notes\nEM00,x\n");
  write_file("in/n.csv", "Grid,2M\nEM00,N\n");  // no credited grid to find a field by
  const std::string in = "in/my.grids.csv", open = "ERROR: Could not open ";
  struct Case {
    Args args;
    int status;
    std::string err;  // all of it; of a usage error the start after "zelk2html-cli: "
  } cases[] = {
      {{in, "--field", "EM"}, 1, "ERROR: Didn't select a band.\n"},
      {{in, "--band", "ALL", "-o", "."}, 1, "ERROR: Didn't specify the starting field.\n"},
      {{"none.csv", "--band", "all", "--field", "EM"}, 1,
       "ERROR: No band column in the header of none.csv\nWARNING: none.csv: column 2 (Notes) names no band\n"},
      {{"gone.csv", "--band", "all", "--field", "EM", "-o", "made"}, 1,
       open + "input file gone.csv: No such file or directory\n"},
      {{"none.csv", "--band", "2m", "--field", "EM"}, 1, "ERROR: No match found for band 2 M (144 MHz) in none.csv\n"},
      {{in, "--settings", ""}, 1, open + "settings file : No such file or directory\n"},
      {{in, "--band=all", "--field=EM", "-o", "none.csv/x"}, 1,
       "ERROR: Could not create folder none.csv/x: Not a directory\n"},
      {{in, "--band", "2m", "--", "--help"}, 2, "more than one listing given"},
      {{"-", "--band", "2m"}, 2, "- as the listing: standard input and output are not supported"},
      {{in, "--color=yes"}, 2, "--color takes no value"},
      {{in, "--band=2M,6M"}, 2, "unknown band \"2M,6M\""},
      {{in, "--band=6"}, 2, "--band 6: say 6m (50 MHz) or 6cm (5768 MHz)\n"},
      {{in, "--band", ""}, 2, "unknown band \"\"; say 6m, 2m, 1.25m, 70cm,"},
      {{in, "--band", "all", "--save-settings", "x.ini"}, 2,
       "--save-settings cannot be used with --band all"},
      {{in, "--format", "a4"}, 2, "unknown format \"a4\"; say portrait, landscape or 11x17\n"},
      {{in, "--band", "all", "--ffma-list", "x"}, 2, "--ffma-list cannot be used with --band all"},
      {{in, "--band=6m", "--field=EM", "--ffma-list", "my.grids.html"}, 1,
       "ERROR: The FFMA list my.grids.html would replace the page my.grids.html\n"},
      {{"in/n.csv", "--band", "2m", "--field", "auto"}, 1,
       "ERROR: No credited grid of 2 M (144 MHz) in in/n.csv to place the map by\n"},
      {{in, "--colour"}, 2, "unknown option --colour"},
      {{in, "-o"}, 2, "-o needs a value"},
      {{}, 2, "no listing given"},
  };
  for (const Case& c : cases) {
    Outcome r = run(c.args);
    EXPECT_EQ(r.status, c.status) << c.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(c.status == 2 ? r.err.substr(15, c.err.size()) : r.err, c.err);
    EXPECT_EQ(r.err.find("\nUsage: zelk2html-cli") != r.err.npos, c.status == 2) << c.err;
  }
  Outcome r = run({in, "--band", "2m", "--field", "EM"}, "12 May");
  EXPECT_EQ(r.status, 2) << "one line, no usage text:";
  EXPECT_EQ(r.err, "zelk2html-cli: SOURCE_DATE_EPOCH is not a whole number of seconds: 12 May\n");
  EXPECT_EQ(read_file("my.grids.html"), "old");
  EXPECT_EQ(folder.names(), (Args{"in", "my.grids.html", "none.csv"}));
  for (const char* help : {"--help", "/?"}) {
    r = run({"-o", "x", help});
    EXPECT_EQ(std::to_string(r.status) + " " + r.out.substr(0, 28), "0 Usage: zelk2html-cli LISTING");
#ifdef _WIN32
    EXPECT_EQ(r.out.find("/dev/null"), r.out.npos) << "Windows has NUL";
#endif
  }
}

TEST_F(Cli, EveryBandWritesEachBandsOwnPage) {
  // 2.3 names 2 M as a length, 13 cm as a frequency; 3CM has no worked grid, 222 names no band;
  // fn42 is on no map.
  write_file("in/grids", "Grid,2.3,6M,SAT,3CM,222,144\nEM00,W,L,,,W\nEM01,C,,W\nfn42,,W\n");
  // One page that cannot be written, then the contents page: no file of the run changes.
  write_file("out/grids-50.html", "old");
  auto every = [&](const std::string& more) { return run("in/grids --band all --field EM -o " + more); };
  const std::string unnamed = "WARNING: in/grids: column 2 (2.3) names two bands: 2 M and 13 CM\n"
                              "WARNING: in/grids: column 6 (222) names no band\n"
                              "WARNING: in/grids: columns 2 (2.3) and 7 (144) both name 2 M; column 2 is read\n";
  const std::string off = "WARNING: 1 credited grid of in/grids is not written as a map writes squares "
                          "(four characters, capital letters) and shows on no map: fn42\n";
  for (const char* blocked : {"grids-144.html", "grids-bands.html"}) {
    fs::create_directories(folder / ("out/" + std::string(blocked)));
    Outcome r = every("out --ffma");
    EXPECT_EQ(std::to_string(r.status) + r.out, "1");
    EXPECT_EQ(r.err, "ERROR: Could not write output file " + joined("out", blocked) + ": Is a directory\n" + unnamed + off);
    Args left = {blocked, "grids-50.html"};
    std::sort(left.begin(), left.end());
    EXPECT_EQ(names_in(folder / "out"), left);
    EXPECT_EQ(read_file("out/grids-50.html"), "old");
    fs::remove("out/" + std::string(blocked));
  }
  Outcome r = every("out --ffma");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, unnamed + off);
  EXPECT_EQ(r.out,
      "Any band: Wrote    2 (2 FFMA) grids to " + joined("out", "grids-any.html") +
      "\n6 M (50 MHz): Wrote    1 (1 FFMA) grids to " + joined("out", "grids-50.html") +
      "\n2 M (144 MHz): Wrote    2 (2 FFMA) grids to " + joined("out", "grids-144.html") +
      "\n13 CM (2304 MHz): Wrote    2 (2 FFMA) grids to " +
      joined("out", "grids-2304.html") +
      "\n3 CM (10 GHz): no worked grids, no page"
      "\nSatellite: Wrote    1 (1 FFMA) grids to " + joined("out", "grids-sat.html") +
      "\nBand totals: Wrote " + joined("out", "grids-bands.html") + "\n"
      "\nBand              Checked  Confirmed  Worked  Total      FFMA  Written otherwise"
      "\nAny band                0          1       1      2  2 of 488                  1"
      "\n6 M (50 MHz)            0          0       1      1  1 of 488                  1"
      "\n2 M (144 MHz)           0          1       1      2  2 of 488                  0"
      "\n13 CM (2304 MHz)        0          1       1      2  2 of 488                  0"
      "\n3 CM (10 GHz)           0          0       0      0  0 of 488                  0"
      "\nSatellite               0          0       1      1  1 of 488                  0"
      "\n\nPrint on 8.5x11 sheet in Landscape mode to a color printer.\n\n");
  // A folder that is missing is made; a band without worked grids is no failure. Each map finds
  // its field; the contents page names it, links each FFMA list and draws the any band's bars.
  EXPECT_EQ(every("new/deeper --no-ffma").status, 0);
  EXPECT_EQ(names_in(folder / "new/deeper"), (Args{"grids-144.html", "grids-2304.html", "grids-50.html",
                                                   "grids-any.html", "grids-bands.html", "grids-sat.html"}));
  // Each map finds its field; the contents page names it, links each page and FFMA list and
  // draws the bars, read as a reader reads them, whatever the locale's decimal mark. A name
  // that is no UTF-8 shows as U+FFFD and links percent-encoded.
  const bool comma = comma_locale();
  std::string listing = "in/grids";
#ifndef _WIN32
  EXPECT_TRUE(comma) << "./dev test makes the locale de_DE.UTF-8";
  fs::copy_file("in/grids", listing = "in/caf\xE9-\xC2\xB0");  // Latin-1's e acute, then a UTF-8 degree sign
#endif
  r = run(listing + " --band all -o auto --ffma --field auto");
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string page = file_name_of(listing), shown = page == "grids" ? page : "caf\xEF\xBF\xBD-\xC2\xB0";
  const std::string contents = read_file("auto/" + page + "-bands.html");
  EXPECT_NE(contents.find("<h1>ZELK Band Totals for " + shown + " - "), contents.npos);
  const std::string link = page == "grids" ? page : "caf%E9-%C2%B0";
  EXPECT_EQ(rows_of(contents),
            (std::vector<std::string>{
                "Band|Checked|Confirmed|Worked|Total|FFMA|Written otherwise|",
                "Any band (map from CL)|0|1|1|2| 50.0 50.0|2 of 488| 0.4|1| -> " + link + "-any.html " + link +
                    "-any-ffma.html",
                "6 M (50 MHz) (map from CL)|0|0|1|1| 50.0|1 of 488| 0.2|1| -> " + link + "-50.html " + link +
                    "-50-ffma.html",
                "2 M (144 MHz) (map from CL)|0|1|1|2| 50.0 50.0|2 of 488| 0.4|0| -> " + link + "-144.html " + link +
                    "-144-ffma.html",
                "13 CM (2304 MHz) (map from CL)|0|1|1|2| 50.0 50.0|2 of 488| 0.4|0| -> " + link + "-2304.html " +
                    link + "-2304-ffma.html",
                "3 CM (10 GHz)|0|0|0|0||0 of 488||0|",
                "Satellite (map from CL)|0|0|1|1| 50.0|1 of 488| 0.2|0| -> " + link + "-sat.html " + link +
                    "-sat-ffma.html"}))
      << (comma ? "under a comma locale" : "no comma locale here");
  EXPECT_NE(read_file("auto/" + page + "-2304-ffma.html").find("486 of 488 still needed; 2 worked, 1 of them"),
            contents.npos);
  EXPECT_NE(read_file("auto/" + page + "-50-ffma.html").find("<p>fn42: worked, written otherwise, not counted</p>"),
            contents.npos);
  // A band with letters but no credited grid finds no field: its trouble is its own.
  // Grids written otherwise are counted once, however many bands credit them.
  write_file("in/two.csv", "Grid,6M,2M\nEM00,W,N\nFN42,C,\nfn42,C,W\nFN31ab,W,C\n");
  r = run("in/two.csv --band all -o two --field auto");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "WARNING: 2 credited grids of in/two.csv are not written as a map writes squares (four characters, "
                   "capital letters) and show on no map: fn42, FN31ab\n");
  EXPECT_NE(r.out.find("\n2 M (144 MHz): no credited grid to place a map by, no page\n"), r.out.npos) << r.out;
  EXPECT_NE(read_file("two/two-bands.html").find("<tr><td>2 M (144 MHz)</td><td>0</td>"), std::string::npos);
  write_file("in/empty.csv", "Grid,6M,2M\nEM00,,\n");
  r = run("in/empty.csv --band all -o empty --field EM");
  EXPECT_EQ(std::to_string(r.status) + r.out, "1");
  EXPECT_EQ(r.err, "ERROR: No band of in/empty.csv has worked grids\n");
  EXPECT_FALSE(fs::exists("empty")) << "not even the folder";
}

// Nothing the user gave the run to read is replaced, by whatever name.
TEST_F(Cli, TheListingAndTheSettingsReadAreNeverReplaced) {
  const std::string listing = "Grid,2M\nEM00,W\n", absolute = folder / "g.csv";
  write_file("g.csv", listing);
  write_file("s.ini", "3.3.0");  // cut short within the version: another version's
  Args names = {"./g.csv", absolute};
  if (test::make_symlink("g.csv", "link.csv")) names.push_back("link.csv");
  const Args before = folder.names();
  const Args one = {"g.csv", "--band", "2m", "--field", "EM"};
  auto with = [&](Args more) {
    more.insert(more.begin(), one.begin(), one.end());
    return run(more);
  };
  const std::string would = " would replace the listing g.csv\n";
  for (const std::string& name : names) {
    EXPECT_EQ(with({"-o", name}).err, "ERROR: The page " + name + would);
    EXPECT_EQ(with({"--save-settings", name}).err, "ERROR: The settings file " + name + would);
  }
  Outcome r = with({"-o", "p.html", "--save-settings", "./p.html"});
  EXPECT_EQ(std::to_string(r.status) + " " + r.out, "1 ");
  EXPECT_EQ(r.err, "ERROR: The settings file ./p.html would replace the page p.html\n");
  const std::string ini = absolute.substr(0, absolute.size() - 5) + "s.ini";
  r = with({"--settings", "s.ini", "-o", ini});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Version number changed, resetting to default.\nERROR: The page " + ini +
                       " would replace the settings file s.ini\n");
  // Every band: the contents page too.
  fs::create_directory("d");
  if (test::make_symlink("../g.csv", "d/g-bands.html")) {
    r = run("g.csv --band all --field EM -o d");
    EXPECT_EQ(r.err, "ERROR: The page " + joined("d", "g-bands.html") + would);
  }
  fs::remove_all("d");
  EXPECT_EQ(read_file("g.csv"), listing);
  fs::remove("p.html");
  EXPECT_EQ(folder.names(), before);
}

// The system's reason for each file that failed; pictures that cannot be put
// beside the page are a warning, a settings file not saved an error.
TEST_F(Cli, FileProblemsSayWhy) {
  // A file of the run that fails after the page was written changes nothing.
  write_file("g.csv", "Grid,2M\nEM00,W\n");
  write_file("p.html", "old");
  Outcome r = run("g.csv --band 2m --field EM -o p.html --ffma-list no/need.html");
  EXPECT_EQ(std::to_string(r.status) + r.out + r.err, "1ERROR: Could not write output file no/need.html: No such file or directory\n");
  EXPECT_EQ(read_file("p.html"), "old");
  EXPECT_EQ(folder.names(), (Args{"g.csv", "in", "p.html"}));
#ifndef _WIN32
  // A name as long as the file system takes: 120 Cyrillic letters, 245 bytes as a page.
  std::string russian;
  for (int i = 0; i < 120; ++i) russian += "\xD0\xB6";
  r = run({russian + ".csv", "--band", "2m", "--field", "EM"});
  EXPECT_EQ(r.err, "ERROR: Could not open input file " + russian + ".csv: No such file or directory\n");
  write_file(russian + ".csv", "Grid,2M\nEM00,W\n");
  EXPECT_EQ(run({russian + ".csv", "--band", "2m", "--field", "EM"}).status, 0);
  EXPECT_TRUE(fs::exists(russian + ".html"));
#endif
}

#ifndef _WIN32
// A device or a FIFO is written into as Unix tools do, never replaced, and
// gets no pictures. Nodes made here need root; /dev/null only as nobody.
TEST_F(Cli, DevicesAndPipesAreWrittenInto) {
  write_file("program/EM.gif", "EM");
  auto to = [](const std::string& page, Args more = {}) {
    more.insert(more.begin(), {"in/my.grids.csv", "--band", "2m", "--field", "EM", "-o", page});
    return run(more, "1796428800", "program");
  };
  if (geteuid() == 0) {
    ASSERT_EQ(mknod("null", S_IFCHR | 0666, makedev(1, 3)), 0);
    ASSERT_EQ(mknod("full", S_IFCHR | 0666, makedev(1, 7)), 0);
    EXPECT_EQ(to("null").status, 0);
    const std::string no_space = "full: No space left on device\n";
    EXPECT_EQ(to("full").err, "ERROR: Could not write output file " + no_space);
    EXPECT_FALSE(fs::exists("images"));
    Outcome r = run({"in/my.grids.csv", "--band", "2m", "--field", "EM", "--save-settings", "full"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERROR: Could not save settings file " + no_space);
    EXPECT_TRUE(fs::is_character_file("null") && fs::is_character_file("full"));
  }
  // Endless zeros as the listing: refused at once, not read into memory, with what the header must be.
  EXPECT_EQ(run("/dev/zero --band all --field EM").err, "ERROR: Unrecognized format of input file /dev/zero\nThe first"
            " line must be the header: it begins with Grid or Prefix, then one label per band (see --help).\nHere the "
            "first field is '????????????????...'; it must be Grid or Prefix.\n");
  ASSERT_EQ(mkfifo("pipe", 0600), 0);
  const int reader = open("pipe", O_RDONLY | O_NONBLOCK);  // the run's open need not wait
  fcntl(reader, F_SETPIPE_SZ, 1 << 20);  // room for the whole page
  EXPECT_EQ(to("pipe").status, 0);
  char head[7] = {};
  EXPECT_EQ(read(reader, head, 6), 6);
  close(reader);
  EXPECT_STREQ(head, "<html>");
  EXPECT_TRUE(fs::is_fifo("pipe"));
  EXPECT_FALSE(fs::exists("images"));
  const pid_t child = fork();
  if (child == 0) _exit(getuid() == 0 && (setgid(65534) | setuid(65534)) != 0 ? 99 : to("/dev/null").status);
  int status = -1;
  EXPECT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(status, 0) << "-o /dev/null as an unprivileged user";
}
#endif

}  // namespace
}  // namespace zelk
