// The notice panel (one floating panel telling what the program does) and the wait that
// keeps the window alive.
#pragma once

#include <string>

namespace tavlo {

inline constexpr int NOTICE_ONE_ROW = 40;
inline constexpr int NOTICE_TWO_ROWS = 79;
inline constexpr int NOTICE_FLASH_MS = 1500;

// Places the panel 180 right and 180 below the search box's own position and shows it.
void show_notice();
// Sets the message (GBK text). Any thread: a worker's call is carried to the UI thread.
void set_notice_text(const std::string& gbk_text);
void set_notice_height(int height);
// One row, a 1500 ms pumped wait, then hidden. Any thread.
void flash_notice();
// Returns after `ms` milliseconds. On the UI thread events are dispatched meanwhile and the
// thread sleeps between them; on any other thread it simply sleeps.
void pumped_delay(int ms);

}  // namespace tavlo
