#include "DeskList.h"

namespace cangshu {

DeskList::DeskList(const QStringList& titles, int idColumn, const QList<int>& widths,
                   QWidget* parent)
    : QTreeWidget(parent) {
    setHeaderLabels(titles);
    setRootIsDecorated(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setColumnHidden(idColumn, true);
    for (int column = 0; column < widths.size(); ++column)
        setColumnWidth(column, widths.at(column));
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (column == 0 && (item->flags() & Qt::ItemIsUserCheckable))
            emit tickChanged(indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
    });
}

QTreeWidgetItem* DeskList::addLine(const QStringList& cells, std::optional<bool> ticked) {
    auto* row = new QTreeWidgetItem(this, cells);
    if (ticked) {
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, *ticked ? Qt::Checked : Qt::Unchecked);
    }
    return row;
}

} // namespace cangshu
