// A 1,000-result page of each site layout: scraped (answer bytes -> rows) and filled into
// the real result list of the main window. The fill includes the event processing that
// lays the new rows out, so the figure is the time until the rows can be seen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStackedWidget>
#include <QTreeWidget>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "main_window.h"
#include "percent.h"
#include "search_page.h"
#include "text.h"
#include "text_codecs.h"
#include "ui.h"
#include "ui_call.h"

namespace {

using namespace tavlo;

constexpr int kRows = 1000;
const std::string kSite2Host = "127.0.0.1:18092";

std::string hash_of(int i) {
  char h[41];
  std::snprintf(h, sizeof h, "%08X%032X", i * 2654435761u, i);
  return std::string(h, 40);
}

std::string name_of(int i) {
  static const char* titles[] = {"让子弹飞", "盗梦空间 Inception", "星际穿越", "霸王别姬",
                                 "The Grandmaster 一代宗师", "无间道 Infernal Affairs"};
  return std::string("[") + titles[i % 6] + "] " + std::to_string(2000 + i % 20) +
         " BD1080P 国语中字 第" + std::to_string(i) + "部";
}

std::string size_of(int i) { return std::to_string(1 + i % 9) + "." + std::to_string(10 + i % 90) + " GB"; }

// Answer bytes as each site sends them: UTF-8, double quotes.
std::string site_page(int site) {
  std::string b = "<html><head><title>2014</title></head><body>\n";
  if (site == 3) b += "<table class=\"data\"><thead><tr><th>文件名</th><th>大小</th></tr></thead><tbody>\n";
  for (int i = 0; i < kRows; ++i) {
    const std::string n = name_of(i), s = size_of(i), h = hash_of(i);
    switch (site) {
      case 1:
        b += "<tr>\n<td class=\"name\">" + n + "</td>\n<td class=\"size\">" + s +
             "</td>\n<td class=\"date\">2014-06-01</td>\n<td class=\"action\"><a href=\"/information/" + h +
             "\" target=\"_blank\">详情</a> <a href=\"magnet:?xt=urn:btih:" + h + "\">磁力链接</a></td>\n</tr>\n";
        break;
      case 2:
        b += "<tr>\n<td><a href=\"http://" + kSite2Host + "/magnet/detail/hash/" + h + "\" title=\"" + n + "\">" + n +
             "</a></td>\n<td class=\"files-size\">" + s + "</td>\n<td class=\"op\"><a href=\"/magnet/detail/hash/" + h +
             "\" class=\"btn\" title=\"" + n + "\" target=\"_blank\">Detail</a></td>\n</tr>\n";
        break;
      case 3:
        b += "<tr>\n<td class=\"name\"><span class=\"ico\"><em>视频</em></span><a href=\"/detail/" + h + "\">" + n +
             "</a></td>\n<td class=\"date\">2014-06-01</td>\n<td>" + s + "</td>\n<td><a href=\"magnet:?xt=urn:btih:" + h +
             "&dn=" + percent_encode(gbk(n), true) + "\">磁力链接</a></td>\n</tr>\n";
        break;
      case 4:
        b += "<div class=\"item\">\n<a href=\"/h/" + h + ".html\" target=\"_blank\"><h4><em>" + n.substr(0, 1) + "</em>" +
             n.substr(1) + "</h4></a>\n<p class=\"meta\"><a href=\"/vip.html\"><strong>[会员免登录帐号]</strong></a> "
             "文件大小：<strong>[" + s + "]</strong> 收录时间：<strong>[2014-06-01]</strong></p>\n"
             "<p class=\"hash\"><strong>hash:</strong>" + h + "</p>\n</div>\n";
        break;
      default:
        b += "<li>\n<div class=\"T1\"><a href=\"/detail/" + h + ".html\">" + n +
             "</a></div>\n<dl class=\"BotInfo\"><dt>创建时间: 2014-06-01&nbsp;&nbsp;大小: " + s +
             "&nbsp;&nbsp;热度: 9</dt></dl>\n<div class=\"dInfo\"><a href=\"magnet:?xt=urn:btih:" + h +
             "&dn=x\"><img src=\"/static/m.png\" alt=\"下载 " + n + "\"></a></div>\n</li>\n";
    }
  }
  if (site == 3) b += "</tbody></table>\n<div class=\"pager\"><span>1</span></div>\n<div id=\"recommend\"></div>\n";
  b += "<div class=\"pages\"><span class=\"current\">1</span> Next disabled 下一页</div></body></html>\n";
  return b;
}

const std::string& page_of(int site) {
  static std::string pages[6];
  if (pages[site].empty()) pages[site] = site_page(site);
  return pages[site];
}

std::vector<ResultRow> scrape(int site) {
  const SearchOutcome out = scrape_search_answer(std::to_string(site), kSite2Host, page_of(site));
  return result_rows(out.scrape);
}

QTreeWidget* result_list() { return ui().超级列表框1; }

void fill(const std::vector<ResultRow>& rows) {
  fill_result_rows(result_list(), rows);
  QCoreApplication::processEvents();
}

void BM_Scrape(benchmark::State& state) {
  const int site = static_cast<int>(state.range(0));
  if (scrape(site).size() != kRows) {
    state.SkipWithError("the page does not give 1000 rows");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(scrape(site));
  state.SetLabel("bytes/page=" + std::to_string(page_of(site).size()));
}

void BM_Fill(benchmark::State& state) {
  const int site = static_cast<int>(state.range(0));
  const std::vector<ResultRow> rows = scrape(site);
  for (auto _ : state) {
    state.PauseTiming();
    result_list()->clear();
    QCoreApplication::processEvents();
    state.ResumeTiming();
    fill(rows);
  }
  if (result_list()->topLevelItemCount() != kRows) state.SkipWithError("rows missing");
}

void BM_ScrapeAndFill(benchmark::State& state) {
  const int site = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    result_list()->clear();
    QCoreApplication::processEvents();
    state.ResumeTiming();
    fill(scrape(site));
  }
  if (result_list()->topLevelItemCount() != kRows) state.SkipWithError("rows missing");
}

BENCHMARK(BM_Scrape)->DenseRange(1, 5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Fill)->DenseRange(1, 5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrapeAndFill)->DenseRange(1, 5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  ui_call_init();
  MainWindowWidget* window = create_main_window();
  window->show();
  ui().A高级选择夹->setCurrentIndex(1);  // the search page, so the list is on screen
  QCoreApplication::processEvents();

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::fflush(nullptr);
  std::_Exit(0);
}
