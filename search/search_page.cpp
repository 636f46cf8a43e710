#include "search_page.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QTreeWidget>
#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "app_state.h"
#include "handlers_later.h"
#include "notice_panel.h"
#include "percent.h"
#include "picture_button.h"
#include "play_entry.h"
#include "program.h"
#include "qt_text.h"
#include "search_sites.h"
#include "text.h"
#include "placeholder_box.h"
#include "ui.h"
#include "ui_call.h"

namespace tavlo {

namespace {

constexpr const char* SEARCH_PLACEHOLDER = "请输入搜索内容";


// The keyword test of both buttons: true (and the hint shown) when there is no keyword.
bool keyword_missing() {
  const QString text = ui().搜索内容框->text();
  if (!text.isEmpty() && text != qs(SEARCH_PLACEHOLDER)) return false;
  ui().搜索状态提示->setText(qs("温馨提示：请输入搜索内容！！"));
  return true;
}

// The leading decimal number of a text, 0 when there is none. Bounded: the page box is
// an edit box and may hold anything.
long long leading_number(const QString& text) {
  long long n = 0;
  for (int i = 0; i < text.size() && i < 9; ++i) {
    const QChar c = text[i];
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
    n = n * 10 + (c.unicode() - '0');
  }
  return n;
}

std::shared_ptr<std::mutex> the_ui_lock() {
  AppState& s = app_state();
  if (!s.ui_lock) s.ui_lock = std::make_shared<std::mutex>();  // UI thread only
  return s.ui_lock;
}

// Workers take their turn in the order they were started, so pages land in the order
// they were asked for (a mutex alone lets a later worker in first).
struct Turns {
  std::mutex m;
  std::condition_variable cv;
  unsigned long long issued = 0;
  unsigned long long serving = 0;
};

Turns& turns() {
  static Turns* t = new Turns;  // never destroyed: workers may outlive the window
  return *t;
}

class Turn {
 public:
  explicit Turn(unsigned long long ticket) {
    Turns& t = turns();
    std::unique_lock<std::mutex> l(t.m);
    t.cv.wait(l, [&] { return t.serving == ticket; });
  }
  ~Turn() {
    Turns& t = turns();
    {
      std::lock_guard<std::mutex> l(t.m);
      ++t.serving;
    }
    t.cv.notify_all();
  }
  Turn(const Turn&) = delete;
  Turn& operator=(const Turn&) = delete;
};

// The highest page asked for in the current search (UI thread only). Load-more counts
// from it as well as from the page box, so two quick clicks ask for two different pages.
long long requested_page = 1;

// The worker gets its own copies of the job and of the lock: nothing it reads can be
// changed under it by the window.
void start_search_worker(SearchJob job, unsigned generation) {
  unsigned long long ticket;
  {
    std::lock_guard<std::mutex> l(turns().m);
    ticket = turns().issued++;
  }
  start_worker([job = std::move(job), generation, lock = the_ui_lock(), ticket]() mutable {
    Turn turn(ticket);
    search_worker(std::move(job), generation, std::move(lock));
  });
}

bool is_current(unsigned generation) { return app_state().search_generation.load() == generation; }

// The selected row's hash cell, "" without a selection.
std::string selected_hash() {
  const QList<QTreeWidgetItem*> rows = ui().超级列表框1->selectedItems();
  if (rows.isEmpty()) return {};
  return gbk_of(rows.first()->text(3));
}

}  // namespace

void fill_result_rows(QTreeWidget* list, const std::vector<ResultRow>& rows) {
  if (rows.empty()) return;
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(rows.size()));
  for (const ResultRow& r : rows) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, QString::fromLatin1(r.id.data(), static_cast<qsizetype>(r.id.size())));
    item->setText(1, qs_gbk(r.name));
    item->setText(2, qs_gbk(r.size));
    item->setText(3, qs_gbk(r.hash));
    items.append(item);
  }
  // One insertion of the whole page at the top: the same order as inserting each page
  // item at the top in turn, without a layout pass per row.
  list->insertTopLevelItems(0, items);
  app_state().last_result_row = 0;
}

void search_worker(SearchJob job, unsigned generation, std::shared_ptr<std::mutex> lock) {
  {
    std::unique_lock<std::mutex> hold;
    if (lock) hold = std::unique_lock<std::mutex>(*lock);
    SearchOutcome out = run_search_job(job);
    std::vector<ResultRow> rows = result_rows(out.scrape);
    const bool fetched = out.fetched && out.http_status < 400;
    const long long page = job.page;
    // Posted while the lock is held, so a search and a load-more fill in the order they
    // fetched.
    ui_call([rows = std::move(rows), generation, fetched, page] {
      if (!is_current(generation) || !ui().超级列表框1) return;
      fill_result_rows(ui().超级列表框1, rows);
      // The page box follows the pages actually loaded, so the next load-more asks for
      // the page after this one.
      if (fetched && page > 1 && page > leading_number(ui().页数->text())) {
        ui().页数->setText(QString::number(page));
      }
      // A page that did not come may be asked for again.
      if (!fetched && page <= requested_page) requested_page = page - 1;
    });
    if (is_current(generation)) {
      AppState& s = app_state();
      s.search_page_raw = std::move(out.raw);
      s.search_page = out.scrape.page;
      s.found_names = std::move(out.scrape.names);
      s.found_sizes = std::move(out.scrape.sizes);
      s.found_hashes = std::move(out.scrape.hashes);
    }
    const bool more = out.more;
    if (hold.owns_lock()) hold.unlock();
    if (!is_current(generation)) return;  // a newer search owns the page and the panel now
    ui_call([generation] {
      if (is_current(generation) && ui().搜索BN) ui().搜索BN->setEnabled(true);
    });
    set_notice_text(gbk("数据加载完毕！"));
    flash_notice();
    ui_call([generation, more] {
      if (!is_current(generation) || !ui().搜索状态提示) return;
      ui().搜索状态提示->setText(qs("数据搜索完毕！如果搜索结果不满意，请重新搜索......"));
      ui().加载更多BN->setVisible(more);
    });
  }
}

void start_search() {
  if (keyword_missing()) return;
  AppState& s = app_state();
  const std::string keyword = gbk_of(ui().搜索内容框->text());
  ui().搜索BN->setEnabled(false);
  show_notice();
  set_notice_text(gbk("正在搜索数据..."));
  s.search_site = draw_search_site();
  ui().超级列表框1->clear();
  ui().页数->setText(QStringLiteral("1"));
  requested_page = 1;
  // Whatever an earlier search still brings is dropped from here on.
  const unsigned generation = ++s.search_generation;
  start_search_worker(make_search_job(s.search_site, keyword, 1), generation);
}

void load_more_results() {
  AppState& s = app_state();
  s.page_box_number = static_cast<int>(leading_number(ui().页数->text()));
  if (keyword_missing()) return;
  if (!search_site_row(s.search_site)) return;  // no search yet: nothing to continue
  const std::string keyword = gbk_of(ui().搜索内容框->text());
  const long long page = std::max<long long>(s.page_box_number, requested_page) + 1;
  requested_page = page;
  start_search_worker(make_search_job(s.search_site, keyword, page), s.search_generation.load());
}

void search_box_pressed() {
  QLineEdit* box = ui().搜索内容框;
  placeholder_box_pressed(box);
}

void search_box_focus_lost() {
  QLineEdit* box = ui().搜索内容框;
  placeholder_box_focus_lost(box, qs(SEARCH_PLACEHOLDER));
}

void play_result() {
  AppState& s = app_state();
  s.play_address = percent_encode(magnet_of_hash(selected_hash()), true);
  s.play_mode = std::string(1, '0');  // "0": through the play-API page
  play_link();
}

void copy_result_address() {
  QGuiApplication::clipboard()->setText(qs_gbk(magnet_of_hash(selected_hash())));
}

}  // namespace tavlo
