#include "BookLendWindow.h"

#include "DeskList.h"
#include "HeldLoansWindow.h"
#include "ReaderPanel.h"
#include "widgets/Messages.h"
#include "widgets/PickList.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

namespace cangshu {

namespace {
const QString isbnFocus = QStringLiteral("isbn");
const QString titleFocus = QStringLiteral("title");
constexpr int idColumn = 6;
} // namespace

BookLendWindow::BookLendWindow(Database& db, DeskSettings settings, QWidget* parent)
    : ReaderDeskWindow(QStringLiteral("书籍借阅"), db,
                       new ReaderPanel(db, ReaderPanel::NameEntry::Choice), parent),
      m_number(new QLineEdit), m_isbn(new QLineEdit), m_title(new QLineEdit) {
    m_maxItems = m_reader->addField(QStringLiteral("可借数量"));
    m_loanDays = m_reader->addField(QStringLiteral("可借天数"));
    m_renewals = m_reader->addField(QStringLiteral("允许续借"), QStringLiteral("次"));
    m_onLoan = m_reader->addField(QStringLiteral("已借数量"));
    QToolButton* held = m_reader->addButton(QStringLiteral("已借信息"));
    body()->addWidget(m_reader);

    auto* books = new QGroupBox(QStringLiteral("书籍信息"), this);
    auto* grid = new QGridLayout(books);
    auto* pick = new QToolButton(books);
    pick->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    pick->setToolTip(QStringLiteral("选择书籍"));
    pick->setFocusPolicy(Qt::NoFocus);
    m_number->setObjectName(QStringLiteral("bookNumber"));
    m_isbn->setObjectName(QStringLiteral("isbn"));
    m_title->setObjectName(QStringLiteral("title"));
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(m_number, 1);
    numberRow->addWidget(pick);
    grid->addWidget(new QLabel(QStringLiteral("书籍编号【F3】"), books), 0, 0);
    grid->addLayout(numberRow, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("标准ISBN"), books), 0, 2);
    grid->addWidget(m_isbn, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("书籍名称"), books), 0, 4);
    grid->addWidget(m_title, 0, 5);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 2);
    body()->addWidget(books);

    m_list = new DeskList({QStringLiteral("书籍编号"), QStringLiteral("书籍名称"),
                           QStringLiteral("书籍类型"), QStringLiteral("书籍价格"),
                           QStringLiteral("出版社"), QStringLiteral("应还日期"),
                           QStringLiteral("ID"), QStringLiteral("密级")},
                          idColumn, {110, 260, 110, 70, 160, 90});
    body()->addWidget(m_list, 1);

    addCommand(QStringLiteral("借阅【F5】"), [this] { lend(); });
    addCommand(QStringLiteral("删除【F6】"), [this] { removeSelected(); });
    addCommand(QStringLiteral("清空【F7】"), [this] { clearWindow(); });
    addCommand(QStringLiteral("关闭ESC"), [this] { close(); });
    addTool(QStyle::SP_DialogApplyButton, QStringLiteral("借阅"), [this] { lend(); });
    addTool(QStyle::SP_TrashIcon, QStringLiteral("删除"), [this] { removeSelected(); });
    addTool(QStyle::SP_DialogResetButton, QStringLiteral("清空"), [this] { clearWindow(); });
    addTool(QStyle::SP_DialogCloseButton, QStringLiteral("关闭"), [this] { close(); });

    setTabOrder(m_reader->numberField(), m_number);
    setTabOrder(m_number, m_isbn);
    setTabOrder(m_isbn, m_title);

    connect(m_reader, &ReaderPanel::lookupRequested, this, &BookLendWindow::lookupReader);
    connect(held, &QToolButton::clicked, this, &BookLendWindow::showHeldLoans);
    connect(m_number, &QLineEdit::returnPressed, this, [this] { addBook(ItemSearch::ByNumber); });
    connect(m_isbn, &QLineEdit::returnPressed, this, [this] { addBook(ItemSearch::ByIsbn); });
    connect(m_title, &QLineEdit::returnPressed, this, [this] { addBook(ItemSearch::ByTitle); });
    connect(m_reader->nameChoice()->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { m_reader->chooseName(m_reader->nameChoice()->currentText()); });
    connect(pick, &QToolButton::clicked, this, [this] {
        if (const std::optional<QString> chosen = PickList::pick(m_db, bookPickList(), m_number)) {
            m_number->setText(*chosen);
            addBook(ItemSearch::ByNumber);
        }
    });
    setSettings(std::move(settings));
    resize(1000, 640);
}

BookLendWindow::~BookLendWindow() = default;

void BookLendWindow::setSettings(DeskSettings settings) {
    setOperatorName(settings.operatorName);
    m_desk = std::make_unique<LendingDesk>(m_db, ItemKind::books(), std::move(settings));
    clearWindow();
}

QTreeWidget* BookLendWindow::pendingList() const {
    return m_list;
}

void BookLendWindow::prepareToShow() {
    m_reader->reloadNames();
}

QLineEdit* BookLendWindow::fieldFor(ItemSearch by) const {
    return by == ItemSearch::ByNumber ? m_number : by == ItemSearch::ByIsbn ? m_isbn : m_title;
}

void BookLendWindow::focusNamed(const QString& name, bool selectText) {
    QLineEdit* target = name == focus::reader ? m_reader->numberField()
                        : name == isbnFocus   ? m_isbn
                        : name == titleFocus  ? m_title
                        : name == focus::item ? m_number
                                              : nullptr;
    if (!target)
        return;
    target->setFocus();
    if (selectText)
        target->selectAll();
}

void BookLendWindow::focusReaderField() {
    focusNamed(focus::reader, false);
}

void BookLendWindow::focusItemField() {
    focusNamed(focus::item, false);
}

void BookLendWindow::refreshList() {
    m_list->clear();
    for (const PendingLoan& p : m_desk->pending())
        m_list->addLine({p.item.number, p.item.title, p.item.category, p.item.price,
                         p.item.publisher, p.due.toString(QStringLiteral("yyyy-MM-dd")),
                         QString::number(p.item.id), p.item.secrecy});
}

void BookLendWindow::showRefusal(const Outcome& outcome, QLineEdit* used) {
    if (!outcome.message.isEmpty())
        showNotice(this, outcome.message);
    if (used && outcome.message == ItemKind::books().messages.limitReached) {
        used->clear();
        used->setFocus();
        return;
    }
    focusNamed(outcome.focus, true);
}

void BookLendWindow::lookupReader() {
    const std::optional<Outcome> found =
        attempt([this] { return m_desk->identifyReader(m_reader->number()); });
    if (!found)
        return;
    // A new or refused reader starts with an empty pending list.
    refreshList();
    if (!found->ok) {
        m_reader->clearReader();
        showRefusal(*found, nullptr);
        return;
    }
    const Reader& r = *m_desk->reader();
    m_reader->showReader(r);
    const LoanRules& rules = m_desk->rules();
    m_maxItems->setText(QString::number(rules.maxItems));
    m_loanDays->setText(QString::number(rules.loanDays));
    m_renewals->setText(QString::number(rules.renewals));
    m_onLoan->setText(QString::number(m_desk->onLoan()));
    focusNamed(focus::item, false);
}

void BookLendWindow::afterAdd(const Outcome& outcome, ItemSearch by) {
    if (!outcome.ok) {
        showRefusal(outcome, fieldFor(by));
        return;
    }
    refreshList();
    QLineEdit* field = fieldFor(by);
    if (by == ItemSearch::ByNumber)
        field->clear();
    else
        field->selectAll();
    field->setFocus();
}

void BookLendWindow::addBook(ItemSearch by) {
    try {
        const LendingDesk::AddResult r = m_desk->addItem(by, fieldFor(by)->text());
        if (r.candidates.isEmpty()) {
            afterAdd(r.outcome, by);
            return;
        }
        QList<qint64> ids;
        for (const ItemRow& item : r.candidates)
            ids << item.id;
        const std::optional<qint64> chosen = ItemChooser::pick(m_db, ItemKind::books().itemTable,
                                                               bookChooserColumns(), ids, m_number);
        if (!chosen)
            return;
        afterAdd(m_desk->addChosen(*chosen), by);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
}

void BookLendWindow::lend() {
    const std::optional<Outcome> done = attempt([this] { return m_desk->commit(); });
    if (!done)
        return;
    const Outcome& outcome = *done;
    if (!outcome.ok) {
        if (!m_desk->reader()) {
            // The reader failed the checks again at the commit.
            m_reader->clearReader();
            refreshList();
        }
        showRefusal(outcome, nullptr);
        return;
    }
    showSuccess(this, outcome.message);
    clearWindow();
}

void BookLendWindow::removeSelected() {
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid() || m_list->selectedItems().isEmpty())
        return;
    m_desk->removePending(current.row());
    refreshList();
}

void BookLendWindow::clearWindow() {
    m_desk->clear();
    resetReaderArea();
    m_number->clear();
    m_isbn->clear();
    m_title->clear();
    refreshList();
    m_reader->numberField()->setFocus();
}

void BookLendWindow::showHeldLoans() {
    const QString number = m_reader->number();
    if (number.isEmpty()) {
        showNotice(this, QStringLiteral("请先输入读者编号！"));
        m_reader->numberField()->setFocus();
        return;
    }
    HeldLoansWindow window(m_db, number, this);
    window.exec();
}

} // namespace cangshu
