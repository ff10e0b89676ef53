#include "FinesListWindow.h"

#include "widgets/Messages.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace cangshu {

namespace {

const QString kTable = QStringLiteral("丢失罚款");

ListWindowSpec finesSpec() {
    ListWindowSpec s;
    s.title = QStringLiteral("丢失罚款管理");
    s.table = kTable;
    s.keyColumn = QStringLiteral("ID");
    s.columnList = QStringLiteral("[ID],[读者编号],[读者姓名],[读者性别],[读者类型],[罚款金额],"
                                  "[书籍名称],[罚款日期],[备注]");
    s.orderBy = QStringLiteral("[罚款日期] desc");
    s.columns = {{QStringLiteral("读者编号"), QStringLiteral("读者编号"), 100, FooterKind::Label},
                 {QStringLiteral("读者姓名"), QStringLiteral("读者姓名"), 90, FooterKind::Count},
                 {QStringLiteral("读者性别"), QStringLiteral("读者性别"), 70},
                 {QStringLiteral("读者类型"), QStringLiteral("读者类型"), 90},
                 {QStringLiteral("罚款金额"), QStringLiteral("罚款金额"), 90, FooterKind::Sum},
                 {QStringLiteral("书籍名称"), QStringLiteral("书籍名称"), 220},
                 {QStringLiteral("罚款日期"), QStringLiteral("罚款日期"), 100},
                 {QStringLiteral("备注"), QStringLiteral("备注"), 220}};
    s.reportTitle = QStringLiteral("丢失罚款报表");
    s.allExportFormats = false;
    return s;
}

} // namespace

FinesListWindow::FinesListWindow(Database& db, const Home& home, QWidget* parent)
    : ListWindow(db, home, finesSpec(), ListMode::Management, parent),
      m_number(new QLineEdit(this)), m_name(new QLineEdit(this)), m_from(new QDateEdit(this)),
      m_to(new QDateEdit(this)) {
    // This window has its own search bar: number, name and a period.
    searchBar()->hide();
    button(QStringLiteral("高级查询"))->hide();
    button(QStringLiteral("设置列选"))->hide();
    if (auto* quit = button(QStringLiteral("退出")))
        quit->setText(QStringLiteral("退出操作"));

    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("快速查询=>"), bar));
    auto searchField = [&](const QString& caption, QLineEdit* box, const QString& name,
                           const std::function<void()>& run) {
        row->addWidget(new QLabel(caption, bar));
        box->setObjectName(name);
        box->setMinimumWidth(120);
        row->addWidget(box);
        auto* go = new QPushButton(QStringLiteral("查询"), bar);
        go->setObjectName(name + QStringLiteral("查询"));
        go->setAutoDefault(false);
        row->addWidget(go);
        connect(box, &QLineEdit::returnPressed, this, run);
        connect(go, &QPushButton::clicked, this, run);
    };
    searchField(QStringLiteral("编号"), m_number, QStringLiteral("number"),
                [this] { searchNumber(); });
    searchField(QStringLiteral("读者姓名"), m_name, QStringLiteral("name"),
                [this] { searchName(); });
    row->addWidget(new QLabel(QStringLiteral("罚款时间："), bar));
    for (QDateEdit* d : {m_from, m_to}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    row->addWidget(m_from);
    row->addWidget(new QLabel(QStringLiteral("到"), bar));
    row->addWidget(m_to);
    auto* period = new QPushButton(QStringLiteral("查询"), bar);
    period->setObjectName(QStringLiteral("period查询"));
    period->setAutoDefault(false);
    row->addWidget(period);
    row->addStretch();
    connect(period, &QPushButton::clicked, this, &FinesListWindow::searchPeriod);
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, bar);

    auto* add = new QPushButton(QStringLiteral("添加(F3)"), this);
    add->setObjectName(QStringLiteral("添加(F3)"));
    auto* remove = new QPushButton(QStringLiteral("删除(F6)"), this);
    remove->setObjectName(QStringLiteral("删除(F6)"));
    for (QPushButton* b : {add, remove})
        b->setAutoDefault(false);
    commandRow()->insertWidget(0, add);
    commandRow()->insertWidget(1, remove);
    connect(add, &QPushButton::clicked, this, &FinesListWindow::addFine);
    connect(remove, &QPushButton::clicked, this, &FinesListWindow::deleteCurrent);
}

void FinesListWindow::showEvent(QShowEvent* event) {
    const bool first = !property("listed").toBool();
    ListWindow::showEvent(event);
    m_number->clear();
    m_name->clear();
    m_from->setDate(db().today());
    m_to->setDate(db().today());
    // The base lists everything at the first showing; later showings list afresh.
    if (!first)
        showAll();
    setProperty("listed", true);
    m_number->setFocus();
}

bool FinesListWindow::searchNumber() {
    return listWhere(QStringLiteral("[读者编号]=?"), {m_number->text()});
}

bool FinesListWindow::searchName() {
    return listWhere(QStringLiteral("[读者姓名] %1 ?").arg(db().dialect().likeOperator()),
                     {QLatin1Char('%') + m_name->text() + QLatin1Char('%')});
}

bool FinesListWindow::searchPeriod() {
    return listWhere(QStringLiteral("[罚款日期]>=? and [罚款日期]<=?"),
                     {m_from->date(), m_to->date()});
}

void FinesListWindow::addFine() {
    if (!m_openFine)
        return;
    m_openFine(this);
    showAll();
}

bool FinesListWindow::deleteCurrent() {
    const QModelIndex current = grid()->view()->currentIndex();
    if (!current.isValid())
        return false;
    const QVariant key = grid()->model()->fieldValue(current.row(), QStringLiteral("ID"));
    if (key.isNull() || !askYesNo(this, QStringLiteral("是否确定删除？")))
        return false;
    try {
        db().execute(QStringLiteral("delete from [丢失罚款] where [ID]=?"), {key});
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    return grid()->reload();
}

} // namespace cangshu
