#pragma once
#include "circulation/Deposits.h"

#include <QDialog>
#include <optional>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace cangshu {

class IdCardDevice;

// "读者充扣押金": one payment into or deduction from a reader's deposit. Callers may fill it
// in (reader, "扣押金", amount, remark) before showing it.
class DepositWindow : public QDialog {
    Q_OBJECT
public:
    explicit DepositWindow(Database& db, QWidget* parent = nullptr);

    void setOperatorName(const QString& name);
    void setIdCardDevice(IdCardDevice* device) { m_idCard = device; }
    void prefill(const QString& readerNumber, DepositDirection direction, const QString& amount,
                 const QString& note);

    QLineEdit* numberField() const { return m_number; }
    QLineEdit* amountField() const { return m_amount; }
    QLineEdit* balanceField() const { return m_balance; }
    QPlainTextEdit* noteField() const { return m_note; }
    QRadioButton* payInButton() const { return m_payIn; }
    QRadioButton* deductButton() const { return m_deduct; }
    QDateEdit* dateField() const { return m_date; }

    // The reader query (Enter in the number field).
    bool queryReader();
    // 确定: checks, asks, records; closes when done.
    bool record();
    void clearFields();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void pickReader();
    void readIdCard();
    void focusOn(const QString& field);

    Database& m_db;
    IdCardDevice* m_idCard = nullptr;
    QString m_operator;
    std::optional<QString> m_queried; // the number of the reader shown
    QLineEdit* m_number;
    QLineEdit* m_name;
    QLineEdit* m_type;
    QLineEdit* m_balance;
    QLineEdit* m_idNumber;
    QLabel* m_photo;
    QRadioButton* m_payIn;
    QRadioButton* m_deduct;
    QLineEdit* m_amount;
    QDateEdit* m_date;
    QLineEdit* m_operatorField;
    QPlainTextEdit* m_note;
};

} // namespace cangshu
