#pragma once
#include "readers/ReaderLookup.h"

#include <QGroupBox>

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QToolButton;

namespace cangshu {

class IdCardDevice;

// The group "读者信息" of the circulation desks: the reader number with its pick list, the
// name (a choice of all names at the lending desks), "读身份证", the reader's display fields
// with room for the desk's own, and the photo. Every way of naming a reader ends in
// lookupRequested(); the window runs its lookup on number().
class ReaderPanel : public QGroupBox {
    Q_OBJECT
public:
    enum class NameEntry { Display, Choice };
    ReaderPanel(Database& db, NameEntry nameEntry,
                const QString& title = QStringLiteral("读者信息"), QWidget* parent = nullptr);

    QLineEdit* numberField() const { return m_number; }
    QComboBox* nameChoice() const { return m_nameChoice; } // null with NameEntry::Display
    QLineEdit* idNumberField() const { return m_idNumber; }
    QLineEdit* field(const QString& caption) const;
    QLabel* photo() const { return m_photo; }
    QToolButton* pickButton() const { return m_pick; }
    // A read-only display field after the standard ones, with an optional unit ("次").
    QLineEdit* addField(const QString& caption, const QString& unit = {});
    // A picture button beside "读身份证" (the held-loans button of the lending desk).
    QToolButton* addButton(const QString& tip);

    QString number() const;
    void setIdCardDevice(IdCardDevice* device) { m_idCard = device; }

    void showReader(const Reader& reader);
    void clearReader(); // display fields and photo; the number stays
    void clearAll();    // everything, the number too
    void reloadNames();

    // The entries that end in a lookup, callable from code.
    void pickReader();
    void readIdCard();
    void chooseName(const QString& name);

signals:
    void lookupRequested();

private:
    void setPhoto(const QByteArray& jpeg);

    Database& m_db;
    IdCardDevice* m_idCard = nullptr;
    QGridLayout* m_grid;
    QLineEdit* m_number;
    QToolButton* m_pick;
    QComboBox* m_nameChoice = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_gender;
    QLineEdit* m_type;
    QLineEdit* m_idNumber;
    QLabel* m_photo;
    QList<QLineEdit*> m_extra;
    QHash<QString, QLineEdit*> m_fields;
    int m_nextCell = 0;
};

} // namespace cangshu
