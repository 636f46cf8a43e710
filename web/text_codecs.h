// Code-page conversions (GBK = Windows code page 936, UTF-8, UTF-16LE) and the
// marker-based extractors every service client and scraper rests on.
#pragma once

#include <string>
#include <string_view>

#include "text.h"

namespace tavlo {

using Bytes = std::string;  // explicit length, may hold zero bytes

constexpr int CP_GBK = 936;
constexpr int CP_UTF8 = 65001;

// The text between the first `start_marker` (searched from `start_position`) and the next
// `end_marker`; "" when either is missing. "#引号" in a marker stands for a double quote.
std::string text_between(std::string_view text, std::string_view start_marker,
                         std::string_view end_marker, int start_position = 1,
                         bool case_sensitive = false);

// Every piece between the markers (case-sensitive, one-step-forward rule). `pieces` is
// cleared first. Returns the first piece or "".
std::string text_between_all(std::string_view text, std::string_view start_marker,
                             std::string_view end_marker, TextList& pieces, bool find_all);

// "\uXXXX", "%uXXXX", "%XX" and the other script-literal escapes decoded; "" where a
// script would not parse the text.
std::string unescape_unicode(std::string_view text);

Bytes utf8_bytes_to_utf16(std::string_view utf8);       // UTF-16LE, no terminator
Bytes utf8_bytes_to_gbk_bytes(std::string_view utf8);   // NFC-composed, "?" when unmappable
Bytes text_to_utf16(std::string_view text, int code_page = CP_UTF8);  // with one zero char
std::string utf16_to_text(std::string_view utf16le, int code_page = CP_GBK);
std::string gbk_to_utf8(std::string_view gbk_text);
std::string utf8_to_gbk(std::string_view utf8_text);

}  // namespace tavlo
