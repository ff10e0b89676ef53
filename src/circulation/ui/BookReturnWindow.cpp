#include "BookReturnWindow.h"

#include "DepositWindow.h"
#include "DeskList.h"
#include "ReaderPanel.h"
#include "widgets/Messages.h"
#include "widgets/PickList.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>

namespace cangshu {

namespace {
constexpr int idColumn = 12;
}

BookReturnWindow::BookReturnWindow(Database& db, DeskSettings settings, QWidget* parent)
    : ReaderDeskWindow(
          QStringLiteral("书籍归还"), db,
          new ReaderPanel(db, ReaderPanel::NameEntry::Display, QStringLiteral("归还条件")), parent),
      m_number(new QLineEdit), m_fines(new QLabel), m_rents(new QLabel), m_total(new QLabel) {
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

    m_list = new DeskList(
        {QStringLiteral("存放位置"), QStringLiteral("书籍编号"), QStringLiteral("书籍名称"),
         QStringLiteral("书籍类型"), QStringLiteral("书籍价格"), QStringLiteral("出版社"),
         QStringLiteral("借阅日期"), QStringLiteral("应还日期"), QStringLiteral("借出天数"),
         QStringLiteral("租金金额"), QStringLiteral("超期天数"), QStringLiteral("罚款金额"),
         QStringLiteral("ID")},
        idColumn, {90, 100, 180, 80, 60, 120, 85, 85, 60, 70, 70, 70});
    body()->addWidget(m_list, 1);

    addTickingCommands(
        QStringLiteral("归还【F5】"), QStringLiteral("归还"), [this] { returnTicked(); },
        [this](bool ticked) { tickAll(ticked); });

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
    connect(m_list, &DeskList::tickChanged, this, [this](int row, bool ticked) {
        m_desk->setTicked(row, ticked);
        refreshTotals();
    });
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

QTreeWidget* BookReturnWindow::returnList() const {
    return m_list;
}

void BookReturnWindow::focusItemField() {
    m_number->setFocus();
}

void BookReturnWindow::refreshList() {
    const QSignalBlocker block(m_list);
    m_list->clear();
    for (const ReturnLine& l : m_desk->lines())
        m_list->addLine({l.item.location, l.item.number, l.item.title, l.item.category,
                         l.item.price, l.item.publisher,
                         l.lentOn.toString(QStringLiteral("yyyy-MM-dd")),
                         l.due.toString(QStringLiteral("yyyy-MM-dd")),
                         QString::number(l.fee.daysLent), l.fee.rent.toString(),
                         l.fee.overdueText(), l.fee.fine.toString(), QString::number(l.item.id)},
                        l.ticked);
    refreshTotals();
}

void BookReturnWindow::refreshTotals() {
    const ReturnTotals t = m_desk->totals();
    m_fines->setText(t.fines.toString());
    m_rents->setText(t.rents.toString());
    m_total->setText(t.total().toString());
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
    const std::optional<Outcome> found =
        attempt([this] { return m_desk->identifyReader(m_reader->number()); });
    if (!found)
        return;
    showDeskReader();
    refreshList();
    if (!found->ok) {
        showOutcome(*found);
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
    const std::optional<Outcome> done = attempt([this] { return m_desk->commit(); });
    if (!done)
        return;
    if (!done->ok) {
        showOutcome(*done);
        return;
    }
    showSuccess(this, done->message);
    clearWindow();
}

void BookReturnWindow::clearWindow() {
    m_desk->clear();
    resetReaderArea();
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
