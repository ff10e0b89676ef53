#pragma once
#include "core/Database.h"
#include "shell/Operators.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace cangshu {

// "管理员设置": operators and their six rights. Browse state: the list and the browse
// buttons; Edit state: the fields and the save/cancel buttons.
class OperatorsWindow : public QDialog {
    Q_OBJECT
public:
    explicit OperatorsWindow(Database& db, QWidget* parent = nullptr);

    enum class Button { Add, Edit, Delete, Quit, Save, Cancel };
    QPushButton* button(Button b) const;
    QListWidget* list() const { return m_list; }
    QLineEdit* nameBox() const { return m_name; }
    QLineEdit* passwordBox() const { return m_password; }
    QCheckBox* rightBox(int i) const { return m_rights[i]; } // in caption order
    bool editing() const { return m_editing; }

    void reload();

public slots:
    void addOperator();
    void editOperator();
    void saveOperator();
    void cancelEdit();
    void deleteOperator();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setEditing(bool editing);
    void showCurrent();
    Rights rightsFromBoxes() const;

    Database& m_db;
    QList<OperatorRow> m_rows;
    QListWidget* m_list;
    QLineEdit* m_name;
    QLineEdit* m_password;
    QCheckBox* m_rights[6];
    QList<QPushButton*> m_buttons;
    bool m_editing = false;
    QString m_original; // the row being edited; empty for a new operator
};

} // namespace cangshu
