// The five torrent-search sites: their address forms and their more markers.
// No Qt here: the command-line front end uses this as it is.
#pragma once

#include <string>
#include <string_view>

namespace tavlo {

inline constexpr int SEARCH_SITE_COUNT = 5;

// One row of the site table. K is the percent-encoded keyword, N the page number.
// First page:  first_before K first_after
// Next page:   next_before K next_between N
struct SearchSite {
  std::string_view index;  // "1" .. "5"
  std::string_view first_before;
  std::string_view first_after;
  std::string_view next_before;
  std::string_view next_between;
  std::string_view more_marker_utf8;  // sought case-sensitively in the normalised page
};

// The row for "1" .. "5"; nullptr for anything else.
const SearchSite* search_site_row(std::string_view index);

// A site index drawn at random, each of the five equally likely, as one-digit text.
std::string draw_search_site();

// The configured host ("host" or "host:port") of a site; "" for an unknown index.
std::string search_site_host(std::string_view index);

// "http://" + host + path and query. "" for an unknown index.
std::string search_first_page_address(std::string_view index, std::string_view host,
                                      std::string_view encoded_keyword);
std::string search_next_page_address(std::string_view index, std::string_view host,
                                     std::string_view encoded_keyword, long long page);

// The site's more marker as GBK text; "" for an unknown index.
const std::string& search_more_marker(std::string_view index);

}  // namespace tavlo
