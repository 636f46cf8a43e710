// Handlers that the search, cloud, favourites and update work fills in. The window calls
// them from its events; each runs on the UI thread unless started through start_worker.
#pragma once

namespace tavlo {

// Search page.
void start_search();
void load_more_results();
void search_box_pressed();     // left-button press in 搜索内容框
void search_box_focus_lost();  // 搜索内容框 lost the focus
void add_result_to_cloud();
void play_result();
void add_result_to_favourites();
void copy_result_address();

// Favourites page.
void load_favourites();
void add_favourite_to_cloud();
void play_favourite();
void delete_favourite();
void copy_favourite_address();

// Cloud account, offline tasks and cloud videos.
void log_in();                  // worker
void fetch_login_captcha();     // left-button press on 画板2
void open_registration_page();
void submit_code_pressed();     // 提交BN, or Enter in 提交验证码
void load_video_list();         // worker
void play_cloud_video();
void delete_cloud_file();
void clear_cloud_folder();
void load_task_list();          // worker
void remove_task();
void remove_finished_tasks();
void remove_unfinished_tasks();

// Update check.
void update_timer_tick();

}  // namespace tavlo
