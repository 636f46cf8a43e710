// text_between_all over result pages of GBK text and ASCII markup, against a plain memmem
// loop cutting the same pieces out of the same bytes (the floor for this job). Prints the
// ratio of the two mean times per page at the end of the run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "text.h"
#include "text_codecs.h"

namespace {

const char* const START = "<td class='name'>";
const char* const END = "</td>";

// Deterministic result pages of table rows around the name cells.
// kMixed: about 2 MB; names mix short GBK Chinese words, English words and numbers.
// kLongNames: 256 KB; every name is a run of 40 Chinese characters with no ASCII byte,
// so the end marker follows 80 high bytes (long Chinese titles are common on real pages).
enum PageKind { kMixed = 0, kLongNames = 1 };

std::string build_page(PageKind kind) {
  const std::vector<std::string> chinese = {
      tavlo::gbk("中文名字"), tavlo::gbk("电影"),   tavlo::gbk("高清"),
      tavlo::gbk("国语中字"), tavlo::gbk("第一季"), tavlo::gbk("蓝光原盘"),
      tavlo::gbk("纪录片"),   tavlo::gbk("动画"),   tavlo::gbk("字幕组")};
  const std::vector<std::string> english = {"English", "BluRay", "1080p", "x264",
                                            "HDTV",    "Season", "Complete"};
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  const size_t size = kind == kMixed ? 2 * 1024 * 1024 : 256 * 1024;
  std::string out = "<html><head><title>" + tavlo::gbk("搜索结果") +
                    "</title></head><body><table>\n";
  while (out.size() < size) {
    out += "<tr><td class='name'>";
    if (kind == kMixed) {
      out += chinese[next() % chinese.size()];
      out += ' ';
      out += english[next() % english.size()];
      out += ' ';
      out += std::to_string(next() % 100000);
      out += chinese[next() % chinese.size()];
    } else {
      std::string name;
      while (name.size() < 80) name += chinese[next() % chinese.size()];
      out += name.substr(0, 80);
    }
    out += "</td><td class='size'>";
    out += std::to_string(next() % 1000) + "." + std::to_string(next() % 10) + " GB";
    out += "</td><td class='hash'>";
    for (int i = 0; i < 40; ++i) out += "0123456789ABCDEF"[next() % 16];
    out += "</td><td>" + tavlo::gbk("下载") + "</td></tr>\n";
  }
  out += "</table></body></html>";
  return out;
}

const std::string& page(PageKind kind) {
  static const std::string pages[2] = {build_page(kMixed), build_page(kLongNames)};
  return pages[kind];
}

// The same cut with memmem: next start marker, the end marker after it, the piece between.
void memmem_pieces(std::string_view text, std::string_view start, std::string_view end,
                   tavlo::TextList& pieces) {
  pieces.clear();
  const char* p = text.data();
  const char* const stop = text.data() + text.size();
  while (p < stop) {
    const void* s = memmem(p, stop - p, start.data(), start.size());
    if (!s) break;
    const char* piece = static_cast<const char*>(s) + start.size();
    const void* e = memmem(piece, stop - piece, end.data(), end.size());
    if (!e) break;
    pieces.emplace_back(piece, static_cast<const char*>(e));
    p = static_cast<const char*>(e) + end.size();
  }
}

void BM_text_between_all(benchmark::State& state) {
  const std::string& text = page(static_cast<PageKind>(state.range(0)));
  tavlo::TextList pieces;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tavlo::text_between_all(text, START, END, pieces, true));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
  state.counters["pieces"] = static_cast<double>(pieces.size());
}

void BM_memmem_loop(benchmark::State& state) {
  const std::string& text = page(static_cast<PageKind>(state.range(0)));
  tavlo::TextList pieces;
  for (auto _ : state) {
    memmem_pieces(text, START, END, pieces);
    benchmark::DoNotOptimize(pieces.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
  state.counters["pieces"] = static_cast<double>(pieces.size());
}

// Argument: the page kind (0 mixed 2 MB, 1 long Chinese names 256 KB).
BENCHMARK(BM_text_between_all)->Arg(kMixed)->Arg(kLongNames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_memmem_loop)->Arg(kMixed)->Arg(kLongNames)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's times per iteration so the ratios can be printed. The CPU time
// ratio is the steadier one on a machine shared with other work.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  struct Times {
    double real = 0, cpu = 0;
    int runs = 0;
  };
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      // Single runs, or the mean when only aggregates are reported.
      const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
      if (!mean && (run.run_type != Run::RT_Iteration || run.iterations == 0)) continue;
      Times& t = (mean ? means_ : times_)[run.run_name.function_name + "/" + run.run_name.args];
      t.real += run.GetAdjustedRealTime();
      t.cpu += run.GetAdjustedCPUTime();
      ++t.runs;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void print_ratio(const std::string& args, const char* what) const {
    const auto& times = means_.empty() ? times_ : means_;
    const auto a = times.find("BM_text_between_all/" + args);
    const auto b = times.find("BM_memmem_loop/" + args);
    if (a == times.end() || b == times.end() || a->second.runs == 0 || b->second.runs == 0)
      return;
    const double ra = a->second.real / a->second.runs, rb = b->second.real / b->second.runs;
    const double ca = a->second.cpu / a->second.runs, cb = b->second.cpu / b->second.runs;
    if (rb > 0 && cb > 0)
      std::printf("ratio text_between_all / memmem, %s: %.2f (cpu), %.2f (real)\n", what,
                  ca / cb, ra / rb);
  }

 private:
  std::map<std::string, Times> times_, means_;
};

}  // namespace

int main(int argc, char** argv) {
  // Both ways must cut the same pieces, or the comparison means nothing.
  for (PageKind kind : {kMixed, kLongNames}) {
    tavlo::TextList ours, floor;
    tavlo::text_between_all(page(kind), START, END, ours, true);
    memmem_pieces(page(kind), START, END, floor);
    if (ours != floor || ours.empty()) {
      std::fprintf(stderr, "page %d: pieces differ: text_between_all %zu, memmem %zu\n",
                   kind, ours.size(), floor.size());
      return 1;
    }
    std::printf("page %d: %zu bytes, %zu pieces\n", kind, page(kind).size(), ours.size());
  }

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.print_ratio("0", "mixed 2 MB page");
  reporter.print_ratio("1", "long Chinese names 256 KB page");
  benchmark::Shutdown();
  return 0;
}
