// url_host, url_port, url_path, header_value on arbitrary addresses and header lines.
#include <string>

#include "fuzz_check.h"
#include "http_request.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);
  const std::string url = raw.substr(0, raw.find('\0'));

  const std::string host = tavlo::url_host(url);
  const std::string with_port = tavlo::url_host(url, false, true);
  (void)tavlo::url_host(url, true, false);
  (void)tavlo::url_host(url, true, true);
  FUZZ_CHECK(with_port.compare(0, host.size(), host) == 0);
  // A ":" or "/" right after a high byte is the second half of a character, not a
  // port or path start.
  bool ascii = true;
  for (unsigned char c : url) ascii = ascii && c < 0x80;
  if (ascii) {
    FUZZ_CHECK(host.find(':') == std::string::npos);
    FUZZ_CHECK(host.find('/') == std::string::npos);
  }

  const int port = tavlo::url_port(url);
  FUZZ_CHECK(port >= 0);
  if (with_port.find(':') == std::string::npos) FUZZ_CHECK(port == 80 || port == 443);

  const std::string path = tavlo::url_path(url);
  FUZZ_CHECK(!path.empty() && path[0] == '/');
  FUZZ_CHECK(path == "/" || url.find(path) != std::string::npos);

  const std::string value = tavlo::header_value(url);
  FUZZ_CHECK(value.size() <= url.size());
  if (url.find(':') == std::string::npos) FUZZ_CHECK(value.empty());
  if (!value.empty()) {
    FUZZ_CHECK(url.find(value) != std::string::npos);
    FUZZ_CHECK(value.front() != ' ');
    if (ascii) FUZZ_CHECK(value.back() != ' ');
  }
  return 0;
}
