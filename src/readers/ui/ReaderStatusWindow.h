#pragma once
#include "core/Database.h"
#include "readers/ReaderStatus.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace cangshu {

// The kinds of the status window: loss report (with found again), cancellation, refund.
enum class StatusWindowKind { Loss, Cancel, Refund };

// "读者挂失", "读者注销", "读者退卡": one shape: a reader looked up by number, then one action.
class ReaderStatusWindow : public QDialog {
    Q_OBJECT
public:
    ReaderStatusWindow(Database& db, StatusWindowKind kind, QWidget* parent = nullptr);

    QLineEdit* numberField() const { return m_number; }
    QLineEdit* nameField() const { return m_name; }
    QLineEdit* typeField() const { return m_type; }
    QLineEdit* depositField() const { return m_deposit; }
    QRadioButton* foundOption() const { return m_found; }
    QPushButton* actionButton() const { return m_action; }

    // "查询": fills the shown fields, or tells that no reader has the number.
    bool lookUp();
    // The action button: confirms, runs the operation and closes on success.
    bool act();

protected:
    void showEvent(QShowEvent* event) override;

private:
    StatusOperation operation() const;
    QString confirmation(const QString& number, const QString& name) const;

    Database& m_db;
    StatusWindowKind m_kind;
    QLineEdit* m_number;
    QLineEdit* m_name;
    QLineEdit* m_type;
    QLineEdit* m_deposit = nullptr;
    QRadioButton* m_lose = nullptr;
    QRadioButton* m_found = nullptr;
    QPushButton* m_action;
};

} // namespace cangshu
