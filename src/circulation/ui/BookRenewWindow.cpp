#include "BookRenewWindow.h"

#include "DeskList.h"
#include "ReaderPanel.h"
#include "widgets/Messages.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace cangshu {

namespace {
constexpr int idColumn = 6;
}

BookRenewWindow::BookRenewWindow(Database& db, DeskSettings settings, QWidget* parent)
    : ReaderDeskWindow(QStringLiteral("书籍续借"), db,
                       new ReaderPanel(db, ReaderPanel::NameEntry::Display), parent) {
    m_maxItems = m_reader->addField(QStringLiteral("可借数量"));
    m_loanDays = m_reader->addField(QStringLiteral("可借天数"));
    m_renewals = m_reader->addField(QStringLiteral("允许续借"), QStringLiteral("次"));
    m_renewalDays = m_reader->addField(QStringLiteral("允许续借"), QStringLiteral("天"));
    m_onLoan = m_reader->addField(QStringLiteral("已借数量"));
    body()->addWidget(m_reader);

    m_list = new DeskList({QStringLiteral("书籍编号"), QStringLiteral("书籍名称"),
                           QStringLiteral("书籍类型"), QStringLiteral("书籍价格"),
                           QStringLiteral("出版社"), QStringLiteral("应还日期"),
                           QStringLiteral("ID"), QStringLiteral("借阅日期"),
                           QStringLiteral("允许续借"), QStringLiteral("已经续借")},
                          idColumn, {110, 240, 100, 70, 150, 90});
    body()->addWidget(m_list, 1);

    addTickingCommands(
        QStringLiteral("续借【F5】"), QStringLiteral("续借"), [this] { renewTicked(); },
        [this](bool ticked) { tickAll(ticked); });

    connect(m_reader, &ReaderPanel::lookupRequested, this, &BookRenewWindow::lookupReader);
    connect(m_list, &DeskList::tickChanged, this,
            [this](int row, bool ticked) { m_desk->setTicked(row, ticked); });
    setSettings(std::move(settings));
    resize(1000, 600);
}

BookRenewWindow::~BookRenewWindow() = default;

void BookRenewWindow::setSettings(DeskSettings settings) {
    setOperatorName(settings.operatorName);
    m_desk = std::make_unique<RenewalDesk>(m_db, ItemKind::books(), std::move(settings));
    clearWindow();
}

QTreeWidget* BookRenewWindow::renewalList() const {
    return m_list;
}

void BookRenewWindow::refreshList() {
    const QSignalBlocker block(m_list);
    m_list->clear();
    for (const RenewalLine& l : m_desk->lines())
        m_list->addLine({l.item.number, l.item.title, l.item.category, l.item.price,
                         l.item.publisher, l.due.toString(QStringLiteral("yyyy-MM-dd")),
                         QString::number(l.item.id),
                         l.lentOn.toString(QStringLiteral("yyyy-MM-dd")),
                         QString::number(l.granted), QString::number(l.taken)},
                        l.ticked);
}

void BookRenewWindow::tickAll(bool ticked) {
    m_desk->tickAll(ticked);
    refreshList();
}

void BookRenewWindow::lookupReader() {
    const std::optional<Outcome> found =
        attempt([this] { return m_desk->identifyReader(m_reader->number()); });
    if (!found)
        return;
    const Outcome& outcome = *found;
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
    const std::optional<Outcome> done = attempt([this] { return m_desk->commit(); });
    if (!done)
        return;
    const Outcome& outcome = *done;
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
    resetReaderArea();
    refreshList();
    m_reader->numberField()->setFocus();
}

} // namespace cangshu
