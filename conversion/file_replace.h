// Writes a file so that it is never half-written: the bytes go to a temporary
// file in the target's folder, which replaces the target only once complete.
#pragma once

#include <cstdio>
#include <string>

namespace zelk {

class ReplacementFile {
 public:
  // mode is "w" (text) or "wb" (raw bytes).
  ReplacementFile(std::string target, const char* mode);
  ~ReplacementFile();  // removes the temporary file unless committed
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Null when the target is a folder or a file we may not write, or when
  // the temporary file could not be created.
  std::FILE* stream() const { return stream_; }
  // Flushes, closes and renames over the target; false, with the target
  // untouched, when any write, the close or the rename failed.
  bool commit();

 private:
  std::string target_;
  std::string temporary_;
  std::FILE* stream_ = nullptr;
};

}  // namespace zelk
