// text_between: the result is a piece of the text that follows the start marker, and the
// one a slow character-by-character model gives.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fuzz_check.h"
#include "reference.h"
#include "text.h"
#include "text_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const int start_position = in.ConsumeIntegralInRange<int>(-3, 300);
  const bool case_sensitive = in.ConsumeBool();
  const std::string start = in.ConsumeRandomLengthString(16);
  const std::string end = in.ConsumeRandomLengthString(16);
  const std::string text = in.ConsumeRemainingBytesAsString();

  const std::string got = tavlo::text_between(text, start, end, start_position, case_sensitive);
  FUZZ_CHECK(got.size() <= text.size());
  if (!got.empty()) FUZZ_CHECK(text.find(got) != std::string::npos);

  // Without the quote placeholder and case folding, the frame is literally in the text.
  const std::string quote = tavlo::gbk("#引号");
  if (case_sensitive && !got.empty() && start.find(quote) == std::string::npos &&
      end.find(quote) == std::string::npos)
    FUZZ_CHECK(text.find(start + got + end) != std::string::npos);

  FUZZ_CHECK(got == ref::text_between(text, start, end, start_position, case_sensitive, quote));
  return 0;
}
