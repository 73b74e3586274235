// Runs a fuzz target over stored inputs without libFuzzer, so that the
// corpora and every crash the fuzzers ever found replay in the ordinary
// test run (and under the sanitizers). Arguments: files or folders; a
// missing folder is no input.
#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// Named when a check or a sanitizer aborts, so the failing input is known.
char current_input[4096];

extern "C" void name_the_input(int signal_number) {
  const char prefix[] = "\nwhile replaying ";
  (void)!::write(2, prefix, sizeof prefix - 1);
  (void)!::write(2, current_input, std::strlen(current_input));
  (void)!::write(2, "\n", 1);
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    std::error_code ec;
    if (fs::is_directory(argv[i], ec)) {
      for (const auto& entry : fs::directory_iterator(argv[i]))
        if (entry.is_regular_file()) inputs.push_back(entry.path());
    } else if (fs::is_regular_file(argv[i], ec)) {
      inputs.emplace_back(argv[i]);
    }
  }
  // A sanitizer's own handler stays: it names the fault, and its report
  // ends in an abort that names the input.
  for (int signal_number : {SIGABRT, SIGSEGV}) {
    struct sigaction installed {};
    if (::sigaction(signal_number, nullptr, &installed) == 0 && installed.sa_handler == SIG_DFL)
      std::signal(signal_number, name_the_input);
  }
  for (const fs::path& input : inputs) {
    std::snprintf(current_input, sizeof current_input, "%s", input.c_str());
    std::ifstream in(input, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    // A null pointer for no bytes, as libFuzzer may pass.
    LLVMFuzzerTestOneInput(bytes.empty() ? nullptr : bytes.data(), bytes.size());
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
