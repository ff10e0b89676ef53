#pragma once
#include "circulation/Fines.h"

#include <QDialog>
#include <functional>
#include <optional>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace cangshu {

class IdCardDevice;

// What "从押金里扣" hands to the deposits window: the reader, the amount to deduct and the
// remark "丢失罚款,书名:<title>".
struct DepositHandOver {
    QString readerNumber;
    QString amountText;
    QString remark;
};

// "丢失罚款": records one loss or damage fine for one reader. The fine is saved against the
// reader the lookup found; typing another number afterwards drops that reader until the
// next lookup.
class FineWindow : public QDialog {
    Q_OBJECT
public:
    explicit FineWindow(Database& db, QWidget* parent = nullptr);

    // The deposits window's entry; without it "从押金里扣" stays disabled.
    void setDepositHandOver(std::function<void(QWidget*, const DepositHandOver&)> handOver);
    // The ID-card reader behind "读身份证".
    void setIdCardDevice(IdCardDevice* device) { m_idCard = device; }
    // The reader pick list (the shared one unless replaced): returns the chosen reader
    // number, empty when cancelled.
    void setReaderPicker(std::function<QString(QWidget*)> picker);

    QLineEdit* readerNumberBox() const { return m_number; }
    QLineEdit* amountBox() const { return m_amount; }
    QLineEdit* itemTitleBox() const { return m_title; }
    QDateEdit* dateBox() const { return m_date; }
    QPlainTextEdit* noteBox() const { return m_note; }
    QLineEdit* nameBox() const { return m_name; }
    const std::optional<Reader>& reader() const { return m_reader; }

    // The commands, also callable from code.
    bool lookup();
    void readIdCard();
    void pickReader();
    bool save();
    bool deductFromDeposit();
    // Every showing starts empty: amount "0", date today, focus on the reader number.
    void clear();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showReader(const std::optional<Reader>& reader);
    void focusField(const QString& focus);
    FineRequest request() const;

    Database& m_db;
    std::optional<Reader> m_reader;
    std::function<void(QWidget*, const DepositHandOver&)> m_handOver;
    std::function<QString(QWidget*)> m_picker;
    IdCardDevice* m_idCard = nullptr;

    QLineEdit* m_number;
    QPushButton* m_pick;
    QLineEdit* m_name;
    QLineEdit* m_gender;
    QLineEdit* m_type;
    QLineEdit* m_idNumber;
    QLabel* m_photo;
    QLineEdit* m_amount;
    QLineEdit* m_title;
    QDateEdit* m_date;
    QPushButton* m_deduct;
    QPlainTextEdit* m_note;
    QPushButton* m_ok;
};

} // namespace cangshu
