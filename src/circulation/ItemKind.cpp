#include "ItemKind.h"

namespace cangshu {

const ItemKind& ItemKind::books() {
    static const ItemKind kind = [] {
        ItemKind k;
        k.itemTable = QStringLiteral("书籍资料");
        k.numberColumn = QStringLiteral("书籍编号");
        k.titleColumn = QStringLiteral("书籍名称");
        k.volumeColumn = QStringLiteral("当前本数");
        k.isbnColumn = QStringLiteral("标准ISBN");
        k.categoryColumn = QStringLiteral("分类名称");
        k.priceColumn = QStringLiteral("书籍价格");
        k.publisherColumn = QStringLiteral("出版社名");
        k.locationColumn = QStringLiteral("存放位置");
        k.secrecyColumn = QStringLiteral("密级");
        k.statusColumn = QStringLiteral("在馆状态");
        k.stockColumn = QStringLiteral("馆内剩余");
        k.lendCountColumn = QStringLiteral("借出次数");
        k.loanTable = QStringLiteral("书籍借阅清单");
        k.historyTable = QStringLiteral("书籍归还清单");
        k.indexColumn = QStringLiteral("书籍索引");
        k.reservationTable = QStringLiteral("读者预定");
        k.rules = RuleSet::Books;
        ItemKind::Messages& m = k.messages;
        m.limitReached = QStringLiteral("借阅数量已经到达可借数量！");
        m.notFoundByNumber = QStringLiteral("没有找到该书籍编号！");
        m.notFound = QStringLiteral("没有找到该书籍！");
        m.reservedBy = QStringLiteral("此书已经被%1号读者预定！");
        m.notOnShelf = QStringLiteral("此书不在馆内或者不允许借出！");
        m.noStock = QStringLiteral("此书馆内剩余不足！");
        m.alreadyPending = QStringLiteral("此书已经在借阅列表中！");
        m.nothingPending = QStringLiteral("请输入书籍信息！");
        m.lent = QStringLiteral("书籍借阅成功！");
        m.noOpenLoans = QStringLiteral("该读者还未借阅书籍！");
        m.notOnLoan = QStringLiteral("此书还没有借出！");
        m.returnNoReader = QStringLiteral("请先输入读者编号或书籍编号！");
        m.returnEmptyList = QStringLiteral("该读者没有借阅图书！");
        m.returnNoneTicked = QStringLiteral("请选中要归还的书籍！");
        m.alreadyListed = QStringLiteral("此书已经在归还列表中！");
        m.alreadyReturned = QStringLiteral("此书已经归还，请重新查询！");
        m.returned = QStringLiteral("书籍归还成功！");
        m.renewEmptyList = QStringLiteral("该读者没有续借图书信息！");
        m.renewNoneTicked = QStringLiteral("请选中要续借的书籍！达到续借次数的书籍将不能续借！");
        m.renewGone = QStringLiteral("此书已经归还或已经续借，请重新查询！");
        m.renewed = QStringLiteral("书籍续借成功！");
        return k;
    }();
    return kind;
}

DeskSettings loadDeskSettings(const Database& db, const QString& operatorName) {
    DeskSettings s;
    s.operatorName = operatorName;
    const auto row = db.row(QStringLiteral("select * from [参数设置] limit 1"));
    if (row) {
        s.oneToOne = row->value(QStringLiteral("一对一")).toInt() == 1;
        const QVariant mode = row->value(QStringLiteral("还书"));
        s.returnMode = mode.isNull() ? 1 : mode.toInt();
    }
    return s;
}

} // namespace cangshu
