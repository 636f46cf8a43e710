// The one process-wide record of shared values. Plain data, no methods, no Qt: the
// search and cloud clients read and write it too. Texts are GBK.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "text.h"

namespace tavlo {

inline constexpr int ROW_ID_OFFSET = 10000;
inline constexpr const char* VERSION_TEXT = "Ver 1.3.5";
inline constexpr int POPUP_SLOTS = 20;

struct AppState {
  // Scratch request fields. Workers keep their own copies; these are only for
  // UI-thread requests.
  std::string request_url;
  std::string request_body;
  std::string response_text;

  // Cookie string of the logged-in account; guarded by account_lock.
  std::string account_cookies;
  std::mutex account_lock;

  // The most recently started worker. Workers are detached; never joined at exit.
  std::thread::id worker_thread;

  TextList offline_task_names;
  TextList offline_task_statuses;
  TextList offline_task_ids;
  int scan_index = 0;

  std::string play_address;
  std::string play_mode;

  int popup_count = 0;
  std::array<void*, POPUP_SLOTS> popup_browsers{};  // owned by the capture window

  std::string search_site;
  // Held by the search worker around its fetch and list filling. Shared so that a
  // worker still running at teardown keeps the lock alive.
  std::shared_ptr<std::mutex> ui_lock;
  std::string search_page_raw;
  std::string search_page;
  TextList found_names;
  TextList found_sizes;
  TextList found_hashes;
  int last_result_row = 0;
  // Bumped by every new search; a worker whose generation is stale drops its result.
  std::atomic<unsigned> search_generation{0};

  std::string login_token;
  std::string captcha_codestring;
  std::string captcha_image_url;

  // File-system paths, UTF-8 like every path on this platform (not GBK texts).
  std::string settings_path;
  std::string favourites_path;
  int page_box_number = 0;
  std::string offline_vcode;
};

// The one instance, created before the main window and alive until the process ends.
AppState& app_state();

}  // namespace tavlo
