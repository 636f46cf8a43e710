// GBK text helpers: the program's search rule, trimming, splitting, replacing.
// Texts are GBK byte strings held in std::string. Positions are 1-based; -1 = not found.
// A match may begin only on a character boundary (a byte >= 0x80 and the byte after it
// form one character); case-insensitive comparison folds ASCII letters only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavlo {

using TextList = std::vector<std::string>;

// Position (1-based) of `needle` in `text` searching from `start` (values < 1 mean 1), or -1.
// An empty needle is never found.
int text_find(std::string_view text, std::string_view needle, int start = 1,
              bool ignore_case = false);
// Last occurrence (on a character boundary), or -1.
int text_find_last(std::string_view text, std::string_view needle, bool ignore_case = false);
bool text_contains(std::string_view text, std::string_view needle, bool ignore_case = false);

// What a forward-moving series of searches over one text has learnt about its character
// boundaries; keeps loops over long runs of two-byte characters linear.
struct TextCursor {
  std::size_t known = 0;  // a 0-based offset known to start a character
};
int text_find(std::string_view text, std::string_view needle, int start, bool ignore_case,
              TextCursor& cursor);

std::string to_lower_ascii(std::string_view s);
std::string to_upper_ascii(std::string_view s);

// Spaces are ASCII 0x20 and the ideographic space A1 A1 (on a character boundary).
std::string trim_spaces(std::string_view s);
std::string trim_left_spaces(std::string_view s);
std::string trim_right_spaces(std::string_view s);
std::string remove_spaces(std::string_view s);

// Empty text: no items. Empty pieces between separators are items; a trailing empty piece
// is dropped. The separator matches only on a character boundary.
TextList split_text(std::string_view s, std::string_view sep);

// Replace every occurrence (character-boundary rule) of `from` by `to`.
std::string replace_all(std::string_view s, std::string_view from, std::string_view to,
                        bool ignore_case = false);

// The text up to its first zero byte.
std::string text_of(std::string_view bytes);

// The first n bytes / the last n bytes / from 1-based position for count bytes.
std::string text_left(std::string_view s, int n);
std::string text_right(std::string_view s, int n);
std::string text_mid(std::string_view s, int start, int count = -1);

// A UTF-8 source literal as GBK bytes. Every fixed Chinese text of the program that is
// compared with or inserted into GBK text goes through this.
std::string gbk(std::string_view utf8_literal);

}  // namespace tavlo
