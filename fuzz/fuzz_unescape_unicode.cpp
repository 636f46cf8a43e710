// unescape_unicode: never grows the text, and leaves plain text alone.
#include <string>

#include "fuzz_check.h"
#include "text_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string got = tavlo::unescape_unicode(text);

  // Every escape, marker and replacement is at least as long as what it stands for.
  FUZZ_CHECK(got.size() <= text.size());
  FUZZ_CHECK(got.find('\0') == std::string::npos);

  bool plain = true;
  for (unsigned char c : text)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
          c == ' ' || c == '.' || c == '/' || c == '\''))
      plain = false;
  if (plain) FUZZ_CHECK(got == text);
  return 0;
}
