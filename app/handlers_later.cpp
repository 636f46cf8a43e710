// Not yet written: each of these belongs to the search, cloud, favourites or update work.
#include "handlers_later.h"

namespace tavlo {

void add_result_to_cloud() {}
void add_result_to_favourites() {}

void load_favourites() {}
void add_favourite_to_cloud() {}
void play_favourite() {}
void delete_favourite() {}
void copy_favourite_address() {}

void log_in() {}
void fetch_login_captcha() {}
void open_registration_page() {}
void submit_code_pressed() {}
void load_video_list() {}
void play_cloud_video() {}
void delete_cloud_file() {}
void clear_cloud_folder() {}
void load_task_list() {}
void remove_task() {}
void remove_finished_tasks() {}
void remove_unfinished_tasks() {}

void update_timer_tick() {}

}  // namespace tavlo
