// Replays the inputs in the given folders through a fuzz target without
// libFuzzer, so the seeds and every crash found run in the ordinary tests.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  std::error_code ec;
  for (int i = 1; i < argc; ++i)
    for (const auto& entry : fs::is_directory(argv[i], ec) ? fs::directory_iterator(argv[i]) : fs::directory_iterator())
      if (entry.is_regular_file()) inputs.push_back(entry.path());
  for (const fs::path& input : inputs) {
    std::fprintf(stderr, "replaying %s\n", input.c_str());  // the last line names an input that aborts
    std::ifstream in(input, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    LLVMFuzzerTestOneInput(bytes.empty() ? nullptr : bytes.data(), bytes.size());  // as libFuzzer may pass
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
