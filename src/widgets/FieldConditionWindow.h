#pragma once
#include "queries/Conditions.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QTableWidget;

namespace cangshu {

// The field-based query window "查询": three term lines for the text, number and date columns
// its caller names, a term list, "确定查询" and "取消返回".
class FieldConditionWindow : public QDialog {
    Q_OBJECT
public:
    FieldConditionWindow(const QString& caption, const QStringList& textColumns,
                         const QStringList& numberColumns, const QStringList& dateColumns,
                         const QDate& today, const QString& likeOperator = QStringLiteral("like"),
                         QWidget* parent = nullptr);

    bool isConfirmed() const { return m_confirmed; }
    QString condition() const { return m_condition; }

    struct Line {
        QComboBox* column;
        QComboBox* comparison;
        QLineEdit* value; // null on the date line
        QDateEdit* date;  // null on the other lines
        QComboBox* relation;
    };
    const Line& line(ColumnKind kind) const;
    QTableWidget* termList() const { return m_terms; }

    bool addTerm(ColumnKind kind);
    void removeSelected();
    void removeAll();
    bool confirm();

private:
    Line m_text, m_number, m_date;
    QString m_like;
    QList<ConditionTerm> m_termRows;
    QTableWidget* m_terms;
    QString m_condition;
    bool m_confirmed = false;
};

} // namespace cangshu
