#include "conversion/file_replace.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

namespace zelk {

namespace {

// Temporary names differ between processes too, so two programs writing the
// same page at once never share a temporary file.
std::string next_suffix() {
  static std::mt19937 generator(std::random_device{}() ^
                                static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".tmp%08x", static_cast<unsigned>(generator()));
  return suffix;
}

// Opening for appending writes nothing and leaves the time stamps alone.
bool may_write(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

}  // namespace

ReplacementFile::ReplacementFile(std::string target, const char* mode) : target_(std::move(target)) {
  std::error_code ec;
  // A directory at the target can never be replaced by a file.
  if (std::filesystem::is_directory(target_, ec)) return;
  // A rename would replace a file that its owner made read-only; writing
  // into it in place would have been refused, so refuse here too.
  if (std::filesystem::is_regular_file(target_, ec) && !may_write(target_)) return;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = target_ + next_suffix();
    if (std::filesystem::exists(candidate, ec)) continue;
    // Anything else that stops the open (no folder, no permission) will stop
    // every other name too.
    stream_ = std::fopen(candidate.c_str(), mode);
    if (stream_ != nullptr) temporary_ = std::move(candidate);
    return;
  }
}

ReplacementFile::~ReplacementFile() {
  if (stream_ != nullptr) std::fclose(stream_);
  if (!temporary_.empty()) std::remove(temporary_.c_str());
}

bool ReplacementFile::commit() {
  if (stream_ == nullptr) return false;
  bool written = std::fflush(stream_) == 0 && std::ferror(stream_) == 0;
  bool closed = std::fclose(stream_) == 0;
  stream_ = nullptr;
  if (!written || !closed) return false;
  std::error_code ec;
  std::filesystem::rename(temporary_, target_, ec);
  if (ec) return false;
  temporary_.clear();
  return true;
}

}  // namespace zelk
