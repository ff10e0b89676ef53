#include "CustomBarcodeWindow.h"

#include "ReportDesigner.h"
#include "ReportPreviewWindow.h"
#include "report/CustomBarcodes.h"
#include "widgets/DataGrid.h"
#include "widgets/ExportFlow.h"
#include "widgets/Messages.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace cangshu::report {

namespace {
const QString kTemplate = QStringLiteral("zdy");
}

CustomBarcodeWindow::CustomBarcodeWindow(Database& db, const Home& home, QWidget* parent)
    : QDialog(parent), m_db(db), m_home(home) {
    setWindowTitle(QStringLiteral("自定义条码打印"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    auto* design = new QGroupBox(QStringLiteral("第一步：设计条码"), this);
    auto* designForm = new QFormLayout(design);
    const auto field = [&](QFormLayout* form, const QString& caption) {
        auto* edit = new QLineEdit(form->parentWidget());
        form->addRow(caption, edit);
        // Enter moves on through the fields, as Tab does.
        connect(edit, &QLineEdit::returnPressed, this, [this] { focusNextChild(); });
        return edit;
    };
    m_width = field(designForm, QStringLiteral("条码宽度:"));
    m_start = field(designForm, QStringLiteral("起始数值："));
    m_prefix = field(designForm, QStringLiteral("前置字符："));
    m_suffix = field(designForm, QStringLiteral("后置字符："));
    m_top = field(designForm, QStringLiteral("上方标题："));
    m_bottom = field(designForm, QStringLiteral("下方描述："));

    auto* produce = new QGroupBox(QStringLiteral("第二步：产生条码"), this);
    auto* produceLayout = new QVBoxLayout(produce);
    auto* countRow = new QFormLayout;
    m_count = new QLineEdit(produce);
    countRow->addRow(QStringLiteral("产生数量："), m_count);
    auto* generateButton = new QPushButton(QStringLiteral("立即产生"), produce);
    generateButton->setObjectName(QStringLiteral("立即产生"));
    generateButton->setAutoDefault(false);
    m_buttons.append(generateButton);
    connect(generateButton, &QPushButton::clicked, this, &CustomBarcodeWindow::generate);
    connect(m_count, &QLineEdit::returnPressed, this, &CustomBarcodeWindow::generate);
    auto* countLine = new QHBoxLayout;
    countLine->addLayout(countRow);
    countLine->addWidget(generateButton);
    countLine->addStretch();
    produceLayout->addLayout(countLine);
    m_grid = new DataGrid(db, produce);
    m_grid->setColumns(
        {{QStringLiteral("条形码"), QStringLiteral("条形码"), 160, FooterKind::Count},
         {QStringLiteral("上方标题"), QStringLiteral("上方标题"), 200},
         {QStringLiteral("下方描述"), QStringLiteral("下方描述"), 200}});
    produceLayout->addWidget(m_grid, 1);

    auto* printing = new QGroupBox(QStringLiteral("第三步：打印条码"), this);
    auto* printRow = new QHBoxLayout(printing);
    connect(addButton(QStringLiteral("清空数据")), &QPushButton::clicked, this,
            &CustomBarcodeWindow::clear);
    connect(addButton(QStringLiteral("导出数据")), &QPushButton::clicked, this,
            &CustomBarcodeWindow::exportRows);
    connect(addButton(QStringLiteral("打印设计")), &QPushButton::clicked, this,
            &CustomBarcodeWindow::design);
    connect(addButton(QStringLiteral("打印条码")), &QPushButton::clicked, this,
            &CustomBarcodeWindow::print);
    connect(addButton(QStringLiteral("关闭")), &QPushButton::clicked, this, &QDialog::reject);
    for (QPushButton* b : m_buttons.mid(1))
        printRow->addWidget(b);
    printRow->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(design);
    left->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(produce, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(printing);
    resize(960, 600);
}

QPushButton* CustomBarcodeWindow::addButton(const QString& caption) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(caption);
    b->setAutoDefault(false);
    m_buttons.append(b);
    return b;
}

QPushButton* CustomBarcodeWindow::button(const QString& caption) const {
    for (QPushButton* b : m_buttons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

void CustomBarcodeWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    relist();
    m_width->setFocus();
}

bool CustomBarcodeWindow::relist() {
    const GridSource source{QStringLiteral("select [条形码],[上方标题],[下方描述] from [barcode]"),
                            {},
                            QStringLiteral("[条形码]")};
    if (m_grid->load(source))
        return true;
    showError(this, m_grid->lastError());
    return false;
}

bool CustomBarcodeWindow::generate() {
    const BarcodeSeries series{m_width->text(),  m_start->text(), m_count->text(), m_prefix->text(),
                               m_suffix->text(), m_top->text(),   m_bottom->text()};
    try {
        BarcodeOutcome out = generateBarcodes(m_db, series, false);
        if (out.needsConfirmation) {
            if (!askYesNo(this, out.message))
                return false;
            out = generateBarcodes(m_db, series, true);
        }
        if (!out.ok) {
            showNotice(this, out.message);
            QLineEdit* focus = out.focus == QLatin1String(kFocusWidth)   ? m_width
                               : out.focus == QLatin1String(kFocusStart) ? m_start
                                                                         : m_count;
            focus->setFocus();
            focus->selectAll();
            return false;
        }
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    relist();
    return true;
}

bool CustomBarcodeWindow::clear() {
    QString message;
    try {
        message = clearBarcodes(m_db);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    relist();
    showSuccess(this, message);
    return true;
}

void CustomBarcodeWindow::exportRows() {
    exportGrid(this, *m_grid, ExportFormat::Xlsx);
}

void CustomBarcodeWindow::design() {
    try {
        ReportDesigner::design(this, m_home.reportFolder(), kTemplate, barcodeRows(m_db));
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
}

void CustomBarcodeWindow::print() {
    try {
        ReportPreviewWindow::showTemplate(this, m_home.reportFolder(), kTemplate,
                                          barcodeRows(m_db));
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
}

} // namespace cangshu::report
