// The window's search without the window: the same site table, driver and scrapers.
// The keyword arrives as UTF-8 and is GBK inside; rows go out as UTF-8.
#include "search_command.h"

#include <cstdio>
#include <string>

#include "hosts.h"
#include "search_driver.h"
#include "search_sites.h"
#include "text_codecs.h"

namespace tavlo {

namespace {

int usage(const std::string& why) {
  std::fprintf(stderr, "tavlo-cli search: %s\nusage: tavlo-cli search KEYWORD [--site 1-5] [--page N]\n",
               why.c_str());
  return 2;
}

// A whole positive decimal number, or -1.
long long positive_number(const std::string& s) {
  if (s.empty() || s.size() > 9) return -1;
  long long n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n > 0 ? n : -1;
}

void put(const std::string& s) { std::fwrite(s.data(), 1, s.size(), stdout); }

}  // namespace

int search_command(const std::vector<std::string>& args) {
  std::string keyword_utf8, site;
  bool have_keyword = false;
  long long page = 1;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string value;
    const bool is_site = a == "--site" || a.rfind("--site=", 0) == 0;
    const bool is_page = a == "--page" || a.rfind("--page=", 0) == 0;
    if (is_site || is_page) {
      const auto eq = a.find('=');
      if (eq != std::string::npos) {
        value = a.substr(eq + 1);
      } else if (i + 1 < args.size()) {
        value = args[++i];
      } else {
        return usage(a + " needs a value");
      }
      if (is_site) {
        if (!search_site_row(value)) return usage("--site must be 1 to 5");
        site = value;
      } else {
        page = positive_number(value);
        if (page < 1) return usage("--page must be a whole number from 1");
      }
    } else if (a.rfind("--", 0) == 0 && a.size() > 2) {
      return usage("unknown option " + a);
    } else if (!have_keyword) {
      keyword_utf8 = a;
      have_keyword = true;
    } else {
      return usage("one keyword only (quote it when it has spaces)");
    }
  }
  if (!have_keyword || keyword_utf8.empty()) return usage("no keyword");

  load_hosts(default_data_folder());
  if (site.empty()) {
    site = draw_search_site();
    std::fprintf(stderr, "site %s\n", site.c_str());
  }

  const SearchJob job = make_search_job(site, utf8_to_gbk(keyword_utf8), page);
  const SearchOutcome out = run_search_job(job);
  if (!out.fetched) {
    std::fprintf(stderr, "tavlo-cli search: fetching %s failed\n", job.url.c_str());
    return 1;
  }
  if (out.http_status >= 400) {
    std::fprintf(stderr, "tavlo-cli search: %s answered HTTP %d\n", job.url.c_str(), out.http_status);
    return 1;
  }
  for (const ResultRow& row : result_rows(out.scrape)) {
    put(row.id + "\t" + gbk_to_utf8(row.name) + "\t" + gbk_to_utf8(row.size) + "\t" +
        gbk_to_utf8(row.hash) + "\n");
  }
  put(out.more ? "more: yes\n" : "more: no\n");
  std::fflush(stdout);
  return 0;
}

}  // namespace tavlo
