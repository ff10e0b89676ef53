#include "CatalogueLookups.h"

#include "core/TextRoutines.h"

#include <QSqlField>

namespace cangshu {

namespace {

const QString kBooks = QStringLiteral("书籍资料");

QStringList defaultKindColumns() {
    return {QStringLiteral("书籍名称"), QStringLiteral("出版社名"), QStringLiteral("作者信息"),
            QStringLiteral("标准ISBN")};
}

} // namespace

QStringList kindColumns(const Database& db, const QString& kindCondition) {
    const QStringList real = db.columns(kBooks);
    QStringList out;
    for (const QString& piece : splitAt(kindCondition, u',')) {
        const QString name = piece.trimmed();
        if (name.isEmpty())
            continue;
        const auto found = std::find_if(real.cbegin(), real.cend(), [&](const QString& c) {
            return c.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (found == real.cend())
            return defaultKindColumns();
        out << *found;
    }
    return out.isEmpty() ? defaultKindColumns() : out;
}

QString storedKindCondition(const Database& db) {
    if (!db.hasColumn(QStringLiteral("参数设置"), QStringLiteral("种类条件")))
        return defaultKindColumns().join(u',');
    const QString stored =
        db.scalar(QStringLiteral("select [种类条件] from [参数设置]")).toString();
    return stored.trimmed().isEmpty() ? defaultKindColumns().join(u',') : stored;
}

QString nextSequenceNumber(const Database& db, const QString& classNumber,
                           const QString& kindCondition) {
    QStringList grouped;
    for (const QString& c : kindColumns(db, kindCondition))
        grouped << u'[' + c + u']';
    const qint64 titles =
        db.scalar(QStringLiteral("select count(*) from (select 1 as [k] from [书籍资料] where "
                                 "[中图分类]=? group by %1) [titles]")
                      .arg(grouped.join(u',')),
                  {classNumber}, 0)
            .toLongLong();
    return QString::number(titles + 1);
}

QString callNumber(const QString& classNumber, const QString& sequence) {
    return classNumber + u'/' + sequence;
}

std::optional<ClassMatch> lookupClass(const Database& db, const QString& classText,
                                      const QString& kindCondition) {
    ClassMatch m;
    if (auto r =
            db.row(QStringLiteral("select [分类号],[分类名称] from [图书类型] where [分类号]=?"),
                   {classText})) {
        m.number = r->value(0).toString();
        m.name = r->value(1).toString();
    } else if (auto z =
                   db.row(QStringLiteral("select [ztcode],[ztname] from [ztfl] where [ztcode]=?"),
                          {classText})) {
        m.number = z->value(0).toString();
        m.name = z->value(1).toString();
    } else {
        return std::nullopt;
    }
    m.sequence = nextSequenceNumber(db, classText, kindCondition);
    m.callNumber = callNumber(classText, m.sequence);
    return m;
}

QString priceDigits(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c == u',' || c == u';')
            break;
        if ((c >= u'0' && c <= u'9') || c == u'.')
            out += c;
    }
    return out;
}

QVariantMap recordMap(const QSqlRecord& record) {
    QVariantMap out;
    for (int i = 0; i < record.count(); ++i) {
        QString name = record.fieldName(i);
        if (name.compare(QLatin1String("id"), Qt::CaseInsensitive) == 0)
            name = QStringLiteral("ID");
        out.insert(name, record.value(i));
    }
    return out;
}

QList<QVariantMap> recallCandidates(const Database& db, RecallBy by, const QString& value,
                                    const QString& table) {
    if (table != kBooks && table != QStringLiteral("书籍预编"))
        return {};
    const QString column =
        by == RecallBy::Isbn ? QStringLiteral("标准ISBN") : QStringLiteral("书籍名称");
    QList<QVariantMap> out;
    for (const QSqlRecord& r :
         db.rows(QStringLiteral("select * from [%1] where [%2]=? order by [ID]").arg(table, column),
                 {value}))
        out.append(recordMap(r));
    return out;
}

const QStringList& recalledColumns(RecallBy by) {
    static const QStringList tail{
        QStringLiteral("作者信息"), QStringLiteral("书籍价格"), QStringLiteral("中图分类"),
        QStringLiteral("分类名称"), QStringLiteral("出版社名"), QStringLiteral("出版地点"),
        QStringLiteral("出版日期"), QStringLiteral("书籍页码"), QStringLiteral("存放位置"),
        QStringLiteral("密级"),     QStringLiteral("当前本数"), QStringLiteral("书籍开本"),
        QStringLiteral("所属语种"), QStringLiteral("配送物品"), QStringLiteral("书籍版次"),
        QStringLiteral("所属丛书"), QStringLiteral("印刷版面"), QStringLiteral("备注信息"),
        QStringLiteral("内容简介"), QStringLiteral("图片"),     QStringLiteral("bookimage"),
        QStringLiteral("索书号"),   QStringLiteral("种次号")};
    static const QStringList byIsbn = QStringList{QStringLiteral("书籍名称")} + tail;
    static const QStringList byTitle = QStringList{QStringLiteral("标准ISBN")} + tail;
    return by == RecallBy::Isbn ? byIsbn : byTitle;
}

QString recallQuestion(RecallBy by) {
    return by == RecallBy::Isbn
               ? QStringLiteral("检测到系统中已经存在相同的ISBN,是否调出相应信息？")
               : QStringLiteral("检测到系统中已经存在相同名称的书籍,是否调出相应信息？");
}

void applyRecall(QVariantMap& edited, const QVariantMap& source, RecallBy by) {
    for (const QString& column : recalledColumns(by))
        if (source.contains(column))
            edited.insert(column, source.value(column));
}

} // namespace cangshu
