#pragma once
#include "core/Database.h"
#include "core/Home.h"
#include "report/LabelLists.h"

#include <QDialog>
#include <QVariantMap>

class QComboBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace cangshu::report {

class ReportPreviewWidget;

// What distinguishes the book, periodical and reader print windows.
struct LabelPrintSpec {
    QString title;
    LabelTable table;
    bool readerTypeTree = false; // else the book class tree
    // Template choices: caption and template name; one choice shows no drop-down.
    QList<QPair<QString, QString>> templates;

    static LabelPrintSpec books();
    static LabelPrintSpec periodicals();
    static LabelPrintSpec readers();
};

// A print window: the list (whole, one class or reader type, or "高级查询") shown through
// the chosen template in the embedded preview at page width, and printed from there.
class LabelPrintWindow : public QDialog {
    Q_OBJECT
public:
    LabelPrintWindow(Database& db, const Home& home, LabelPrintSpec definition,
                     QWidget* parent = nullptr);

    const LabelPrintSpec& definition() const { return m_spec; }
    const QList<QVariantMap>& rows() const { return m_rows; }
    QString templateName() const;
    ReportPreviewWidget* preview() const { return m_preview; }
    QTreeWidget* tree() const { return m_tree; }
    QComboBox* templateChoice() const { return m_choice; }
    QPushButton* button(const QString& caption) const;

    // The commands, also callable from code.
    void reloadTree();
    bool showAll();
    bool showGroup(QTreeWidgetItem* item);
    void advancedQuery();
    bool listWhere(const QString& condition, const QStringList& sortTerms = {});
    // Loads the chosen template and shows it over the list; false (after telling the
    // operator) when the template cannot be read.
    bool refreshPreview();
    void startPrinting();
    void design();

protected:
    void showEvent(QShowEvent* event) override;

private:
    template <typename F> bool list(F&& fetch);
    QPushButton* addButton(const QString& caption);

    Database& m_db;
    Home m_home;
    LabelPrintSpec m_spec;
    QList<QVariantMap> m_rows;
    QTreeWidget* m_tree;
    QComboBox* m_choice;
    ReportPreviewWidget* m_preview;
    QList<QPushButton*> m_buttons;
};

} // namespace cangshu::report
