#pragma once
#include "core/Database.h"

#include <QDialog>
#include <QHash>

class QComboBox;
class QLineEdit;

namespace cangshu {

// "添加读者类型" / "修改读者类型": the name and the loan rules of one reader type.
class ReaderTypeEditor : public QDialog {
    Q_OBJECT
public:
    // An empty name makes a new type with the default rules.
    ReaderTypeEditor(Database& db, const QString& name, QWidget* parent = nullptr);

    QLineEdit* field(const QString& column) const { return m_fields.value(column); }
    QComboBox* unlimitedBox() const { return m_unlimited; }
    // "保存(&S)": true when stored (the editor then closes).
    bool save();
    QString savedName() const { return m_savedName; }

private:
    Database& m_db;
    QString m_original;
    QString m_savedName;
    QHash<QString, QLineEdit*> m_fields;
    QComboBox* m_unlimited;
};

} // namespace cangshu
