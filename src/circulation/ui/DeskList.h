#pragma once
#include <QTreeWidget>
#include <optional>

namespace cangshu {

// The list of a circulation desk: read-only rows selected whole, a hidden ID column, and for
// desks that work on ticked rows a tick box in the first column.
class DeskList : public QTreeWidget {
    Q_OBJECT
public:
    // widths[i] is column i's width; a column past the list keeps the default.
    DeskList(const QStringList& titles, int idColumn, const QList<int>& widths,
             QWidget* parent = nullptr);

    // Appends a row of cells; with a tick box when ticked has a value.
    QTreeWidgetItem* addLine(const QStringList& cells, std::optional<bool> ticked = std::nullopt);

signals:
    // The operator ticked or unticked row `row`.
    void tickChanged(int row, bool ticked);
};

} // namespace cangshu
