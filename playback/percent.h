#pragma once
#include <string>
#include <string_view>

namespace tavlo {
// Escapes every byte outside A-Z a-z 0-9 - . as %XX (upper-case hex); a space is %20.
std::string percent_encode(std::string_view text, bool as_utf8);
// %XX decoded (either case); "+" stays "+". A malformed escape never reads past the end.
std::string percent_decode(std::string_view text, bool from_utf8);
}  // namespace tavlo
