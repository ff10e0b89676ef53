#pragma once
#include "catalogue/Publishers.h"

#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace cangshu {

// "添加修改出版社": "标准ISBN：", "出版社名：", "出版地点：", "保存(&S)" and "取消(&C)".
class PublisherDialog : public QDialog {
    Q_OBJECT
public:
    PublisherDialog(const Database& db, Publisher publisher, QWidget* parent = nullptr);
    const Publisher& publisher() const { return m_publisher; }
    QLineEdit* isbnEdit() const { return m_isbn; }
    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* placeEdit() const { return m_place; }
    bool save();

private:
    const Database& m_db;
    Publisher m_publisher;
    QLineEdit* m_isbn;
    QLineEdit* m_name;
    QLineEdit* m_place;
};

// "出版社设置": the publisher list with its two filters, in maintenance or picker mode.
class PublisherWindow : public QDialog {
    Q_OBJECT
public:
    explicit PublisherWindow(Database& db, QWidget* parent = nullptr);
    // Picker mode shows "选中出版社(&S)" and lets a double-click choose.
    void setPickerMode(bool picker);
    bool isPicker() const { return m_picker; }
    std::optional<Publisher> chosen() const;
    QLineEdit* isbnFilter() const { return m_isbnFilter; }
    QLineEdit* nameFilter() const { return m_nameFilter; }
    QTableWidget* grid() const { return m_grid; }
    std::optional<Publisher> current() const;
    void refresh(Publishers::Filter filter, const QString& text);
    void addPublisher();
    void changePublisher();
    void deletePublisher();
    void choose();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refill();

    Database& m_db;
    bool m_picker = false;
    bool m_chosen = false;
    QList<Publisher> m_rows;
    Publishers::Filter m_filter = Publishers::Filter::Isbn;
    QLineEdit* m_isbnFilter;
    QLineEdit* m_nameFilter;
    QTableWidget* m_grid;
    QPushButton* m_choose;
};

} // namespace cangshu
