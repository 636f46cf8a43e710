// text_between_all: every piece is cut from the text, framed by the two markers, and the
// pieces are those of a slow character-by-character model.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fuzz_check.h"
#include "reference.h"
#include "text_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string start = in.ConsumeRandomLengthString(16);
  const std::string end = in.ConsumeRandomLengthString(16);
  const std::string text = in.ConsumeRemainingBytesAsString();

  tavlo::TextList all;
  const std::string first = tavlo::text_between_all(text, start, end, all, true);
  tavlo::TextList one;
  const std::string only = tavlo::text_between_all(text, start, end, one, false);

  FUZZ_CHECK(first == (all.empty() ? std::string() : all.front()));
  FUZZ_CHECK(only == first);
  FUZZ_CHECK(one.size() == (all.empty() ? 0u : 1u));
  size_t from = 0;
  for (const std::string& piece : all) {
    FUZZ_CHECK(!start.empty() && !end.empty());
    // A second start marker that overlaps the end marker leaves an empty piece.
    if (piece.empty()) continue;
    // Pieces come in text order, each with its start marker before and end marker after.
    const size_t at = text.find(start + piece + end, from);
    FUZZ_CHECK(at != std::string::npos);
    from = at + start.size();
  }
  FUZZ_CHECK(all.size() <= text.size() / 2 + 1);

  // The same pieces as the character-by-character model.
  FUZZ_CHECK(all == ref::text_between_all(text, start, end, true));
  FUZZ_CHECK(one == ref::text_between_all(text, start, end, false));
  return 0;
}
