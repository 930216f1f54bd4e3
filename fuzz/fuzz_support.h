#pragma once
// Shared pieces of the fuzz programs: exact-size copies of the input (so
// that AddressSanitizer sees a read one byte past the end), splitting an
// input into fields, a check that stops the run with a message, and a
// scratch file for the readers that only work on files.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sorvi::fuzz {

// Stops the run: libFuzzer keeps the input that did it.
#define FUZZ_CHECK(condition, what)                                                                           \
  do {                                                                                                        \
    if (!(condition)) {                                                                                       \
      std::fprintf(stderr, "fuzz check failed at %s:%d: %s\n  (%s)\n", __FILE__, __LINE__, what, #condition); \
      std::abort();                                                                                           \
    }                                                                                                         \
  } while (0)

// Bytes on the heap with nothing after them.
class ExactBytes {
 public:
  explicit ExactBytes(std::string_view bytes) : size_(bytes.size()), data_(new char[bytes.size() ? bytes.size() : 1]) {
    if (size_) std::memcpy(data_.get(), bytes.data(), size_);
  }
  std::string_view view() const { return {data_.get(), size_}; }

 private:
  size_t size_;
  std::unique_ptr<char[]> data_;
};

// Fields of an input, separated by kFieldSeparator (two 0xFF bytes, which
// no code page 932 text holds). Missing fields are empty.
inline constexpr std::string_view kFieldSeparator = "\xFF\xFF";

inline std::vector<std::string_view> SplitFields(std::string_view input, size_t count) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < count) {
    const size_t at = input.find(kFieldSeparator);
    if (at == std::string_view::npos) break;
    fields.push_back(input.substr(0, at));
    input.remove_prefix(at + kFieldSeparator.size());
  }
  fields.push_back(input);
  fields.resize(count);
  return fields;
}

inline std::string_view AsView(const uint8_t* data, size_t size) { return {reinterpret_cast<const char*>(data), size}; }

// A directory of this process for files the readers need: under
// $SORVI_FUZZ_SCRATCH when set, else in memory where the system has a
// tmpfs, so that every synced write costs little.
inline const std::filesystem::path& ScratchDir() {
  // Never destroyed: the clean-up at exit still needs it.
  static const std::filesystem::path* dir = [] {
    const char* chosen = std::getenv("SORVI_FUZZ_SCRATCH");
    std::filesystem::path base = chosen && *chosen ? chosen : "/dev/shm";
    if (!std::filesystem::is_directory(base)) base = std::filesystem::temp_directory_path();
    // Staged settings rewrites go to the temporary directory too.
    ::setenv("TMPDIR", base.c_str(), 1);
    auto* d = new std::filesystem::path(base / ("sorvi-fuzz-" + std::to_string(::getpid())));
    std::filesystem::create_directories(*d);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(ScratchDir(), ec);
    });
    return d;
  }();
  return *dir;
}

inline void WriteFileBytes(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  FUZZ_CHECK(f != nullptr, "scratch file cannot be created");
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

}  // namespace sorvi::fuzz
