// The search page of the window: the handlers of its controls (declared with the window's
// other handlers), the search worker and the filling of the result list.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "scrapers.h"
#include "search_driver.h"

class QTreeWidget;

namespace tavlo {

// Inserts `rows` (in list order, as result_rows gives them) above the rows already in
// `list`. UI thread.
void fill_result_rows(QTreeWidget* list, const std::vector<ResultRow>& rows);

// The body of a search worker: fetches `job`, scrapes it and hands the rows and the
// status changes to the UI thread. Whatever it brings is dropped when a newer search has
// started since `generation` was taken. `lock` is the ui_lock, handed over by the starter.
void search_worker(SearchJob job, unsigned generation, std::shared_ptr<std::mutex> lock);

}  // namespace tavlo
