// percent_encode / percent_decode: encoding is ASCII and decodes back to the input.
#include <string>

#include "fuzz_check.h"
#include "percent.h"
#include "text_codecs.h"

namespace {
bool hex_upper(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }
bool unreserved(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         c == '-' || c == '.';
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);
  const std::string text = raw.substr(0, raw.find('\0'));

  const std::string enc = tavlo::percent_encode(text, false);
  for (size_t i = 0; i < enc.size(); ++i) {
    if (enc[i] == '%') {
      FUZZ_CHECK(i + 2 < enc.size() && hex_upper(enc[i + 1]) && hex_upper(enc[i + 2]));
      i += 2;
    } else {
      FUZZ_CHECK(unreserved(enc[i]));
    }
  }
  FUZZ_CHECK(tavlo::percent_decode(enc, false) == text);

  // Through UTF-8: back to the same GBK text whenever the text itself survives the trip.
  if (tavlo::utf8_to_gbk(tavlo::gbk_to_utf8(text)) == text)
    FUZZ_CHECK(tavlo::percent_decode(tavlo::percent_encode(text, true), true) == text);

  // Decoding arbitrary input never reads past its end and never grows it.
  FUZZ_CHECK(tavlo::percent_decode(raw, false).size() <= raw.size());
  (void)tavlo::percent_decode(raw, true);
  return 0;
}
