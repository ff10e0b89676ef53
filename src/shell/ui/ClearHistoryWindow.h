#pragma once
#include "core/Database.h"

#include <QDialog>

class QCheckBox;
class QDateEdit;

namespace cangshu {

// "旧数据清理": removes old return history of books and periodicals for a period.
class ClearHistoryWindow : public QDialog {
    Q_OBJECT
public:
    explicit ClearHistoryWindow(Database& db, QWidget* parent = nullptr);

    QDateEdit* fromBox() const { return m_from; }
    QDateEdit* toBox() const { return m_to; }
    QCheckBox* booksBox() const { return m_books; }
    QCheckBox* periodicalsBox() const { return m_periodicals; }

public slots:
    void start();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Database& m_db;
    QDateEdit* m_from;
    QDateEdit* m_to;
    QCheckBox* m_books;
    QCheckBox* m_periodicals;
};

} // namespace cangshu
