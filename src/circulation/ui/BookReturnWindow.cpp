#include "BookReturnWindow.h"

#include "DepositWindow.h"
#include "ReaderPanel.h"
#include "widgets/Messages.h"
#include "widgets/PickList.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>

namespace cangshu {

namespace {
constexpr int idColumn = 12;
}

BookReturnWindow::BookReturnWindow(Database& db, DeskSettings settings, QWidget* parent)
    : CirculationFrame(QStringLiteral("书籍归还"), parent), m_db(db),
      m_reader(new ReaderPanel(db, ReaderPanel::NameEntry::Display, QStringLiteral("归还条件"))),
      m_number(new QLineEdit), m_list(new QTreeWidget), m_fines(new QLabel), m_rents(new QLabel),
      m_total(new QLabel) {
    m_onLoan = m_reader->addField(QStringLiteral("借阅数量"));
    // The book number sits in the same group, after the reader's fields.
    auto* numberRow = new QWidget(m_reader);
    auto* row = new QHBoxLayout(numberRow);
    row->setContentsMargins(0, 0, 0, 0);
    m_number->setObjectName(QStringLiteral("bookNumber"));
    auto* enter = new QToolButton(numberRow);
    enter->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    enter->setToolTip(QStringLiteral("书籍编号"));
    enter->setFocusPolicy(Qt::NoFocus);
    row->addWidget(new QLabel(QStringLiteral("书籍编号【F3】"), numberRow));
    row->addWidget(m_number, 1);
    row->addWidget(enter);
    body()->addWidget(m_reader);
    body()->addWidget(numberRow);

    m_list->setHeaderLabels(
        {QStringLiteral("存放位置"), QStringLiteral("书籍编号"), QStringLiteral("书籍名称"),
         QStringLiteral("书籍类型"), QStringLiteral("书籍价格"), QStringLiteral("出版社"),
         QStringLiteral("借阅日期"), QStringLiteral("应还日期"), QStringLiteral("借出天数"),
         QStringLiteral("租金金额"), QStringLiteral("超期天数"), QStringLiteral("罚款金额"),
         QStringLiteral("ID")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setColumnHidden(idColumn, true);
    for (auto [column, width] : {std::pair{0, 90},
                                 {1, 100},
                                 {2, 180},
                                 {3, 80},
                                 {4, 60},
                                 {5, 120},
                                 {6, 85},
                                 {7, 85},
                                 {8, 60},
                                 {9, 70},
                                 {10, 70},
                                 {11, 70}})
        m_list->setColumnWidth(column, width);
    body()->addWidget(m_list, 1);

    addCommand(QStringLiteral("归还【F5】"), [this] { returnTicked(); });
    addCommand(QStringLiteral("选中全部"), [this] { tickAll(true); });
    addCommand(QStringLiteral("取消选中"), [this] { tickAll(false); });
    addCommand(QStringLiteral("清空【F7】"), [this] { clearWindow(); });
    addCommand(QStringLiteral("关闭ESC"), [this] { close(); });
    addTool(QStyle::SP_DialogApplyButton, QStringLiteral("归还"), [this] { returnTicked(); });
    addTool(QStyle::SP_DialogNoButton, QStringLiteral("取消选中"), [this] { tickAll(false); });
    addTool(QStyle::SP_DialogResetButton, QStringLiteral("清空"), [this] { clearWindow(); });
    addTool(QStyle::SP_DialogCloseButton, QStringLiteral("关闭"), [this] { close(); });
    addTool(QStyle::SP_DialogYesButton, QStringLiteral("选中全部"), [this] { tickAll(true); });

    m_fines->setObjectName(QStringLiteral("应收罚款"));
    m_rents->setObjectName(QStringLiteral("应收租金"));
    m_total->setObjectName(QStringLiteral("合计"));
    auto* deduct = new QPushButton(QStringLiteral("从押金里扣"), this);
    deduct->setObjectName(QStringLiteral("从押金里扣"));
    deduct->setAutoDefault(false);
    deduct->setFocusPolicy(Qt::TabFocus);
    statusLine()->addSpacing(40);
    for (auto [caption, label] : {std::pair{QStringLiteral("应收罚款："), m_fines},
                                  std::pair{QStringLiteral("应收租金："), m_rents},
                                  std::pair{QStringLiteral("合计："), m_total}}) {
        statusLine()->addWidget(new QLabel(caption, this));
        label->setMinimumWidth(60);
        statusLine()->addWidget(label);
    }
    statusLine()->addWidget(deduct);

    setTabOrder(m_reader->numberField(), m_number);
    connect(m_reader, &ReaderPanel::lookupRequested, this, &BookReturnWindow::lookupReader);
    connect(m_number, &QLineEdit::returnPressed, this, &BookReturnWindow::enterBook);
    connect(enter, &QToolButton::clicked, this, &BookReturnWindow::enterBook);
    connect(m_list, &QTreeWidget::itemChanged, this, &BookReturnWindow::rowChanged);
    connect(deduct, &QPushButton::clicked, this, &BookReturnWindow::deductFromDeposit);
    setSettings(std::move(settings));
    resize(1100, 640);
}

BookReturnWindow::~BookReturnWindow() = default;

void BookReturnWindow::setSettings(DeskSettings settings) {
    setOperatorName(settings.operatorName);
    m_desk = std::make_unique<ReturnDesk>(m_db, ItemKind::books(), std::move(settings));
    if (m_deposit)
        m_deposit->setOperatorName(operatorName());
    clearWindow();
}

void BookReturnWindow::setIdCardDevice(IdCardDevice* device) {
    m_reader->setIdCardDevice(device);
}

void BookReturnWindow::showEvent(QShowEvent* event) {
    CirculationFrame::showEvent(event);
    if (!event->spontaneous())
        clearWindow();
}

void BookReturnWindow::focusReaderField() {
    m_reader->numberField()->setFocus();
}

void BookReturnWindow::focusItemField() {
    m_number->setFocus();
}

void BookReturnWindow::refreshList() {
    const QSignalBlocker block(m_list);
    m_list->clear();
    for (const ReturnLine& l : m_desk->lines()) {
        auto* row = new QTreeWidgetItem(m_list);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, l.ticked ? Qt::Checked : Qt::Unchecked);
        row->setText(0, l.item.location);
        row->setText(1, l.item.number);
        row->setText(2, l.item.title);
        row->setText(3, l.item.category);
        row->setText(4, l.item.price);
        row->setText(5, l.item.publisher);
        row->setText(6, l.lentOn.toString(QStringLiteral("yyyy-MM-dd")));
        row->setText(7, l.due.toString(QStringLiteral("yyyy-MM-dd")));
        row->setText(8, QString::number(l.fee.daysLent));
        row->setText(9, l.fee.rent.toString());
        row->setText(10, l.fee.overdueText());
        row->setText(11, l.fee.fine.toString());
        row->setText(idColumn, QString::number(l.item.id));
    }
    refreshTotals();
}

void BookReturnWindow::refreshTotals() {
    const ReturnTotals t = m_desk->totals();
    m_fines->setText(t.fines.toString());
    m_rents->setText(t.rents.toString());
    m_total->setText(t.total().toString());
}

void BookReturnWindow::rowChanged(QTreeWidgetItem* item, int column) {
    if (column != 0)
        return;
    m_desk->setTicked(m_list->indexOfTopLevelItem(item), item->checkState(0) == Qt::Checked);
    refreshTotals();
}

void BookReturnWindow::tickAll(bool ticked) {
    m_desk->tickAll(ticked);
    refreshList();
}

void BookReturnWindow::showDeskReader() {
    if (const std::optional<Reader>& r = m_desk->reader()) {
        m_reader->numberField()->setText(r->number);
        m_reader->showReader(*r);
        m_onLoan->setText(QString::number(m_desk->onLoan()));
    } else {
        m_reader->clearReader();
    }
}

void BookReturnWindow::showOutcome(const Outcome& outcome) {
    if (outcome.message == ItemKind::books().messages.noOpenLoans)
        showSuccess(this, outcome.message);
    else if (!outcome.message.isEmpty())
        showNotice(this, outcome.message);
    QLineEdit* target = outcome.focus == focus::reader ? m_reader->numberField()
                        : outcome.focus == focus::item ? m_number
                                                       : nullptr;
    if (target) {
        target->setFocus();
        target->selectAll();
    }
}

void BookReturnWindow::lookupReader() {
    Outcome outcome;
    try {
        outcome = m_desk->identifyReader(m_reader->number());
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return;
    }
    showDeskReader();
    refreshList();
    if (!outcome.ok) {
        showOutcome(outcome);
        return;
    }
    m_number->setFocus();
}

void BookReturnWindow::enterBook() {
    try {
        ReturnDesk::EntryResult r = m_desk->enterItem(m_number->text());
        Outcome outcome = r.outcome;
        if (!r.candidates.isEmpty()) {
            QList<qint64> ids;
            for (const ItemRow& item : r.candidates)
                ids << item.id;
            const std::optional<qint64> chosen = ItemChooser::pick(
                m_db, ItemKind::books().itemTable, bookChooserColumns(), ids, m_number);
            if (!chosen)
                return;
            outcome = m_desk->enterChosen(*chosen);
        }
        showDeskReader();
        refreshList();
        if (!outcome.ok) {
            showOutcome(outcome);
            return;
        }
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return;
    }
    m_number->setFocus();
    m_number->selectAll();
}

void BookReturnWindow::returnTicked() {
    Outcome outcome;
    try {
        outcome = m_desk->commit();
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return;
    }
    if (!outcome.ok) {
        showOutcome(outcome);
        return;
    }
    showSuccess(this, outcome.message);
    clearWindow();
}

void BookReturnWindow::clearWindow() {
    m_desk->clear();
    refreshClock();
    setOperatorName(operatorName());
    m_reader->clearAll();
    m_number->clear();
    refreshList();
    m_reader->numberField()->setFocus();
}

DepositWindow* BookReturnWindow::depositWindow() {
    if (!m_deposit) {
        m_deposit = new DepositWindow(m_db, this);
        m_deposit->setOperatorName(operatorName());
        m_deposit->setIdCardDevice(nullptr);
    }
    return m_deposit;
}

void BookReturnWindow::deductFromDeposit() {
    const Money total = m_desk->totals().total();
    if (m_desk->lines().isEmpty() || total.isZero() || !m_desk->reader())
        return;
    DepositWindow* w = depositWindow();
    w->prefill(m_desk->reader()->number, DepositDirection::Deduct, total.toString(),
               QStringLiteral("书籍租金罚款"));
    w->exec();
}

} // namespace cangshu
