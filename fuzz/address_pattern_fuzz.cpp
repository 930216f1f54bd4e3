// Address patterns of direct function-key entries, with patterns and
// addresses from the input: the relations that make a pattern usable.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/keymacro/address_pattern.h"
#include "core/keymacro/key_func_registry.h"
#include "fuzz_support.h"

namespace sorvi::fuzz {
namespace {

void Run(std::string_view pattern, std::string_view address, std::string_view more) {
  const bool match = AddressPatternMatches(pattern, address);
  FUZZ_CHECK(AddressPatternMatches("", address), "the empty pattern misses an address");
  const std::string exact = "*" + std::string(address);
  FUZZ_CHECK(AddressPatternMatches(exact, address), "an exact pattern misses its address");
  if (!pattern.starts_with('*')) {
    FUZZ_CHECK(AddressPatternMatches(pattern, pattern), "a prefix pattern misses itself");
    // What follows a matched prefix does not matter.
    const std::string longer = std::string(address) + std::string(more);
    if (match) FUZZ_CHECK(AddressPatternMatches(pattern, longer), "a longer address lost its prefix match");
    FUZZ_CHECK(match == (address.substr(0, pattern.size()) == pattern), "prefix match differs from the bytes");
  } else {
    const std::string longer = std::string(address) + std::string(more);
    if (!more.empty()) FUZZ_CHECK(!AddressPatternMatches(exact, longer), "an exact pattern matched more");
  }

  // The first entry whose pattern matches plays, the others never.
  std::vector<KeyFuncEntry> entries = {{"a", std::string(more)}, {"b", std::string(pattern)}, {"c", exact}};
  const KeyFuncEntry* found = FindDirectEntry(entries, address);
  FUZZ_CHECK(found != nullptr, "no entry found although one matches exactly");
  const bool first = AddressPatternMatches(more, address);
  FUZZ_CHECK(first ? found == &entries[0] : found != &entries[0], "not the first matching entry");
  if (!first) FUZZ_CHECK(found == (match ? &entries[1] : &entries[2]), "not the first matching entry");
}

}  // namespace
}  // namespace sorvi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sorvi::fuzz;
  const std::vector<std::string_view> fields = SplitFields(AsView(data, size), 3);
  const ExactBytes pattern(fields[0]), address(fields[1]), more(fields[2]);
  Run(pattern.view(), address.view(), more.view());
  return 0;
}
