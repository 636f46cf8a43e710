// merge_cookies: the result is stored back, spaces are gone, no deleted cookie and no
// repeated item survives.
#include <fuzzer/FuzzedDataProvider.h>

#include <set>
#include <string>

#include "fuzz_check.h"
#include "http_request.h"

namespace {
bool ascii(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  std::string kept = in.ConsumeRandomLengthString(512);
  std::string fresh = in.ConsumeRemainingBytesAsString();
  // Texts end at their first zero byte.
  kept = kept.substr(0, kept.find('\0'));
  fresh = fresh.substr(0, fresh.find('\0'));
  // With two-byte characters a ";" or space may be a trail byte's neighbour and not count
  // as one; the item rules below are checked on ASCII cookie strings only.
  const bool simple = ascii(kept) && ascii(fresh);

  const std::string merged = tavlo::merge_cookies(kept, fresh);
  FUZZ_CHECK(merged == kept);
  if (!simple) return 0;

  FUZZ_CHECK(fresh.find(' ') == std::string::npos);
  std::set<std::string> seen;
  size_t from = 0;
  while (from < merged.size()) {
    size_t sep = merged.find("; ", from);
    if (sep == std::string::npos) sep = merged.size();
    const std::string item = merged.substr(from, sep - from);
    FUZZ_CHECK(item.find(';') == std::string::npos);
    FUZZ_CHECK(item.find(' ') == std::string::npos);
    const std::string deleted = "=deleted";
    FUZZ_CHECK(item.size() < deleted.size() ||
               item.compare(item.size() - deleted.size(), deleted.size(), deleted) != 0);
    if (!item.empty()) FUZZ_CHECK(seen.insert(item).second);
    from = sep + 2;
  }
  return 0;
}
