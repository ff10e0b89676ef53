#include "ListWindow.h"

#include "ColumnChooser.h"
#include "ConditionBuilder.h"
#include "ExportFlow.h"
#include "GridReport.h"
#include "Messages.h"
#include "queries/Layouts.h"
#include "queries/QuickSearch.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace cangshu {

ListWindow::ListWindow(Database& db, const Home& home, ListWindowSpec definition, ListMode mode,
                       QWidget* parent)
    : QDialog(parent), m_db(db), m_home(home), m_spec(std::move(definition)), m_mode(mode),
      m_grid(new DataGrid(db, this)), m_search(new SearchBar(m_spec.searchFields, this)),
      m_commands(new QHBoxLayout) {
    setWindowTitle(m_spec.title);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    if (m_spec.conditionTables.isEmpty())
        m_spec.conditionTables = m_spec.table;
    if (!m_spec.markNumberColumn.isEmpty())
        m_marking = Marking{m_spec.table, m_spec.markNumberColumn};

    m_grid->setColumns(m_spec.columns);
    m_grid->setRowNumbers(m_spec.rowNumbers);
    if (mode == ListMode::Management)
        m_grid->setManagement(m_spec.table, m_spec.keyColumn);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addWidget(m_grid, 1);
    layout->addLayout(m_commands);

    connect(addButton(QStringLiteral("显示全部")), &QPushButton::clicked, this,
            &ListWindow::showAll);
    connect(addButton(QStringLiteral("高级查询")), &QPushButton::clicked, this,
            &ListWindow::advancedQuery);
    connect(addButton(QStringLiteral("设置列选")), &QPushButton::clicked, this,
            &ListWindow::chooseColumns);
    QPushButton* exportButton = addButton(QStringLiteral("导出数据"));
    if (m_spec.allExportFormats) {
        auto* menu = new QMenu(exportButton);
        for (const ExportFormatInfo& f : exportFormats())
            menu->addAction(f.menuText, this, [this, format = f.format] { exportAs(format); });
        exportButton->setMenu(menu);
    } else {
        connect(exportButton, &QPushButton::clicked, this,
                [this] { exportAs(ExportFormat::Xlsx); });
    }
    connect(addButton(QStringLiteral("报表打印")), &QPushButton::clicked, this,
            &ListWindow::printReport);
    if (m_marking && mode == ListMode::Management) {
        connect(addButton(QStringLiteral("删除选中")), &QPushButton::clicked, this,
                &ListWindow::deleteMarked);
        QPushButton* markButton =
            m_spec.markingButton ? addButton(QStringLiteral("选中操作")) : nullptr;
        m_markMenu = new QMenu(markButton ? static_cast<QWidget*>(markButton) : this);
        m_markMenu->addAction(marking::kShowMarked, this, &ListWindow::showMarked);
        m_markMenu->addAction(marking::kMarkAll, this, &ListWindow::markAll);
        m_markMenu->addAction(marking::kUnmarkAll, this, &ListWindow::unmarkAll);
        if (markButton) {
            markButton->setMenu(m_markMenu);
        } else {
            m_grid->view()->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(m_grid->view(), &QWidget::customContextMenuRequested, this,
                    [this](const QPoint& at) {
                        m_markMenu->popup(m_grid->view()->viewport()->mapToGlobal(at));
                    });
        }
    }
    m_commands->addStretch();
    QPushButton* quit = new QPushButton(m_spec.quitCaption, this);
    quit->setObjectName(m_spec.quitCaption);
    quit->setAutoDefault(false);
    m_commands->addWidget(quit);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_search, &SearchBar::searchRequested, this, &ListWindow::search);
    resize(1100, 640);
}

QPushButton* ListWindow::addButton(const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(caption);
    b->setAutoDefault(false);
    m_commands->addWidget(b);
    return b;
}

QPushButton* ListWindow::addCommandButton(const QString& caption) {
    QPushButton* b = addButton(caption);
    // Before the stretch and 退出, the last two items of the row.
    m_commands->removeWidget(b);
    m_commands->insertWidget(m_commands->count() - 2, b);
    return b;
}

void ListWindow::arrangeCommands(const QStringList& captions) {
    int at = 0;
    for (const QString& caption : captions) {
        if (QPushButton* b = button(caption)) {
            m_commands->removeWidget(b);
            m_commands->insertWidget(at++, b);
        }
    }
}

QPushButton* ListWindow::button(const QString& caption) const {
    return findChild<QPushButton*>(caption);
}

void ListWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (!m_spec.layoutName.isEmpty() && !m_home.root().isEmpty()) {
        QList<ColumnLayout> saved;
        if (LayoutFiles(m_home, m_spec.layoutName).takeSavedLayout(&saved))
            m_grid->applyLayout(saved);
    }
    showAll();
    m_search->textBox()->setFocus();
}

bool ListWindow::loadOrReport(const GridSource& source) {
    if (m_grid->load(source))
        return true;
    showError(this, m_grid->lastError());
    return false;
}

bool ListWindow::listRows(const QString& whereText, const QVariantList& params,
                          const QString& orderBy) {
    return loadOrReport(
        {QStringLiteral("select %1 from [%2]").arg(m_spec.columnList, m_spec.table) + whereText,
         params, orderBy.isEmpty() ? m_spec.orderBy : orderBy});
}

bool ListWindow::showAll() {
    return listRows({}, {}, {});
}

bool ListWindow::search() {
    try {
        const SearchOutcome s = quickSearchCondition(m_db, m_spec.table, m_search->column(),
                                                     m_search->text(), m_search->fuzzy());
        if (!s.ok) {
            showNotice(this, s.message);
            m_search->textBox()->setFocus();
            return false;
        }
        return listRows(s.condition.sql, s.condition.params, {});
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
}

bool ListWindow::listWhere(const QString& condition, const QVariantList& params,
                           const QString& orderBy) {
    return listRows(QStringLiteral(" where ") + condition, params, orderBy);
}

void ListWindow::advancedQuery() {
    ConditionBuilder builder(m_db, m_spec.conditionTables, this);
    if (builder.exec() != QDialog::Accepted || !builder.isConfirmed())
        return;
    // This list is not paged, so the chosen sort terms apply.
    listWhere(builder.condition(), {}, builder.sortTerms().join(u','));
}

void ListWindow::chooseColumns() {
    ColumnChooser chooser(m_grid->layout(), this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    m_grid->applyLayout(chooser.columns());
    if (!m_spec.layoutName.isEmpty() && !m_home.root().isEmpty())
        LayoutFiles(m_home, m_spec.layoutName).saveWorking(m_grid->layout());
}

void ListWindow::exportAs(ExportFormat format) {
    exportGrid(this, *m_grid, format);
}

void ListWindow::printReport() {
    GridReportPreview preview(*m_grid, m_spec.reportTitle, m_db.today(), this);
    preview.exec();
}

bool ListWindow::showMarked() {
    if (!m_marking)
        return false;
    return listRows(QStringLiteral(" where [选中]=TRUE"), {},
                    QStringLiteral("[%1]").arg(m_marking->numberColumn));
}

void ListWindow::markAll() {
    if (!m_marking)
        return;
    try {
        m_marking->markAll(m_db);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
    showAll();
}

void ListWindow::unmarkAll() {
    if (!m_marking)
        return;
    try {
        m_marking->unmarkAll(m_db);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
    showAll();
}

bool ListWindow::deleteMarked() {
    if (!m_marking)
        return false;
    try {
        if (m_spec.countedDeleteConfirm) {
            const int n = m_marking->countMarked(m_db);
            if (n == 0) {
                showNotice(this, marking::kNoneMarked);
                return false;
            }
            if (!askYesNo(this, marking::confirmFirstCounted(n)) ||
                !askYesNo(this, marking::confirmSecondCounted(n)))
                return false;
        } else if (!askYesNo(this, marking::kConfirmFirst) ||
                   !askYesNo(this, marking::kConfirmSecond)) {
            return false;
        }
        m_marking->deleteMarked(m_db, [this](Database& db) { beforeDeleteMarked(db); });
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    m_grid->reload();
    return true;
}

} // namespace cangshu
