#include "Marking.h"

namespace cangshu {

namespace marking {
const QString kShowMarked = QStringLiteral("【只显示选中记录】");
const QString kMarkAll = QStringLiteral("【选中全部记录】");
const QString kUnmarkAll = QStringLiteral("【把选中记录变为不选中】");
const QString kNoneMarked = QStringLiteral("未选中记录！");
const QString kConfirmFirst = QStringLiteral("是否确定批量删除所选中的记录？");
const QString kConfirmSecond =
    QStringLiteral("请再次确认是否批量删除所选中的记录？删除后将不能恢复！");
QString confirmFirstCounted(int count) {
    return QStringLiteral("您已经选中【%1】记录！是否确定批量删除所选中的记录？").arg(count);
}
QString confirmSecondCounted(int count) {
    return QStringLiteral("您已经选中【%1】记录！请再次确认是否批量删除所选中的记录？").arg(count);
}
} // namespace marking

QString Marking::markedRowsSql(const QString& columnList) const {
    return QStringLiteral("select %1 from [%2] where [选中]=TRUE order by [%3]")
        .arg(columnList, table, numberColumn);
}

void Marking::markAll(const Database& db) const {
    db.execute(QStringLiteral("update [%1] set [选中]=TRUE").arg(table));
}

void Marking::unmarkAll(const Database& db) const {
    db.execute(QStringLiteral("update [%1] set [选中]=FALSE where [选中]=TRUE").arg(table));
}

int Marking::countMarked(const Database& db) const {
    return db
        .scalar(QStringLiteral("select count(*) from [%1] where [选中]=TRUE").arg(table), {}, 0)
        .toInt();
}

int Marking::deleteMarked(Database& db, const std::function<void(Database&)>& beforeDelete) const {
    Transaction tx(db);
    if (beforeDelete)
        beforeDelete(db);
    const int n = db.execute(QStringLiteral("delete from [%1] where [选中]=TRUE").arg(table));
    tx.commit();
    return n;
}

} // namespace cangshu
