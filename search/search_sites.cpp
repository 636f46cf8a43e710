#include "search_sites.h"

#include <array>
#include <chrono>
#include <random>

#include "hosts.h"
#include "text.h"

namespace tavlo {

namespace {

constexpr std::array<SearchSite, SEARCH_SITE_COUNT> kSites = {{
    {"1", "/search/", "/", "/search/", "/", "current"},
    {"2", "/search/", "", "/search/", "/currentPage/", "Next"},
    {"3", "/?keyword=", "", "/?keyword=", "&page=", "<span>1</span>"},
    {"4", "/s/?q=", "&f=_all&m=yes", "/s/index.php?q=", "&m=&f=_all&s=&p=", "disabled"},
    {"5", "/search/", "", "/search/", "/", "下一页"},
}};

int site_number(std::string_view index) {
  if (index.size() != 1 || index[0] < '1' || index[0] > '0' + SEARCH_SITE_COUNT) return 0;
  return index[0] - '0';
}

}  // namespace

const SearchSite* search_site_row(std::string_view index) {
  const int n = site_number(index);
  return n == 0 ? nullptr : &kSites[n - 1];
}

std::string draw_search_site() {
  // Reseeded from the clock on every draw, like the tick-count reseed it stands for.
  const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
  std::mt19937 gen(static_cast<std::mt19937::result_type>(tick ^ (tick >> 32)));
  std::uniform_int_distribution<int> pick(1, SEARCH_SITE_COUNT);
  return std::string(1, static_cast<char>('0' + pick(gen)));
}

std::string search_site_host(std::string_view index) {
  const int n = site_number(index);
  return n == 0 ? std::string() : hosts().site[n - 1];
}

std::string search_first_page_address(std::string_view index, std::string_view host,
                                      std::string_view encoded_keyword) {
  const SearchSite* s = search_site_row(index);
  if (!s) return {};
  std::string url = "http://";
  url.append(host).append(s->first_before).append(encoded_keyword).append(s->first_after);
  return url;
}

std::string search_next_page_address(std::string_view index, std::string_view host,
                                     std::string_view encoded_keyword, long long page) {
  const SearchSite* s = search_site_row(index);
  if (!s) return {};
  std::string url = "http://";
  url.append(host).append(s->next_before).append(encoded_keyword).append(s->next_between);
  url += std::to_string(page);
  return url;
}

const std::string& search_more_marker(std::string_view index) {
  // Converted once: the table holds UTF-8 source text, pages are GBK.
  static const std::array<std::string, SEARCH_SITE_COUNT> markers = [] {
    std::array<std::string, SEARCH_SITE_COUNT> m;
    for (int i = 0; i < SEARCH_SITE_COUNT; ++i) m[i] = gbk(kSites[i].more_marker_utf8);
    return m;
  }();
  static const std::string none;
  const int n = site_number(index);
  return n == 0 ? none : markers[n - 1];
}

}  // namespace tavlo
