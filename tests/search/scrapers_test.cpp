// Scrapers over small hand-written pages, one layout per site. Pages are written as a
// site would send them: UTF-8 with double quotes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scrapers.h"
#include "search_driver.h"
#include "text.h"
#include "text_codecs.h"

namespace tavlo {
namespace {

const char* kSite2Host = "files.example:8080";

// A row as UTF-8, for readable comparisons.
struct Row {
  std::string id, name, size, hash;
  bool operator==(const Row&) const = default;
};

void PrintTo(const Row& r, std::ostream* os) {
  *os << "{" << r.id << " | " << r.name << " | " << r.size << " | " << r.hash << "}";
}

std::vector<Row> rows_of(const SearchOutcome& out) {
  std::vector<Row> rows;
  for (const auto& r : result_rows(out.scrape)) {
    rows.push_back({r.id, gbk_to_utf8(r.name), gbk_to_utf8(r.size), gbk_to_utf8(r.hash)});
  }
  return rows;
}

SearchOutcome scrape(const std::string& site, const std::string& page_utf8) {
  return scrape_search_answer(site, kSite2Host, page_utf8);
}

// ---- site 1 -------------------------------------------------------------------------

const char* kSite1Page = R"(<html><body><table>
<tr><td class="name">Movie A</td><td class="size">1.4 GB</td>
<td><a href="/information/ABCDEF">detail</a></td></tr>
<tr><td class="name">电影 乙</td><td class="size">700 MB</td>
<td><a href="/information/0123456789abcdef0123456789abcdef01234567">detail</a></td></tr>
<tr><td class="name">Third</td><td class="size">3 KB</td>
<td><a href="/information/FFFF">detail</a></td></tr>
</table><div class="pages"><span class="current">1</span><a href="/search/x/2">2</a></div>
</body></html>)";

TEST(SearchScrapers, Site1RowsGoInBottomUpWithIdsFrom10001) {
  const SearchOutcome out = scrape("1", kSite1Page);
  const std::vector<Row> want = {
      {"10003", "Third", "3 KB", "FFFF"},
      {"10002", "电影 乙", "700 MB", "0123456789abcdef0123456789abcdef01234567"},
      {"10001", "Movie A", "1.4 GB", "ABCDEF"},
  };
  EXPECT_EQ(rows_of(out), want);
  EXPECT_TRUE(out.more);
}

TEST(SearchScrapers, Site1WithoutPagerHasNoMore) {
  const SearchOutcome out =
      scrape("1", R"(<td class="name">Only</td><td class="size">1 GB</td><a href="/information/AB">)");
  EXPECT_EQ(rows_of(out), (std::vector<Row>{{"10001", "Only", "1 GB", "AB"}}));
  EXPECT_FALSE(out.more);
}

// Sizes and hashes are matched by position only; a page that lacks some must never
// give a cell from past the end of a list.
TEST(SearchScrapers, MissingSizesAndHashesLeaveCellsEmpty) {
  const SearchOutcome out = scrape("1",
                                   R"(<td class="name">A</td><td class="size">1 GB</td>
<a href="/information/HA">
<td class="name">B</td>
<td class="name">C</td>)");
  const std::vector<Row> want = {
      {"10003", "C", "", ""},
      {"10002", "B", "", ""},
      {"10001", "A", "1 GB", "HA"},
  };
  EXPECT_EQ(rows_of(out), want);
}

TEST(SearchScrapers, ExtraSizesAndHashesWithoutNamesGiveNoRows) {
  const SearchOutcome out = scrape("1",
                                   R"(<td class="name">A</td>
<td class="size">1 GB</td><td class="size">2 GB</td>
<a href="/information/H1"><a href="/information/H2"><a href="/information/H3">)");
  EXPECT_EQ(rows_of(out), (std::vector<Row>{{"10001", "A", "1 GB", "H1"}}));
  EXPECT_EQ(out.scrape.hashes.size(), 3u);

  const SearchOutcome none = scrape("1", R"(<td class="size">1 GB</td><a href="/information/H1">)");
  EXPECT_TRUE(rows_of(none).empty());
}

// ---- site 2 -------------------------------------------------------------------------

std::string site2_page(const std::string& host) {
  return R"(<table>
<tr><td><a class="btn" title="Film One" target="_blank">Detail</a></td>
<td class="files-size">1.1 GB</td>
<td><a href="http://)" + host + R"(/magnet/detail/hash/AAAA1111" title="magnet">m</a></td></tr>
<tr><td><a class="btn" title="第二部 影片" target="_blank">Detail</a></td>
<td class="files-size">650.5 MB</td>
<td><a href="http://)" + host + R"(/magnet/detail/hash/BBBB2222" title="magnet">m</a></td></tr>
</table><a href="/search/x/currentPage/2">Next</a>)";
}

TEST(SearchScrapers, Site2HashLinksUseTheConfiguredHost) {
  const SearchOutcome out = scrape("2", site2_page(kSite2Host));
  const std::vector<Row> want = {
      {"10002", "第二部 影片", "650.5 MB", "BBBB2222"},
      {"10001", "Film One", "1.1 GB", "AAAA1111"},
  };
  EXPECT_EQ(rows_of(out), want);
  EXPECT_TRUE(out.more);
}

TEST(SearchScrapers, Site2LinksToAnotherHostAreNotHashes) {
  const SearchOutcome out = scrape("2", site2_page("elsewhere.example"));
  ASSERT_EQ(out.scrape.names.size(), 2u);
  EXPECT_TRUE(out.scrape.hashes.empty());
  EXPECT_EQ(rows_of(out)[0].hash, "");
}

// 丯 is GBK 81 4E: its second byte is "N", so a byte-wise search would see "Next"
// inside the name and offer a page that does not exist.
TEST(SearchScrapers, Site2MoreMarkerNeverMatchesInsideAChineseCharacter) {
  const SearchOutcome out = scrape("2", R"(<a class="btn" title="丯ext" target="_blank">Detail</a>)");
  ASSERT_EQ(gbk("丯"), std::string("\x81\x4E"));
  EXPECT_EQ(rows_of(out), (std::vector<Row>{{"10001", "丯ext", "", ""}}));
  EXPECT_FALSE(out.more);
}

// ---- site 3 -------------------------------------------------------------------------

const char* kSite3Page = R"(<html><div class="pager"><span>1</span></div>
<table class="data"><THEAD><tr><th>名称</th><th>大小</th></tr></THEAD><tbody>
<tr><td><span class="tag"><em>HD</em></span></td><td>1.2 GB</td>
<td><a href="magnet:?xt=urn:btih:HASH3A&dn=%E7%94%B5%E5%BD%B1">link</a></td></tr>
<tr><td><span class="tag"><em>SD</em></span></td><td>700　MB</td>
<td><a href="magnet:?xt=urn:btih:hash3b&dn=Plain%20Name%2b1">link</a></td></tr>
</tbody></table>
<div class="pages"><span>1</span><a href="/?keyword=x&page=2">2</a></div>
<div id="recommend"><a href="magnet:?xt=urn:btih:RECO&dn=Recommended">r</a>
<span><em>X</em></span><td>9 GB</td></div></html>)";

TEST(SearchScrapers, Site3NarrowsToTheTableDecodesNamesAndReshapesSizes) {
  const SearchOutcome out = scrape("3", kSite3Page);
  const std::vector<Row> want = {
      {"10002", "Plain Name+1", "700MB", "hash3b"},
      {"10001", "电影", "1.2GB", "HASH3A"},
  };
  EXPECT_EQ(rows_of(out), want);
  EXPECT_TRUE(out.more);
  EXPECT_EQ(text_find(out.scrape.page, "recommend"), -1);
}

TEST(SearchScrapers, Site3WithoutTheadGivesNothingAndNoMore) {
  std::string page = kSite3Page;
  for (const char* tag : {"<THEAD>", "</THEAD>"}) page.replace(page.find(tag), std::string(tag).size(), "");
  const SearchOutcome out = scrape("3", page);
  EXPECT_TRUE(out.scrape.names.empty());
  EXPECT_TRUE(out.scrape.sizes.empty());
  EXPECT_TRUE(out.scrape.hashes.empty());
  EXPECT_TRUE(out.scrape.page.empty());
  EXPECT_FALSE(out.more);  // the pager before the table is not looked at
}

TEST(SearchScrapers, Site3WithoutRecommendBlockGivesNothing) {
  std::string page = kSite3Page;
  page.replace(page.find("id=\"recommend"), 13, "id=\"other");
  const SearchOutcome out = scrape("3", page);
  EXPECT_TRUE(rows_of(out).empty());
  EXPECT_FALSE(out.more);
}

// ---- site 4 -------------------------------------------------------------------------

const char* kSite4Page = R"(<ul>
<li><a href="/d/1"><h4><em>Movie</em> B</h4></a>
<p><strong>hash:</strong>HASHB</p>
<p><a href="/reg"><strong>[注册帐号]</strong></a><strong>[1.5 GB]</strong></p></li>
<li><a href="/d/2"><h4>The <EM>Big</EM> <Em>One</eM></h4></a>
<p><strong>hash:</strong>HASHC</p>
<p><a href="/reg"><strong>[注册帐号]</strong></a><strong>[12 MB]</strong></p></li>
</ul><li class="disabled"><a>prev</a></li>)";

TEST(SearchScrapers, Site4RemovesEmTagsInAnyCaseAndCutsSizesInTwoStages) {
  const SearchOutcome out = scrape("4", kSite4Page);
  const std::vector<Row> want = {
      {"10002", "The Big One", "12 MB", "HASHC"},
      {"10001", "Movie B", "1.5 GB", "HASHB"},
  };
  EXPECT_EQ(rows_of(out), want);
  EXPECT_TRUE(out.more);
}

TEST(SearchScrapers, Site4SizeNeedsTheAccountLinkBeforeIt) {
  // A bracketed text that does not follow the account link is not a size.
  const SearchOutcome out = scrape("4", R"(<a><h4>N</h4></a><strong>[5 GB]</strong>
<p><strong>hash:</strong>H</p>)");
  EXPECT_EQ(rows_of(out), (std::vector<Row>{{"10001", "N", "", "H"}}));
  EXPECT_FALSE(out.more);
}

// ---- site 5 -------------------------------------------------------------------------

// 乥 is GBK 81 62: its second byte is "b". Inside the first name a byte-wise search
// would find "btih:" ... "&d" and shift every hash after it by one row.
const char* kSite5Page = R"(<div class="item"><img src="a.jpg" alt="下载 乥tih:FAKE&dx">
<span>大小: 2.3 GB&nbsp;</span><a href="magnet:?xt=urn:btih:HASH5A&dn=a">m</a></div>
<div class="item"><img src="b.jpg" alt="下载 影片 二">
<span>大小: 880 MB&nbsp;</span><a href="magnet:?xt=urn:btih:HASH5B&dn=b">m</a></div>
<a href="/search/x/2">下一页</a>)";

TEST(SearchScrapers, Site5MarkersMatchOnlyOnCharacterBoundaries) {
  const SearchOutcome out = scrape("5", kSite5Page);
  const std::vector<Row> want = {
      {"10002", "影片 二", "880 MB", "HASH5B"},
      {"10001", "乥tih:FAKE&dx", "2.3 GB", "HASH5A"},
  };
  EXPECT_EQ(rows_of(out), want);
  EXPECT_TRUE(out.more);
}

TEST(SearchScrapers, Site5NameMarkerNeedsItsTrailingSpace) {
  const SearchOutcome out = scrape("5", R"(<img alt="下载Nospace"><img alt="下载 Spaced">)");
  EXPECT_EQ(rows_of(out), (std::vector<Row>{{"10001", "Spaced", "", ""}}));
  EXPECT_FALSE(out.more);
}

// ---- every site ---------------------------------------------------------------------

TEST(SearchScrapers, EmptyAnswerGivesNoRowsAndNoMoreOnEverySite) {
  for (const char* site : {"1", "2", "3", "4", "5"}) {
    const SearchOutcome out = scrape(site, "");
    EXPECT_TRUE(rows_of(out).empty()) << site;
    EXPECT_FALSE(out.more) << site;
  }
}

TEST(SearchScrapers, EachSiteReadsOnlyItsOwnLayout) {
  const struct {
    std::string page;
    const char* owner;
  } pages[] = {{kSite1Page, "1"}, {site2_page(kSite2Host), "2"}, {kSite3Page, "3"},
               {kSite4Page, "4"}, {kSite5Page, "5"}};
  for (const auto& p : pages) {
    for (const char* site : {"1", "2", "3", "4", "5"}) {
      const bool own = std::string(site) == p.owner;
      EXPECT_EQ(!rows_of(scrape(site, p.page)).empty(), own) << "page of " << p.owner << " as " << site;
    }
  }
}

TEST(SearchScrapers, MagnetOfHashKeepsTheHashUnchanged) {
  EXPECT_EQ(magnet_of_hash("ABCDEF"), "magnet:?xt=urn:btih:ABCDEF");
  EXPECT_EQ(magnet_of_hash(""), "magnet:?xt=urn:btih:");
}

}  // namespace
}  // namespace tavlo
