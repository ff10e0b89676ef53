#pragma once
#include "core/Database.h"
#include "queries/Conditions.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QStackedWidget;
class QTableWidget;
class QToolButton;

namespace cangshu {

// The general query builder "查询" over a table list ("读者资料" or
// "书籍资料,读者资料,书籍借阅清单"): terms from the columns of the tables, an editable condition
// text, sort terms and the conditions saved in `查询条件`.
class ConditionBuilder : public QDialog {
    Q_OBJECT
public:
    ConditionBuilder(Database& db, const QString& tableList, QWidget* parent = nullptr);

    bool isConfirmed() const { return m_confirmed; }
    QString condition() const;
    QStringList sortTerms() const { return m_sortTerms; }
    // The condition followed by " order by <sort terms>" when there are any.
    QString orderedCondition() const;

    // The controls and commands, for the windows' keyboard and for tests.
    QComboBox* columnBox() const { return m_column; }
    QComboBox* comparisonBox() const { return m_comparison; }
    QLineEdit* textValue() const { return m_text; }
    QLineEdit* numberValue() const { return m_number; }
    QDateEdit* dateValue() const { return m_date; }
    QComboBox* relationBox() const { return m_relation; }
    QTableWidget* termList() const { return m_terms; }
    QPlainTextEdit* conditionText() const { return m_conditionText; }
    QComboBox* sortColumnBox() const { return m_sortColumn; }
    QComboBox* sortDirectionBox() const { return m_sortDirection; }

    void chooseColumn(const QString& column);
    bool addTerm();
    void removeTerm(int row);
    bool addSort();
    void clearSort();
    bool confirm();
    // Saves under the name (asked for when empty); true when stored.
    bool saveAs(QString name = {});
    void openSaved();
    void pickValue();

private:
    ColumnKind currentKind() const;
    void rebuildText();

    Database& m_db;
    QString m_tables;
    BuilderColumns m_columns;
    QList<ConditionTerm> m_termRows;
    QStringList m_sortTerms;
    bool m_confirmed = false;

    QComboBox* m_column;
    QComboBox* m_comparison;
    QStackedWidget* m_valueStack;
    QLineEdit* m_text;
    QToolButton* m_valueListButton;
    QLineEdit* m_number;
    QDateEdit* m_date;
    QComboBox* m_relation;
    QTableWidget* m_terms;
    QPlainTextEdit* m_conditionText;
    QComboBox* m_sortColumn;
    QComboBox* m_sortDirection;
    QListWidget* m_sortList;
};

// "选择列值": the distinct values of a column; OK or a double-click chooses one.
class ValueChooser : public QDialog {
    Q_OBJECT
public:
    ValueChooser(const QStringList& values, QWidget* parent = nullptr);
    bool isChosen() const { return m_chosen; }
    QString value() const;
    QListWidget* list() const { return m_list; }

private:
    QListWidget* m_list;
    bool m_chosen = false;
};

// "综合查询条件": the saved conditions of a table list; open, delete, close.
class SavedConditionPicker : public QDialog {
    Q_OBJECT
public:
    SavedConditionPicker(Database& db, const QString& tableList, QWidget* parent = nullptr);
    bool isChosen() const { return m_chosen; }
    QString condition() const { return m_condition; }
    QListWidget* list() const { return m_list; }
    bool openCurrent();
    bool deleteCurrent();

private:
    void refresh();
    Database& m_db;
    QString m_tables;
    QList<SavedCondition> m_saved;
    QListWidget* m_list;
    bool m_chosen = false;
    QString m_condition;
};

} // namespace cangshu
