#pragma once
#include "core/Home.h"
#include "queries/CirculationHistory.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace cangshu {

class DataGrid;
class IcCardDevice;
struct GridSource;

// The loan and return history lists of books, periodicals and audio-visual items: one
// window configured by its kind, with the quick searches, the condition builder over the
// three-table join, "显示超期", the card reader, saved layouts, print and export. It only
// reads, and shows an empty grid until the first search.
class HistoryWindow : public QDialog {
    Q_OBJECT
public:
    HistoryWindow(Database& db, const Home& home, HistoryKind kind, QWidget* parent = nullptr);

    // The IC-card reader behind "读卡"; without one the button says why it cannot read.
    void setCardDevice(IcCardDevice* device) { m_card = device; }

    DataGrid* grid() const { return m_grid; }
    QLineEdit* itemNumberBox() const { return m_itemNumber; }
    QLineEdit* readerNumberBox() const { return m_readerNumber; }
    QPushButton* button(const QString& caption) const;
    const HistoryView& view() const { return m_queries.view(); }

    // The commands, also callable from code.
    bool searchItem();
    bool searchReader();
    bool showAll();
    bool showOverdue();
    bool listCondition(const QString& condition, const QString& orderBy = {});
    void advancedQuery();
    void readCard();
    void chooseColumns();
    void exportExcel();
    void printReport();
    // The day's list of the "today" menu, under the title "【<today>】 借出图书".
    bool showToday();

    // Another window's query of one item's or one reader's history: the owner's window of
    // this kind (made on first use, with the workstation's card reader) searched by the
    // number and shown modal.
    enum class SearchBy { Item, Reader };
    static void showFor(QWidget* owner, Database& db, const Home& home, HistoryKind kind,
                        SearchBy by, const QString& number);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool list(const HistoryQuery& query);
    QPushButton* addButton(const QString& caption);

    Database& m_db;
    Home m_home;
    HistoryQueries m_queries;
    IcCardDevice* m_card = nullptr;
    DataGrid* m_grid;
    QLineEdit* m_itemNumber;
    QLineEdit* m_readerNumber;
    class QHBoxLayout* m_tools;
    bool m_shown = false;
};

} // namespace cangshu
