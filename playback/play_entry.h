// Every play ends here: the now-playing page opens play_address, directly (play_mode "1")
// or through the play-API page (any other mode).
#pragma once

#include <string>

namespace tavlo {

inline constexpr const char* CLOUD_PLAY_PLACEHOLDER = "支持磁力链/ED2K/迅雷/旋风/快车/http/mms/rtsp链接";

// The play-API address for an already encoded link.
std::string play_api_address(const std::string& encoded_link);
// Reads play_address and play_mode; UI thread.
void play_link();

// The cloud-play page: a press on 云播BN, a press in 云播地址框, 云播地址框 losing the focus.
void cloud_play_pressed();
void cloud_address_pressed();
void cloud_address_focus_lost();

}  // namespace tavlo
