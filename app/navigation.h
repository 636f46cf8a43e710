// Page changes, the buttons that make them, the fixed pages and the browser events.
#pragma once

#include <QString>

class QWebEngineView;
class QTreeWidget;

namespace tavlo {

QString announcement_address();
QString advert_address();
QString live_tv_address();

void main_page_changed(int page);
void my_page_changed(int page);

void live_tv_clicked();      // 电视直播BN
void close_live_tv();        // 关闭电视直播
void close_now_playing();    // 关闭正在播放

// Events of 正在播放浏览器.
void now_playing_status_changed(const QString& text);
QWebEngineView* now_playing_new_window();

// List menus at the mouse position.
void show_result_menu();
void show_video_list_menu();
void show_task_list_menu();
void show_favourite_menu();
// The selected row's first-column text, "" when no row is selected.
QString selected_row_id(QTreeWidget* list);

}  // namespace tavlo
