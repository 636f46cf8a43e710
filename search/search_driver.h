// The search fetch without a window: address building, the fetch, normalisation and the
// scrapers. The window's search worker and the command-line front end both run this.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "scrapers.h"

namespace tavlo {

// Everything one fetch needs, copied when the job is made, so that a worker never reads
// a field another action may overwrite meanwhile.
struct SearchJob {
  std::string site;        // "1" .. "5"
  std::string url;         // the address to fetch
  std::string site2_host;  // for site 2's hash links
  long long page = 1;      // the page this address asks for
};

// page < 2: the site's first-page form; otherwise its next-page form for `page`.
// `keyword` is GBK text as typed; it is percent-encoded here as UTF-8.
// Hosts come from the loaded hosts configuration.
SearchJob make_search_job(std::string_view site, std::string_view keyword, long long page);

struct SearchOutcome {
  bool fetched = false;   // the server answered (any status)
  int http_status = 0;    // from the answer's status line, 0 when none
  std::string raw;        // the answer bytes as text
  SearchScrape scrape;    // page normalised, lists cut
  bool more = false;      // the site's more marker was found
};

// Fetches job.url (GET, no body, no cookies, redirects followed) and scrapes the answer.
// A failed fetch gives an empty page: no rows and no more marker.
SearchOutcome run_search_job(const SearchJob& job);

// Scrapes an already fetched answer (used by the above, and by tests and benchmarks).
SearchOutcome scrape_search_answer(std::string_view site, std::string_view site2_host,
                                   std::string raw);

}  // namespace tavlo
