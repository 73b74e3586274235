// The every-band run: the any band's page and the page of every band the
// listing's header names, each as that band's own Generate writes it, then
// the contents page with every band's totals, from one reading of the
// listing. The dialog's "All bands" and the command line's --band all both
// call it and only present what it gives back.
//
//   EveryBandRequest request{generate_request, "maps"};
//   EveryBandResult result = generate_every_band(record, request);
//   RunReport report = every_band_report(result, request);
#pragma once

#include <string>
#include <vector>

#include "conversion/generate.h"
#include "record/settings_record.h"
#include "mappage/band_totals.h"

namespace zelk {

struct EveryBandRequest {
  GenerateRequest generate;  // as for one band; the run names each page itself
  std::string folder;        // where the pages go; empty for the current folder
};

struct BandOutcome {
  int band_index = -1;
  std::string page;  // its path, as the summary names it
  std::string ffma_list;  // the path of its FFMA squares still needed; empty without the FFMA option
  bool worked = true;  // false: no row has a letter in the band's column, so it gets no page
  // The page's summary, or why the band got none (no credited grid to
  // place its map by); that band's trouble is its own.
  GenerateResult result{GenerateStatus::kRefused, ""};
  BandTotals totals;  // over the whole listing; `page` is set once the page is written

  bool written() const { return result.status == GenerateStatus::kWritten; }
  // "2 M (144 MHz): Wrote ..." or why the band has no page.
  std::string line() const;
};

struct EveryBandResult {
  // kWritten when every file of the run is in place; otherwise what stopped
  // the run, which then changed no file (a rename that failed says what it
  // had replaced).
  GenerateResult stopped{GenerateStatus::kWritten, ""};
  std::vector<std::string> warnings;  // about the header's labels and the pictures, whole lines
  std::vector<BandOutcome> bands;     // the any band, then in band order
  std::string contents;  // the contents page's path, once written
  std::string advice;  // what the last summary says after its first line

  bool succeeded() const { return stopped.status == GenerateStatus::kWritten; }
  // Every band's totals, as the contents page shows them.
  std::vector<BandTotals> totals() const;
};

EveryBandResult generate_every_band(SettingsRecord& record, const EveryBandRequest& request);

// The run's report: its error and warnings, then for a dialog (the request
// mentions the View button) one short line per band, the folder of the
// pages once and the advice once, in a box that fits a small screen; for a
// terminal each page's "Wrote" line and the totals as a table.
RunReport every_band_report(const EveryBandResult& result, const EveryBandRequest& request);

// Where the run puts the contents page of `listing`.
std::string contents_page_path(const std::string& listing, const std::string& folder);

}  // namespace zelk
