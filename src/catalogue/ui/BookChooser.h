#pragma once
#include <QDialog>
#include <QVariantMap>

class QTableWidget;

namespace cangshu {

// "选择书籍": the books found for a number, an ISBN or a title; the operator picks one.
class BookChooser : public QDialog {
    Q_OBJECT
public:
    explicit BookChooser(const QList<QVariantMap>& books, QWidget* parent = nullptr);
    QTableWidget* grid() const { return m_grid; }
    // The chosen row, or -1.
    int chosenRow() const { return m_chosen; }
    void choose();

    // Shows the chooser when there is more than one book; null when cancelled or none.
    static const QVariantMap* pick(const QList<QVariantMap>& books, QWidget* parent);

private:
    QTableWidget* m_grid;
    int m_chosen = -1;
};

} // namespace cangshu
