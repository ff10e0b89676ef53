#include "DepositJournalWindow.h"

#include "DepositWindow.h"
#include "circulation/DeskLookups.h"
#include "widgets/FieldConditionWindow.h"
#include "widgets/Messages.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace cangshu {

namespace {

ListWindowSpec journalSpec() {
    ListWindowSpec s;
    s.title = QStringLiteral("读者充押金");
    s.table = QStringLiteral("读者充押金");
    s.keyColumn = QStringLiteral("序号");
    s.orderBy = QStringLiteral("[充值日期] desc");
    auto c = [](const QString& field, int width, FooterKind footer = FooterKind::None,
                ColumnLook look = ColumnLook::Plain) {
        return GridColumn{field, field, width, footer, true, look};
    };
    s.columns = {c(QStringLiteral("读者编号"), 100, FooterKind::Label),
                 c(QStringLiteral("读者姓名"), 100, FooterKind::Count),
                 c(QStringLiteral("读者类型"), 90),
                 c(QStringLiteral("充押金额"), 110, FooterKind::Sum, ColumnLook::Money),
                 c(QStringLiteral("充值日期"), 100),
                 c(QStringLiteral("操作员"), 80),
                 c(QStringLiteral("备注"), 260)};
    s.reportTitle = QStringLiteral("读者充押金报表");
    s.allExportFormats = false;
    return s;
}

} // namespace

DepositJournalWindow::DepositJournalWindow(Database& db, const Home& home, QWidget* parent)
    : ListWindow(db, home, journalSpec(), ListMode::Query, parent) {
    searchBar()->hide();
    grid()->view()->setSelectionBehavior(QAbstractItemView::SelectRows);
    button(QStringLiteral("设置列选"))->setText(QStringLiteral("选择输出列"));
    button(QStringLiteral("退出"))->setText(QStringLiteral("退出操作"));

    // The field-based condition window, not the general builder.
    QPushButton* advanced = button(QStringLiteral("高级查询"));
    disconnect(advanced, &QPushButton::clicked, nullptr, nullptr);
    connect(advanced, &QPushButton::clicked, this, &DepositJournalWindow::fieldQuery);

    auto* pay = new QPushButton(QStringLiteral("充押金"), this);
    auto* remove = new QPushButton(QStringLiteral("删除记录"), this);
    pay->setObjectName(QStringLiteral("充押金"));
    remove->setObjectName(QStringLiteral("删除记录"));
    for (QPushButton* b : {remove, pay}) {
        b->setAutoDefault(false);
        commandRow()->insertWidget(0, b);
    }
    connect(pay, &QPushButton::clicked, this, &DepositJournalWindow::payIn);
    connect(remove, &QPushButton::clicked, this, &DepositJournalWindow::deleteCurrent);
}

void DepositJournalWindow::setManagement(bool management) {
    m_management = management;
    button(QStringLiteral("充押金"))->setVisible(management);
    button(QStringLiteral("删除记录"))->setVisible(management);
}

void DepositJournalWindow::payIn() {
    if (!m_management)
        return;
    if (!m_deposit)
        m_deposit = new DepositWindow(db(), this);
    m_deposit->setOperatorName(m_operator);
    m_deposit->exec();
    showAll();
}

bool DepositJournalWindow::deleteCurrent() {
    if (!m_management)
        return false;
    const QModelIndex current = grid()->view()->currentIndex();
    if (!current.isValid())
        return false;
    const qint64 key =
        grid()->model()->fieldValue(current.row(), QStringLiteral("序号")).toLongLong();
    if (!askYesNo(this, QStringLiteral("是否确定删除当前记录？"), QStringLiteral("提示")))
        return false;
    try {
        const Outcome o = deleteDepositEntry(db(), key);
        if (!o.ok)
            showNotice(this, o.message);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
        return false;
    }
    grid()->reload();
    return true;
}

void DepositJournalWindow::fieldQuery() {
    FieldConditionWindow find(QStringLiteral("读者充押金查询"),
                              {QStringLiteral("读者编号"), QStringLiteral("读者姓名"),
                               QStringLiteral("读者类型"), QStringLiteral("操作员"),
                               QStringLiteral("备注")},
                              {QStringLiteral("充押金额")}, {QStringLiteral("充值日期")},
                              db().today(), db().dialect().likeOperator(), this);
    if (find.exec() != QDialog::Accepted || !find.isConfirmed())
        return;
    listWhere(find.condition());
}

} // namespace cangshu
