#include "ReaderTypes.h"

namespace cangshu {

namespace {
const QString nameColumn = QStringLiteral("类型名称");
}

const QStringList& readerTypeRuleColumns() {
    static const QStringList columns{QStringLiteral("书籍借出册数"), QStringLiteral("书籍借出天数"),
                                     QStringLiteral("书籍续借次数"), QStringLiteral("书籍续借天数"),
                                     QStringLiteral("书籍每日租金"), QStringLiteral("书籍超期罚款"),
                                     QStringLiteral("杂志借出册数"), QStringLiteral("杂志借出天数"),
                                     QStringLiteral("期刊续借次数"), QStringLiteral("期刊续借天数"),
                                     QStringLiteral("期刊每日租金"), QStringLiteral("期刊超期罚款"),
                                     QStringLiteral("无限制")};
    return columns;
}

QVariantMap newReaderTypeValues() {
    QVariantMap v;
    for (const QString& c : readerTypeRuleColumns())
        v.insert(c, 0);
    v.insert(QStringLiteral("无限制"), QStringLiteral("否"));
    return v;
}

Outcome saveReaderType(Database& db, const QString& originalName, const QVariantMap& values) {
    const QString name = values.value(nameColumn).toString().trimmed();
    if (name.isEmpty())
        return Outcome::refused(QStringLiteral("请输入读者类型名称！"), nameColumn);

    QStringList columns{nameColumn};
    QVariantList params{name};
    for (const QString& c : readerTypeRuleColumns()) {
        if (!values.contains(c))
            continue;
        columns << c;
        params << values.value(c);
    }

    Transaction tx(db);
    const int sameName =
        db.scalar(QStringLiteral("select count(*) from [读者类型] where [类型名称]=?"), {name}, 0)
            .toInt();
    if (sameName > 0 && name != originalName)
        return Outcome::refused(QStringLiteral("读者类型名称已经存在！"), nameColumn);

    if (originalName.isEmpty()) {
        QStringList marks;
        for (int i = 0; i < columns.size(); ++i)
            marks << QStringLiteral("?");
        db.execute(QStringLiteral("insert into [读者类型] ([%1]) values (%2)")
                       .arg(columns.join(QStringLiteral("], [")), marks.join(QStringLiteral(", "))),
                   params);
    } else {
        QStringList sets;
        for (const QString& c : std::as_const(columns))
            sets << QStringLiteral("[%1]=?").arg(c);
        params << originalName;
        if (db.execute(QStringLiteral("update [读者类型] set %1 where [类型名称]=?")
                           .arg(sets.join(QStringLiteral(", "))),
                       params) == 0)
            return Outcome::refused(QStringLiteral("没有找到该读者类型！"));
        if (name != originalName)
            db.execute(QStringLiteral("update [读者资料] set [读者类型]=? where [读者类型]=?"),
                       {name, originalName});
    }
    tx.commit();
    return Outcome::done();
}

Outcome deleteReaderType(Database& db, const QString& name) {
    Transaction tx(db);
    const int users =
        db.scalar(QStringLiteral("select count(*) from [读者资料] where [读者类型]=?"), {name}, 0)
            .toInt();
    if (users > 0)
        return Outcome::refused(
            QStringLiteral("还有%1位读者属于此读者类型，不能删除！").arg(users));
    db.execute(QStringLiteral("delete from [读者类型] where [类型名称]=?"), {name});
    tx.commit();
    return Outcome::done();
}

} // namespace cangshu
