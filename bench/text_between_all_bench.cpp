// text_between_all over a 2 MB result page of GBK text and ASCII markup, against a plain
// memmem loop cutting the same pieces out of the same bytes (the floor for this job).
// Prints the ratio of the two mean times at the end of the run.
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

// A deterministic page of about 2 MB: table rows whose names mix GBK Chinese, English
// words and numbers, with other cells around them.
const std::string& page() {
  static const std::string text = [] {
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
    std::string out = "<html><head><title>" + tavlo::gbk("搜索结果") +
                      "</title></head><body><table>\n";
    while (out.size() < 2 * 1024 * 1024) {
      out += "<tr><td class='name'>";
      out += chinese[next() % chinese.size()];
      out += ' ';
      out += english[next() % english.size()];
      out += ' ';
      out += std::to_string(next() % 100000);
      out += chinese[next() % chinese.size()];
      out += "</td><td class='size'>";
      out += std::to_string(next() % 1000) + "." + std::to_string(next() % 10) + " GB";
      out += "</td><td class='hash'>";
      for (int i = 0; i < 40; ++i) out += "0123456789ABCDEF"[next() % 16];
      out += "</td><td>" + tavlo::gbk("下载") + "</td></tr>\n";
    }
    out += "</table></body></html>";
    return out;
  }();
  return text;
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
  const std::string& text = page();
  tavlo::TextList pieces;
  for (auto _ : state) {
    benchmark::DoNotOptimize(tavlo::text_between_all(text, START, END, pieces, true));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
  state.counters["pieces"] = static_cast<double>(pieces.size());
}

void BM_memmem_loop(benchmark::State& state) {
  const std::string& text = page();
  tavlo::TextList pieces;
  for (auto _ : state) {
    memmem_pieces(text, START, END, pieces);
    benchmark::DoNotOptimize(pieces.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size());
  state.counters["pieces"] = static_cast<double>(pieces.size());
}

BENCHMARK(BM_text_between_all)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_memmem_loop)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's real time per iteration so the ratio can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && run.iterations > 0)
        times_[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
    ConsoleReporter::ReportRuns(runs);
  }
  double mean(const std::string& name) const {
    const auto it = times_.find(name);
    if (it == times_.end() || it->second.empty()) return 0;
    double sum = 0;
    for (double t : it->second) sum += t;
    return sum / it->second.size();
  }

 private:
  std::map<std::string, std::vector<double>> times_;
};

}  // namespace

int main(int argc, char** argv) {
  // Both ways must cut the same pieces, or the comparison means nothing.
  tavlo::TextList ours, floor;
  tavlo::text_between_all(page(), START, END, ours, true);
  memmem_pieces(page(), START, END, floor);
  if (ours != floor || ours.empty()) {
    std::fprintf(stderr, "pieces differ: text_between_all %zu, memmem %zu\n", ours.size(),
                 floor.size());
    return 1;
  }
  std::printf("page: %zu bytes, %zu pieces\n", page().size(), ours.size());

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double a = reporter.mean("BM_text_between_all");
  const double b = reporter.mean("BM_memmem_loop");
  if (a > 0 && b > 0) std::printf("ratio text_between_all / memmem: %.2f\n", a / b);
  benchmark::Shutdown();
  return 0;
}
