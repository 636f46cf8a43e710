#include "search_driver.h"

#include <cstdlib>

#include "http_request.h"
#include "percent.h"
#include "search_sites.h"

namespace tavlo {

namespace {

int status_of(std::string_view raw_headers) {
  // "HTTP/1.1 200 OK" -> 200
  const auto space = raw_headers.find(' ');
  if (raw_headers.rfind("HTTP/", 0) != 0 || space == std::string_view::npos) return 0;
  int code = 0;
  for (std::size_t i = space + 1; i < raw_headers.size() && i < space + 4; ++i) {
    const char c = raw_headers[i];
    if (c < '0' || c > '9') return 0;
    code = code * 10 + (c - '0');
  }
  return code;
}

}  // namespace

SearchJob make_search_job(std::string_view site, std::string_view keyword, long long page) {
  SearchJob job;
  job.site = std::string(site);
  job.site2_host = search_site_host("2");
  const std::string host = search_site_host(site);
  const std::string k = percent_encode(keyword, true);
  job.page = page < 2 ? 1 : page;
  job.url = page < 2 ? search_first_page_address(site, host, k)
                     : search_next_page_address(site, host, k, page);
  return job;
}

SearchOutcome scrape_search_answer(std::string_view site, std::string_view site2_host,
                                   std::string raw) {
  SearchOutcome out;
  out.raw = std::move(raw);
  out.scrape.site = std::string(site);
  out.scrape.site2_host = std::string(site2_host);
  out.scrape.page = normalise_search_page(out.raw);
  scrape_all(out.scrape);
  out.more = search_page_has_more(out.scrape);
  return out;
}

SearchOutcome run_search_job(const SearchJob& job) {
  std::string raw_headers;
  Bytes answer;
  if (!job.url.empty()) {
    answer = http_request_bytes(job.url, 0, {}, nullptr, nullptr, nullptr, nullptr, false,
                                nullptr, nullptr, &raw_headers);
  }
  SearchOutcome out = scrape_search_answer(job.site, job.site2_host, text_of(answer));
  out.http_status = status_of(raw_headers);
  out.fetched = out.http_status != 0 || !answer.empty();
  return out;
}

}  // namespace tavlo
