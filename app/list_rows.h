// Report-view lists: column alignment and the fixed row height.
#pragma once

#include <QStyledItemDelegate>
#include <vector>

class QTreeWidget;

namespace tavlo {

inline constexpr int LIST_ROW_HEIGHT = 28;

struct ListColumn {
  const char* caption;  // UTF-8
  int width;            // 0: hidden, carries data only
  Qt::Alignment align;
};

// Gives every cell its column's alignment, and every row `row_height` pixels when set.
class ListRowDelegate : public QStyledItemDelegate {
 public:
  ListRowDelegate(std::vector<Qt::Alignment> aligns, QObject* parent)
      : QStyledItemDelegate(parent), aligns_(std::move(aligns)) {}
  int row_height = 0;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  std::vector<Qt::Alignment> aligns_;
};

void setup_list_columns(QTreeWidget* list, const std::vector<ListColumn>& columns);
// Rows 28 pixels high, also before the first row exists.
void set_list_row_height(QTreeWidget* list);

}  // namespace tavlo
