#include "list_rows.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace tavlo {

QSize ListRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize s = QStyledItemDelegate::sizeHint(option, index);
  if (row_height > 0) s.setHeight(row_height);
  return s;
}

void ListRowDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (index.column() >= 0 && std::size_t(index.column()) < aligns_.size())
    option->displayAlignment = aligns_[std::size_t(index.column())] | Qt::AlignVCenter;
}

void setup_list_columns(QTreeWidget* list, const std::vector<ListColumn>& columns) {
  std::vector<Qt::Alignment> aligns;
  QStringList captions;
  for (const ListColumn& c : columns) {
    captions << QString::fromUtf8(c.caption);
    aligns.push_back(c.align);
  }
  list->setColumnCount(int(columns.size()));
  list->setHeaderLabels(captions);
  list->setItemDelegate(new ListRowDelegate(aligns, list));
  list->header()->setStretchLastSection(false);
  list->header()->setSectionsMovable(false);
  list->header()->setMinimumSectionSize(0);
  for (int i = 0; i < int(columns.size()); ++i) {
    list->headerItem()->setTextAlignment(i, columns[std::size_t(i)].align | Qt::AlignVCenter);
    list->setColumnWidth(i, columns[std::size_t(i)].width);
    list->setColumnHidden(i, columns[std::size_t(i)].width == 0);
  }
}

void set_list_row_height(QTreeWidget* list) {
  if (auto* d = dynamic_cast<ListRowDelegate*>(list->itemDelegate())) {
    d->row_height = LIST_ROW_HEIGHT;
  } else {
    auto* nd = new ListRowDelegate({}, list);
    nd->row_height = LIST_ROW_HEIGHT;
    list->setItemDelegate(nd);
  }
  list->setUniformRowHeights(true);
  list->doItemsLayout();
}

}  // namespace tavlo
