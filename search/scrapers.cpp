#include "scrapers.h"

#include <algorithm>

#include "app_state.h"
#include "percent.h"
#include "search_sites.h"
#include "text_codecs.h"

namespace tavlo {

namespace {

// Fixed Chinese markers, converted to GBK once.
struct GbkMarkers {
  std::string site4_size_start = gbk("帐号]</strong></a>");
  std::string site5_name_start = gbk("alt='下载 ");
  std::string site5_size_start = gbk("大小: ");
};

const GbkMarkers& markers() {
  static const GbkMarkers m;
  return m;
}

TextList cut(std::string_view text, std::string_view start, std::string_view end) {
  TextList pieces;
  text_between_all(text, start, end, pieces, true);
  return pieces;
}

std::string joined(const TextList& pieces) {
  std::size_t total = 0;
  for (const auto& p : pieces) total += p.size();
  std::string all;
  all.reserve(total);
  for (const auto& p : pieces) all += p;
  return all;
}

}  // namespace

std::string normalise_search_page(std::string_view raw) {
  std::string page = utf8_to_gbk(text_of(raw));
  std::replace(page.begin(), page.end(), '"', '\'');
  return page;
}

void scrape_names(SearchScrape& s) {
  s.names.clear();
  if (s.site == "1") {
    s.names = cut(s.page, "<td class='name'>", "</td>");
  } else if (s.site == "2") {
    s.names = cut(s.page, "btn' title='", "' target='_blank'>Detail");
  } else if (s.site == "3") {
    // The result table only: the recommendation block below it carries links of the
    // same form.
    s.page = text_between(s.page, "<thead>", "id='recommend");
    s.names = cut(s.page, "&dn=", "'");
    for (auto& name : s.names) name = percent_decode(name, true);
  } else if (s.site == "4") {
    s.names = cut(s.page, "><h4>", "</h4>");
    for (auto& name : s.names) {
      name = replace_all(name, "<em>", "", true);
      name = replace_all(name, "</em>", "", true);
    }
  } else if (s.site == "5") {
    s.names = cut(s.page, markers().site5_name_start, "'");
  }
}

void scrape_sizes(SearchScrape& s) {
  s.sizes.clear();
  if (s.site == "1") {
    s.sizes = cut(s.page, "<td class='size'>", "</td>");
  } else if (s.site == "2") {
    s.sizes = cut(s.page, "<td class='files-size'>", "</td>");
  } else if (s.site == "3") {
    const std::string cells = joined(cut(s.page, "</em></span>", "magnet:?"));
    s.sizes = cut(cells, "<td>", "B</td>");
    // The end marker took the unit's "B".
    for (auto& size : s.sizes) size = remove_spaces(size) + "B";
  } else if (s.site == "4") {
    const std::string cells = joined(cut(s.page, markers().site4_size_start, "</str"));
    s.sizes = cut(cells, "<strong>[", "]");
  } else if (s.site == "5") {
    s.sizes = cut(s.page, markers().site5_size_start, "&");
  }
}

void scrape_hashes(SearchScrape& s) {
  s.hashes.clear();
  if (s.site == "1") {
    s.hashes = cut(s.page, "/information/", "'");
  } else if (s.site == "2") {
    const std::string prefix = "<td><a href='http://" + s.site2_host + "/magnet/detail/hash/";
    s.hashes = cut(s.page, prefix, "' title=");
  } else if (s.site == "3") {
    s.hashes = cut(s.page, "magnet:?xt=urn:btih:", "&dn=");
  } else if (s.site == "4") {
    s.hashes = cut(s.page, "hash:</strong>", "</p>");
  } else if (s.site == "5") {
    s.hashes = cut(s.page, "btih:", "&d");
  }
}

bool search_page_has_more(const SearchScrape& s) {
  const std::string& marker = search_more_marker(s.site);
  return !marker.empty() && text_find(s.page, marker) != -1;
}

std::vector<ResultRow> result_rows(const SearchScrape& s) {
  const std::size_t n = s.names.size();
  std::vector<ResultRow> rows(n);
  for (std::size_t i = 0; i < n; ++i) {
    // Page item i goes in at the top after items 0 .. i-1: it ends n-1-i rows down.
    ResultRow& row = rows[n - 1 - i];
    row.id = std::to_string(ROW_ID_OFFSET + static_cast<long long>(i) + 1);
    row.name = s.names[i];
    if (i < s.sizes.size()) row.size = s.sizes[i];
    if (i < s.hashes.size()) row.hash = s.hashes[i];
  }
  return rows;
}

std::string magnet_of_hash(std::string_view hash) {
  std::string link = "magnet:?xt=urn:btih:";
  link.append(hash);
  return link;
}

}  // namespace tavlo
