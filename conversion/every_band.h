// The every-band run: the any band's page and the page of every band the
// listing's header names, each as that band's own Generate writes it, then
// the contents page with every band's totals, from one reading of the
// listing. The dialog's "All bands" and the command line's --band all both
// call it and only present what it gives back.
//
//   EveryBandRequest request{generate_request, "maps"};
//   EveryBandResult result = generate_every_band(record, request);
//   for (const BandOutcome& band : result.bands) show(band.line());
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
  GenerateResult result{GenerateStatus::kRefused, ""};  // the page's summary, or why it failed
  BandTotals totals;  // over the whole listing; `page` is set once the page is written

  bool written() const { return result.status == GenerateStatus::kWritten; }
  // "2 M (144 MHz): Wrote ..." or "... no worked grids, no page"; for a page
  // that failed, its error.
  std::string line() const;
};

struct EveryBandResult {
  // kWritten once pages were begun; otherwise the refusal or failure that
  // stopped the run before it wrote anything, not even a folder.
  GenerateResult stopped{GenerateStatus::kWritten, ""};
  std::vector<std::string> warnings;  // about the header's labels, whole lines
  std::vector<BandOutcome> bands;     // the any band, then in band order
  // The contents page: "Band totals: Wrote <path>", or why it failed; not
  // attempted (kRefused, empty) when no band's page was written.
  GenerateResult contents{GenerateStatus::kRefused, ""};
  std::string advice;  // what the last summary says after its first line
  std::string no_pages;  // the error when no band has worked grids; else empty

  // True when every band has its page or none to have, and so has the
  // contents page.
  bool succeeded() const;
  // Every band's totals, as the contents page shows them.
  std::vector<BandTotals> totals() const;
};

EveryBandResult generate_every_band(SettingsRecord& record, const EveryBandRequest& request);

// A failed result as a front end shows it: the message with the system's
// reason after its text ("...: The process cannot access the file because it
// is being used by another process.").
std::string failure_text(const GenerateResult& failed);

// A run as a person reads it, composed once for every front end: `errors`
// holds every failure, each with the system's reason, then the warnings;
// `summary` one short line per band, the folder of the pages once and the
// advice once. The command line prints the errors on stderr; a dialog shows
// both, errors first, in a box that fits a small screen.
struct EveryBandReport {
  std::string errors;
  std::string summary;
};
EveryBandReport every_band_report(const EveryBandResult& result, const EveryBandRequest& request);

// Where the run puts the contents page of `listing`.
std::string contents_page_path(const std::string& listing, const std::string& folder);

}  // namespace zelk
