// Cutting names, sizes and info-hashes out of a search result page, by fixed markers
// over the normalised GBK page. No parser, no Qt.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text.h"

namespace tavlo {

// The working record of one fetched page. Each worker has its own, so nothing here is
// shared between threads.
struct SearchScrape {
  std::string site;        // "1" .. "5"
  std::string site2_host;  // site 2's host: its hash links are absolute addresses
  std::string page;        // normalised page; site 3's name step narrows it in place
  TextList names;
  TextList sizes;
  TextList hashes;
};

// UTF-8 answer bytes -> GBK, every double quote turned into a single quote.
std::string normalise_search_page(std::string_view raw);

// The three cuts, in this order (site 3's name step narrows `page` for the others).
void scrape_names(SearchScrape& s);
void scrape_sizes(SearchScrape& s);
void scrape_hashes(SearchScrape& s);
inline void scrape_all(SearchScrape& s) {
  scrape_names(s);
  scrape_sizes(s);
  scrape_hashes(s);
}

// Whether the page (as narrowed by the name step) shows its site's more marker.
bool search_page_has_more(const SearchScrape& s);

// One row of the result list. Texts are GBK.
struct ResultRow {
  std::string id;  // ROW_ID_OFFSET + position in page order, from 10001
  std::string name;
  std::string size;
  std::string hash;
};

// The rows a page gives, in list order: every row goes in at the top, so the first
// name of the page is the last row. One row per name; a size or hash that the page
// does not have leaves its cell empty.
std::vector<ResultRow> result_rows(const SearchScrape& s);

// "magnet:?xt=urn:btih:" followed by the hash unchanged.
std::string magnet_of_hash(std::string_view hash);

}  // namespace tavlo
