#include "MarcImportWindow.h"

#include "MarcRecordView.h"
#include "core/Database.h"
#include "marc/MarcFile.h"
#include "widgets/Messages.h"
#include "widgets/ProgressWindow.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace cangshu {

// The preview rows, read only when painted: a file of 100,000 records stays one list.
class MarcPreviewModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void show(const QList<MarcMapping>* mappings, const MarcPreview* preview) {
        beginResetModel();
        m_mappings = mappings;
        m_preview = preview;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !m_preview ? 0 : int(m_preview->rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || !m_mappings ? 0 : int(m_mappings->size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return m_preview->rows.at(index.row()).values.value(index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Vertical)
            return section + 1;
        return m_mappings ? m_mappings->value(section).caption : QVariant();
    }

private:
    const QList<MarcMapping>* m_mappings = nullptr;
    const MarcPreview* m_preview = nullptr;
};

namespace {

// The failures of an import, as many as a message box can show.
QString failureList(const MarcImportOutcome& outcome) {
    constexpr int Shown = 15;
    QStringList lines;
    for (const auto& f : outcome.failures.mid(0, Shown)) {
        QString line = QStringLiteral("第%1条记录").arg(f.record + 1);
        if (!f.number.isEmpty())
            line += QStringLiteral("（%1）").arg(f.number);
        lines << line + QStringLiteral("：") + f.reason;
    }
    if (outcome.failures.size() > Shown)
        lines << QStringLiteral("……（共%1条）").arg(outcome.failures.size());
    return lines.join(u'\n');
}

} // namespace

MarcImportWindow::MarcImportWindow(Database& db, Kind kind, QWidget* parent)
    : QDialog(parent), m_db(db), m_kind(kind), m_file(new QLabel(this)), m_total(new QLabel(this)),
      m_previewed(new QLabel(this)), m_state(new QLabel(this)), m_previewList(new QTableView(this)),
      m_model(new MarcPreviewModel(this)), m_recordView(new MarcRecordView(this)) {
    const bool books = kind == Kind::Books;
    setWindowTitle(books ? QStringLiteral("导入图书marc数据") : QStringLiteral("导入期刊Marc数据"));

    auto* group = new QGroupBox(QStringLiteral("Marc数据打开信息"), this);
    m_price = new QCheckBox(books ? QStringLiteral("导入书籍价格") : QStringLiteral("导入期刊价格"),
                            group);
    if (books)
        m_callNumber = new QCheckBox(QStringLiteral("自动获取种次号"), group);
    m_number = new QCheckBox(
        books ? QStringLiteral("书籍自动编号") : QStringLiteral("期刊自动编号"), group);
    for (QCheckBox* box : {m_price, m_callNumber, m_number}) {
        if (box)
            box->setChecked(true);
    }
    m_file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* info = new QGridLayout(group);
    info->addWidget(m_total, 0, 0);
    info->addWidget(m_previewed, 0, 1);
    info->addWidget(m_state, 0, 2);
    info->addWidget(m_file, 1, 0, 1, 3);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(m_price);
    if (m_callNumber)
        boxes->addWidget(m_callNumber);
    boxes->addWidget(m_number);
    boxes->addStretch(1);
    info->addLayout(boxes, 2, 0, 1, 3);
    info->setColumnStretch(2, 1);

    auto* open = new QPushButton(QStringLiteral("打开Marc数据"), this);
    auto* previewButton = new QPushButton(QStringLiteral("预览Marc数据"), this);
    auto* toCatalogue = new QPushButton(QStringLiteral("导入Marc数据到数据库"), this);
    if (books)
        m_toPreCatalogue = new QPushButton(QStringLiteral("导入Marc数据到预编库"), this);
    auto* close = new QPushButton(QStringLiteral("关  闭"), this);
    auto* commands = new QGridLayout;
    commands->addWidget(open, 0, 0);
    commands->addWidget(previewButton, 0, 1);
    commands->addWidget(toCatalogue, 1, 0);
    if (m_toPreCatalogue)
        commands->addWidget(m_toPreCatalogue, 1, 1);
    commands->addWidget(close, 2, 1);
    for (QPushButton* b : {open, previewButton, toCatalogue, m_toPreCatalogue, close}) {
        if (b)
            b->setAutoDefault(false);
    }

    auto* top = new QHBoxLayout;
    top->addWidget(group, 1);
    top->addLayout(commands);

    m_previewList->setModel(m_model);
    m_previewList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_previewList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_previewList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_previewList->setAlternatingRowColors(true);
    QPalette cyan = m_previewList->palette();
    cyan.setColor(QPalette::AlternateBase, QColor(233, 251, 254));
    m_previewList->setPalette(cyan);
    m_previewList->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    m_previewList->setWordWrap(false);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(m_previewList);
    splitter->addWidget(m_recordView);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);

    connect(open, &QPushButton::clicked, this, &MarcImportWindow::browse);
    connect(previewButton, &QPushButton::clicked, this, &MarcImportWindow::preview);
    connect(toCatalogue, &QPushButton::clicked, this, &MarcImportWindow::importToCatalogue);
    if (m_toPreCatalogue)
        connect(m_toPreCatalogue, &QPushButton::clicked, this,
                &MarcImportWindow::importToPreCatalogue);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_previewList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &MarcImportWindow::showCurrentRecord);

    setCounts(0, 0);
    m_state->setText(QStringLiteral("状态：未打开！"));
    resize(1200, 700);
    setWindowState(windowState() | Qt::WindowMaximized);
}

MarcImportWindow::~MarcImportWindow() {
    // The dialog's own destructor still repaints the list after our members are gone.
    m_model->show(nullptr, nullptr);
}

void MarcImportWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // Each showing starts from the mapping as it stands; the counts start again from 0.
    m_records.clear();
    m_preview = MarcPreview();
    m_file->clear();
    setCounts(0, 0);
    m_state->setText(QStringLiteral("状态：未打开！"));
    loadMappings();
    m_recordView->setRecord(MarcRecord());
}

void MarcImportWindow::loadMappings() {
    m_mappingError.clear();
    try {
        const MarcMappingLoad load = loadMarcMappings(
            m_db, m_kind == Kind::Books ? MarcImportTarget::Books : MarcImportTarget::Periodicals);
        m_mappings = load.mappings;
        m_mappingError = load.error;
    } catch (const DatabaseError& e) {
        m_mappings.clear();
        m_mappingError = e.message();
    }
    m_model->show(&m_mappings, &m_preview);
    for (qsizetype i = 0; i < m_mappings.size(); ++i) {
        if (m_mappings[i].width > 0)
            m_previewList->horizontalHeader()->resizeSection(int(i), m_mappings[i].width);
    }
    if (!m_mappingError.isEmpty())
        showNotice(this, m_mappingError);
}

void MarcImportWindow::setCounts(qsizetype total, qsizetype previewed) {
    m_total->setText(QStringLiteral("总记录数：%1").arg(total));
    m_previewed->setText(QStringLiteral("预览记录数：%1").arg(previewed));
}

void MarcImportWindow::browse() {
    openFile(QFileDialog::getOpenFileName(this, {}, {}, QStringLiteral("iso (*.iso)")));
}

bool MarcImportWindow::openFile(const QString& path) {
    m_records.clear();
    m_preview = MarcPreview();
    m_model->show(&m_mappings, &m_preview);
    m_recordView->setRecord(MarcRecord());
    setCounts(0, 0);
    m_file->setText(path);
    m_state->setText(QStringLiteral("状态：打开失败！"));
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showNotice(this, QStringLiteral("无法打开文件【%1】：%2").arg(path, file.errorString()));
        return false;
    }
    {
        ProgressWindow progress(this);
        progress.start(QStringLiteral("系统正在为MARC数据换行......"));
        MarcRecordReader reader(&file);
        QByteArray record;
        while (reader.next(&record)) {
            m_records.append(record);
            progress.setLabel(QStringLiteral("系统正在为MARC数据换行... %1").arg(m_records.size()));
        }
        progress.finish();
    }
    setCounts(m_records.size(), 0);
    m_state->setText(QStringLiteral("状态：打开成功"));
    showSuccess(this, QStringLiteral("Marc数据打开成功！请点击【预览Marc数据】按钮！"));
    return true;
}

bool MarcImportWindow::preview() {
    if (m_records.isEmpty()) {
        showNotice(this, QStringLiteral("请先打开Marc数据！"));
        return false;
    }
    if (!m_mappingError.isEmpty()) {
        showNotice(this, m_mappingError);
        return false;
    }
    {
        ProgressWindow progress(this);
        progress.start(QStringLiteral("系统正在进行数据分析预览......"));
        m_preview = previewMarcRecords(m_records, m_mappings, &progress);
        progress.finish();
    }
    m_model->show(&m_mappings, &m_preview);
    setCounts(m_records.size(), m_preview.rows.size());
    if (!m_preview.rows.isEmpty())
        m_previewList->setCurrentIndex(m_model->index(0, 0));
    return true;
}

void MarcImportWindow::showCurrentRecord() {
    const int row = m_previewList->currentIndex().row();
    if (row < 0 || row >= m_preview.rows.size()) {
        m_recordView->setRecord(MarcRecord());
        return;
    }
    m_recordView->setRecord(MarcRecord::fromBytes(m_records.value(m_preview.rows[row].record)));
}

bool MarcImportWindow::importToCatalogue() {
    return runImport(m_kind == Kind::Books ? MarcImportTarget::Books
                                           : MarcImportTarget::Periodicals,
                     QStringLiteral("是否确定导入Marc数据到数据库？"),
                     QStringLiteral("系统正在将Marc数据导入数据库......"));
}

bool MarcImportWindow::importToPreCatalogue() {
    if (m_kind != Kind::Books)
        return false;
    return runImport(MarcImportTarget::PreCatalogue,
                     QStringLiteral("是否确定导入Marc数据到预编库？"),
                     QStringLiteral("系统正在将Marc数据导入预编库......"));
}

bool MarcImportWindow::runImport(MarcImportTarget target, const QString& question,
                                 const QString& progressText) {
    if (m_preview.rows.isEmpty()) {
        showNotice(this, QStringLiteral("请先预览Marc数据！"));
        return false;
    }
    if (!askYesNo(this, question, QStringLiteral("提示")))
        return false;
    if (!m_mappingError.isEmpty()) {
        showNotice(this, m_mappingError);
        return false;
    }
    MarcImportOptions options;
    options.target = target;
    options.importPrice = m_price->isChecked();
    options.autoCallNumber = m_callNumber && m_callNumber->isChecked();
    options.autoNumber = m_number->isChecked();
    MarcImportOutcome outcome;
    {
        ProgressWindow progress(this);
        progress.start(progressText);
        try {
            outcome = importMarcPreview(m_db, m_preview, m_mappings, options, &progress);
        } catch (const DatabaseError& e) {
            outcome = MarcImportOutcome();
            outcome.refused = true;
            outcome.message = e.message();
        }
        progress.finish();
    }
    m_lastOutcome = outcome;
    if (outcome.refused) {
        showNotice(this, outcome.message);
        return false;
    }
    if (outcome.failures.isEmpty()) {
        showSuccess(this, outcome.message);
        return true;
    }
    showNotice(this, outcome.message + QStringLiteral("\n\n") + failureList(outcome));
    return true;
}

} // namespace cangshu
