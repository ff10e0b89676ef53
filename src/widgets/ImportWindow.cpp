#include "ImportWindow.h"

#include "Messages.h"
#include "ProgressWindow.h"
#include "queries/SpreadsheetImport.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace cangshu {

// The preview: the sheet's data rows with trimmed cells, read only when painted.
class SheetModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void show(const Sheet* sheet, bool withRows) {
        beginResetModel();
        m_sheet = sheet;
        m_withRows = withRows;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !m_sheet || !m_withRows ? 0
                                                           : qMax(0, int(m_sheet->rows.size()) - 1);
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !m_sheet ? 0 : m_sheet->columnCount;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return m_sheet->rows.at(index.row() + 1).value(index.column()).trimmed();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Vertical)
            return section + 2;
        return m_sheet && !m_sheet->rows.isEmpty() ? m_sheet->rows.first().value(section).trimmed()
                                                   : QVariant();
    }

private:
    const Sheet* m_sheet = nullptr;
    bool m_withRows = false;
};

ImportWindow::ImportWindow(Database& db, QWidget* parent)
    : QDialog(parent), m_db(db), m_file(new QLineEdit(this)), m_table(new QComboBox(this)),
      m_sheetColumns(new QListWidget(this)), m_tableColumns(new QListWidget(this)),
      m_preview(new QTableView(this)), m_model(new SheetModel(this)) {
    setWindowTitle(QStringLiteral("数据导入"));
    m_table->setEditable(true);
    m_table->addItems(importTargets());
    auto* open = new QPushButton(QStringLiteral("打开Excel文件"), this);
    auto* previewButton = new QPushButton(QStringLiteral("预览Excel数据"), this);
    auto* importButton = new QPushButton(QStringLiteral("导入到数据库"), this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    for (auto* b : {open, previewButton, importButton, close})
        b->setAutoDefault(false);
    auto* top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("要打开的Excel源文件："), this), 0, 0);
    top->addWidget(m_file, 0, 1);
    top->addWidget(open, 0, 2);
    top->addWidget(new QLabel(QStringLiteral("要导入的数据库表："), this), 1, 0);
    top->addWidget(m_table, 1, 1);
    auto* commands = new QHBoxLayout;
    commands->addWidget(previewButton);
    commands->addWidget(importButton);
    commands->addWidget(close);
    top->addLayout(commands, 1, 2);
    top->setColumnStretch(1, 1);

    m_preview->setModel(m_model);
    m_preview->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->horizontalHeader()->setDefaultSectionSize(100);
    auto column = [this](const QString& caption, QWidget* content) {
        auto* box = new QVBoxLayout;
        box->addWidget(new QLabel(caption, this));
        box->addWidget(content, 1);
        return box;
    };
    auto* lists = new QHBoxLayout;
    lists->addLayout(column(QStringLiteral("打开的Excel文件列名"), m_sheetColumns), 1);
    lists->addLayout(column(QStringLiteral("要导入的数据表字段名"), m_tableColumns), 1);
    lists->addLayout(column(QStringLiteral("Excel数据预览"), m_preview), 4);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(lists, 1);

    connect(open, &QPushButton::clicked, this, &ImportWindow::browse);
    connect(previewButton, &QPushButton::clicked, this, &ImportWindow::preview);
    connect(importButton, &QPushButton::clicked, this, &ImportWindow::importRows);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_table, &QComboBox::textActivated, this, &ImportWindow::chooseTable);
    setWindowState(windowState() | Qt::WindowMaximized);
    resize(1200, 700);
}

// The views are destroyed after this object's members: detach the preview from the sheet
// first, so that a last repaint never reads a freed sheet.
ImportWindow::~ImportWindow() { m_model->show(nullptr, false); }

void ImportWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_openTable.clear();
    m_sheet = Sheet();
    m_sheetColumns->clear();
    m_tableColumns->clear();
    m_file->clear();
    m_table->setCurrentIndex(-1);
    m_table->setEditText(QString());
}

void ImportWindow::browse() {
    const QString file = QFileDialog::getOpenFileName(
        this, {}, {}, QStringLiteral("Excel(*.xls *.xlsx *.XLS *.XLSX)"));
    if (!file.isEmpty())
        openFile(file);
}

bool ImportWindow::openFile(const QString& file) {
    m_sheetColumns->clear();
    m_file->setText(file);
    Sheet sheet;
    QString error;
    if (!readSpreadsheet(file, &sheet, &error)) {
        m_sheet = Sheet();
        showError(this, error);
        return false;
    }
    m_sheet = std::move(sheet);
    m_model->show(&m_sheet, false);
    if (!m_sheet.rows.isEmpty())
        for (const QString& name : m_sheet.rows.first())
            m_sheetColumns->addItem(name.trimmed());
    return true;
}

void ImportWindow::chooseTable(const QString& table) {
    m_openTable.clear();
    m_tableColumns->clear();
    if (!importTargets().contains(table))
        return;
    for (const QString& column : m_db.columns(table))
        m_tableColumns->addItem(column.trimmed());
    m_openTable = table;
}

bool ImportWindow::preview() {
    if (m_sheetColumns->count() == 0) {
        showNotice(this, kImportNoFileMessage);
        m_file->setFocus();
        return false;
    }
    m_model->show(&m_sheet, true);
    return true;
}

bool ImportWindow::importRows() {
    if (m_sheetColumns->count() == 0) {
        showNotice(this, kImportNoFileMessage);
        m_file->setFocus();
        return false;
    }
    if (m_table->currentText().trimmed().isEmpty()) {
        showNotice(this, kImportNoTableMessage);
        m_table->setFocus();
        return false;
    }
    if (m_openTable.isEmpty() || m_openTable != m_table->currentText())
        return false;
    ImportOutcome out;
    {
        ProgressWindow progress(this);
        progress.start(QStringLiteral("系统正在导入到数据库......"));
        try {
            out = importSheet(m_db, m_sheet, m_openTable, &progress);
        } catch (const DatabaseError& e) {
            out.message = kImportErrorMessage;
            out.detail = e.message();
        }
        progress.finish();
    }
    if (!out.ok) {
        QString text = out.message;
        if (out.failingRow > 0)
            text += QStringLiteral("\n\nExcel第%1行：%2").arg(out.failingRow).arg(out.detail);
        showNotice(this, text);
        return false;
    }
    showSuccess(this, out.message);
    return true;
}

} // namespace cangshu
