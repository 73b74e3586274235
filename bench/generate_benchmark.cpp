// Generate against its floor: the same listing read plainly and the same page
// bytes written plainly. Listings: the sample, every square of the world
// (32,400 rows, scrambled), a million rows over those squares, and the world
// again in grid order. Peak heap bytes show that memory follows the distinct
// grids, not the rows. Then every band of a world with nine band columns
// against one band of it, and a listing with one line of 300 MB against the
// same listing without it: the reader holds no more of a line than it keeps.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "conversion/every_band.h"
#include "conversion/generate.h"
#include "listing/band_table.h"
#include "record/settings_record.h"

#include "bench/heap_counter.h"

using zelk::bench::live_bytes;
using zelk::bench::peak_bytes;

namespace {

namespace fs = std::filesystem;

const fs::path& work_folder() {
  static const fs::path folder = [] {
    fs::path path = fs::temp_directory_path() / "zelk-bench";
    fs::create_directories(path);
    return path;
  }();
  return folder;
}

std::string world_grid(long i) {
  long square = i % 32400;
  long lon = square % 180, lat = square / 180;
  char grid[5] = {static_cast<char>('A' + lon / 10), static_cast<char>('A' + lat / 10),
                  static_cast<char>('0' + lon % 10), static_cast<char>('0' + lat % 10), '\0'};
  return grid;
}

// A listing of `rows` rows cycling over the world's squares, with letters in
// two band columns.
fs::path make_listing(const std::string& name, long rows) {
  fs::path path = work_folder() / name;
  if (fs::exists(path)) return path;
  std::ofstream out(path, std::ios::binary);
  out << "Grid,6M,2M,222,432,SAT\n";
  const char letters[] = "CW*SLMN";
  for (long i = 0; i < rows; ++i)
    out << world_grid(i * 7919) << ",W," << letters[i % 7] << ",,C,\n";
  return path;
}

// Every square of the world, scrambled, with a letter in each of nine band
// columns: what --band all reads.
fs::path make_nine_band_world() {
  fs::path path = work_folder() / "world-nine-bands.csv";
  if (fs::exists(path)) return path;
  std::ofstream out(path, std::ios::binary);
  out << "Grid,6M,2M,1.25M,70CM,33CM,23CM,13CM,9CM,6CM\n";
  const char letters[] = "CW*SLMN";
  for (long i = 0; i < 32400; ++i) {
    out << world_grid(i * 7919);
    for (long band = 0; band < 9; ++band) out << ',' << letters[(i + band) % 7];
    out << '\n';
  }
  return path;
}

// Every square of the world in grid order, as logs export them.
fs::path make_ordered_world() {
  fs::path path = work_folder() / "world-ordered.csv";
  if (fs::exists(path)) return path;
  std::ofstream out(path, std::ios::binary);
  out << "Grid,6M,2M,222,432,SAT\n";
  for (char east = 'A'; east <= 'R'; ++east)
    for (char north = 'A'; north <= 'R'; ++north)
      for (char x = '0'; x <= '9'; ++x)
        for (char y = '0'; y <= '9'; ++y) out << east << north << x << y << ",W,W,,C,\n";
  return path;
}

fs::path listing_for(int which) {
  switch (which) {
    case 0: return fs::path(ZELK_EXAMPLES) / "grids.csv";
    case 1: return make_listing("world.csv", 32400);
    case 2: return make_listing("million.csv", 1000000);
    default: return make_ordered_world();
  }
}

const char* kLabels[] = {"sample", "world", "million", "world in grid order"};

// The 11x17 page of the 2 M band from EM, as a user would choose it.
zelk::GenerateResult generate_page(const fs::path& listing, const fs::path& page) {
  zelk::SettingsRecord record;
  zelk::reset_to_defaults(record);
  record.band_index = 1;
  zelk::set_print_format(record, zelk::kTabloid);
  zelk::GenerateRequest request;
  request.has_input_file = true;
  request.input_path = listing.string();
  request.output_path = page.string();
  request.ll_field_text = "EM";
  request.page_time = 1765000000;
  return zelk::generate(record, request);
}

void BM_Generate(benchmark::State& state) {
  fs::path listing = listing_for(static_cast<int>(state.range(0)));
  fs::path page = work_folder() / "page.html";
  long long peak = 0;
  for (auto _ : state) {
    long long base = live_bytes.load();
    peak_bytes = base;
    zelk::GenerateResult result = generate_page(listing, page);
    if (result.status != zelk::GenerateStatus::kWritten) state.SkipWithError(result.message.c_str());
    peak = peak_bytes.load() - base;
  }
  state.SetLabel(kLabels[state.range(0)]);
  state.counters["peak_heap_bytes"] = static_cast<double>(peak);
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) * static_cast<long long>(fs::file_size(listing)));
}
BENCHMARK(BM_Generate)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// One Generate of `band` from field EM: with kEveryBand every band's pages
// into the folder `out`, else the page `out`. False when a page failed.
bool generate_once(const fs::path& listing, int band, zelk::PrintFormat format, const fs::path& out) {
  zelk::SettingsRecord record;
  zelk::reset_to_defaults(record);
  zelk::set_print_format(record, format);
  record.band_index = band;
  zelk::GenerateRequest request;
  request.has_input_file = true;
  request.input_path = listing.string();
  request.ll_field_text = "EM";
  request.page_time = 1765000000;
  if (band == zelk::kEveryBand) return zelk::generate_every_band(record, {request, out.string()}).succeeded();
  request.output_path = out.string();
  return zelk::generate(record, request).status == zelk::GenerateStatus::kWritten;
}

// Every band's page and the contents page of the nine-band world, against
// one band's page of it and its any-band page (range 1, 0 and 2).
void BM_EveryBand(benchmark::State& state) {
  const fs::path listing = make_nine_band_world();
  const fs::path folder = work_folder() / "every-band";
  const int band = state.range(0) == 1 ? zelk::kEveryBand : state.range(0) == 0 ? 1 : zelk::kAnyBand;
  fs::create_directories(folder);
  long long peak = 0;
  for (auto _ : state) {
    long long base = live_bytes.load();
    peak_bytes = base;
    if (!generate_once(listing, band, zelk::kTabloid, band == zelk::kEveryBand ? folder : folder / "one.html"))
      state.SkipWithError("a page failed");
    peak = peak_bytes.load() - base;
  }
  state.counters["peak_heap_bytes"] = static_cast<double>(peak);
  static constexpr const char* kLabels[] = {"nine-band world, 2 M", "nine-band world, every band",
                                            "nine-band world, any band"};
  state.SetLabel(kLabels[state.range(0)]);
}
BENCHMARK(BM_EveryBand)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// A short listing, then the same with one 300 MB line: a remark after a
// row's cells (range 1), or a header label (range 2); or a row whose first
// field is 200 MB and names no grid (range 3). Peak heap for one band and
// for every band.
fs::path make_long_line_listing(int which) {
  const char* names[] = {"short.csv", "long-row.csv", "long-label.csv", "long-first-field.csv"};
  fs::path path = work_folder() / names[which];
  if (fs::exists(path)) return path;
  std::ofstream out(path, std::ios::binary);
  const std::string filler(1 << 20, 'x');
  out << "Grid,6M,2M" << (which == 2 ? ",Notes " : "");
  for (int mb = 0; which == 2 && mb < 300; ++mb) out << filler;
  out << "\nFN31,W,C\nFN32,,W" << (which == 1 ? ",remarks " : "");
  for (int mb = 0; which == 1 && mb < 300; ++mb) out << filler;
  if (which == 3) out << "\n";
  for (int mb = 0; which == 3 && mb < 200; ++mb) out << filler;
  if (which == 3) out << ",,";
  out << "\nFN33,C,W\n";
  return path;
}

void BM_LongLine(benchmark::State& state) {
  const fs::path listing = make_long_line_listing(static_cast<int>(state.range(0)));
  const bool every_band = state.range(1) != 0;
  long long peak = 0;
  for (auto _ : state) {
    long long base = live_bytes.load();
    peak_bytes = base;
    const fs::path out = work_folder() / (every_band ? "long-line" : "long-line.html");
    if (!generate_once(listing, every_band ? zelk::kEveryBand : 1, zelk::kLandscape, out))
      state.SkipWithError("no page");
    peak = peak_bytes.load() - base;
  }
  state.counters["peak_heap_bytes"] = static_cast<double>(peak);
  const char* labels[] = {"short", "300 MB row", "300 MB label", "200 MB first field"};
  state.SetLabel(std::string(labels[state.range(0)]) + (every_band ? ", every band" : ", 2 M"));
}
BENCHMARK(BM_LongLine)->ArgsProduct({{0, 1, 2, 3}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(1);

// The floor: every byte of the listing read, and the page's bytes written,
// with no parsing or formatting.
void BM_PlainReadAndWrite(benchmark::State& state) {
  fs::path listing = listing_for(static_cast<int>(state.range(0)));
  fs::path page = work_folder() / "page-floor.html";
  std::string page_bytes;
  {
    fs::path reference = work_folder() / "page-reference.html";
    generate_page(listing, reference);
    std::ifstream in(reference, std::ios::binary);
    page_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::vector<char> buffer(1 << 16);
  for (auto _ : state) {
    std::FILE* in = std::fopen(listing.string().c_str(), "r");
    std::size_t total = 0, n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) total += n;
    std::fclose(in);
    std::FILE* out = std::fopen(page.string().c_str(), "w");
    std::fwrite(page_bytes.data(), 1, page_bytes.size(), out);
    std::fclose(out);
    benchmark::DoNotOptimize(total);
  }
  state.SetLabel(kLabels[state.range(0)]);
  state.SetBytesProcessed(static_cast<long long>(state.iterations()) * static_cast<long long>(fs::file_size(listing)));
}
BENCHMARK(BM_PlainReadAndWrite)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
