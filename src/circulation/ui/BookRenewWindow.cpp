#include "BookRenewWindow.h"

#include "ReaderPanel.h"
#include "widgets/Messages.h"

#include <QLineEdit>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace cangshu {

namespace {
constexpr int idColumn = 6;
}

BookRenewWindow::BookRenewWindow(Database& db, DeskSettings settings, QWidget* parent)
    : CirculationFrame(QStringLiteral("书籍续借"), parent), m_db(db),
      m_reader(new ReaderPanel(db, ReaderPanel::NameEntry::Display)), m_list(new QTreeWidget) {
    m_maxItems = m_reader->addField(QStringLiteral("可借数量"));
    m_loanDays = m_reader->addField(QStringLiteral("可借天数"));
    m_renewals = m_reader->addField(QStringLiteral("允许续借"), QStringLiteral("次"));
    m_renewalDays = m_reader->addField(QStringLiteral("允许续借"), QStringLiteral("天"));
    m_onLoan = m_reader->addField(QStringLiteral("已借数量"));
    body()->addWidget(m_reader);

    m_list->setHeaderLabels({QStringLiteral("书籍编号"), QStringLiteral("书籍名称"),
                             QStringLiteral("书籍类型"), QStringLiteral("书籍价格"),
                             QStringLiteral("出版社"), QStringLiteral("应还日期"),
                             QStringLiteral("ID"), QStringLiteral("借阅日期"),
                             QStringLiteral("允许续借"), QStringLiteral("已经续借")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setColumnHidden(idColumn, true);
    for (auto [column, width] : {std::pair{0, 110}, {1, 240}, {2, 100}, {3, 70}, {4, 150}, {5, 90}})
        m_list->setColumnWidth(column, width);
    body()->addWidget(m_list, 1);

    addCommand(QStringLiteral("续借【F5】"), [this] { renewTicked(); });
    addCommand(QStringLiteral("选中全部"), [this] { tickAll(true); });
    addCommand(QStringLiteral("取消选中"), [this] { tickAll(false); });
    addCommand(QStringLiteral("清空【F7】"), [this] { clearWindow(); });
    addCommand(QStringLiteral("关闭ESC"), [this] { close(); });
    addTool(QStyle::SP_DialogApplyButton, QStringLiteral("续借"), [this] { renewTicked(); });
    addTool(QStyle::SP_DialogNoButton, QStringLiteral("取消选中"), [this] { tickAll(false); });
    addTool(QStyle::SP_DialogResetButton, QStringLiteral("清空"), [this] { clearWindow(); });
    addTool(QStyle::SP_DialogCloseButton, QStringLiteral("关闭"), [this] { close(); });
    addTool(QStyle::SP_DialogYesButton, QStringLiteral("选中全部"), [this] { tickAll(true); });

    connect(m_reader, &ReaderPanel::lookupRequested, this, &BookRenewWindow::lookupReader);
    connect(m_list, &QTreeWidget::itemChanged, this, &BookRenewWindow::rowChanged);
    setSettings(std::move(settings));
    resize(1000, 600);
}

BookRenewWindow::~BookRenewWindow() = default;

void BookRenewWindow::setSettings(DeskSettings settings) {
    setOperatorName(settings.operatorName);
    m_desk = std::make_unique<RenewalDesk>(m_db, ItemKind::books(), std::move(settings));
    clearWindow();
}

void BookRenewWindow::setIdCardDevice(IdCardDevice* device) {
    m_reader->setIdCardDevice(device);
}

void BookRenewWindow::showEvent(QShowEvent* event) {
    CirculationFrame::showEvent(event);
    if (!event->spontaneous())
        clearWindow();
}

void BookRenewWindow::focusReaderField() {
    m_reader->numberField()->setFocus();
}

void BookRenewWindow::refreshList() {
    const QSignalBlocker block(m_list);
    m_list->clear();
    for (const RenewalLine& l : m_desk->lines()) {
        auto* row = new QTreeWidgetItem(m_list);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, l.ticked ? Qt::Checked : Qt::Unchecked);
        row->setText(0, l.item.number);
        row->setText(1, l.item.title);
        row->setText(2, l.item.category);
        row->setText(3, l.item.price);
        row->setText(4, l.item.publisher);
        row->setText(5, l.due.toString(QStringLiteral("yyyy-MM-dd")));
        row->setText(idColumn, QString::number(l.item.id));
        row->setText(7, l.lentOn.toString(QStringLiteral("yyyy-MM-dd")));
        row->setText(8, QString::number(l.granted));
        row->setText(9, QString::number(l.taken));
    }
}

void BookRenewWindow::rowChanged(QTreeWidgetItem* item, int column) {
    if (column == 0)
        m_desk->setTicked(m_list->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
}

void BookRenewWindow::tickAll(bool ticked) {
    m_desk->tickAll(ticked);
    refreshList();
}

void BookRenewWindow::lookupReader() {
    Outcome outcome;
    try {
        outcome = m_desk->identifyReader(m_reader->number());
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return;
    }
    refreshList();
    if (!outcome.ok) {
        m_reader->clearReader();
        showNotice(this, outcome.message);
        m_reader->numberField()->setFocus();
        m_reader->numberField()->selectAll();
        return;
    }
    m_reader->showReader(*m_desk->reader());
    const LoanRules& rules = m_desk->rules();
    m_maxItems->setText(QString::number(rules.maxItems));
    m_loanDays->setText(QString::number(rules.loanDays));
    m_renewals->setText(QString::number(rules.renewals));
    m_renewalDays->setText(QString::number(rules.renewalDays));
    m_onLoan->setText(rules.typeFound ? QString::number(m_desk->onLoan()) : QString());
    m_list->setFocus();
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
}

void BookRenewWindow::renewTicked() {
    Outcome outcome;
    try {
        outcome = m_desk->commit();
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return;
    }
    // Exhausted loans come back unticked.
    refreshList();
    if (!outcome.ok) {
        showNotice(this, outcome.message);
        if (outcome.focus == focus::reader)
            m_reader->numberField()->setFocus();
        return;
    }
    showSuccess(this, outcome.message);
    clearWindow();
}

void BookRenewWindow::clearWindow() {
    m_desk->clear();
    refreshClock();
    setOperatorName(operatorName());
    m_reader->clearAll();
    refreshList();
    m_reader->numberField()->setFocus();
}

} // namespace cangshu
