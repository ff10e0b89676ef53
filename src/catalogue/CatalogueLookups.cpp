#include "CatalogueLookups.h"

#include "core/Schema.h"
#include "core/TextRoutines.h"

#include <QSqlField>

namespace cangshu {

namespace {

const QString kBooks = QStringLiteral("书籍资料");

// The rule of the 种次号: the titles already catalogued in the class, plus one.
QString sequenceAfter(qint64 titlesInClass) {
    return QString::number(titlesInClass + 1);
}

// One title's values as one text; a null apart from every text.
QString titleKey(const QSqlRecord& row) {
    QString k;
    for (int i = 0; i < row.count(); ++i)
        k += (row.isNull(i) ? QStringLiteral("\x01") : row.value(i).toString()) + u'\x1f';
    return k;
}

bool isTextColumn(const QString& table, const QString& column) {
    const TableDef* def = schemaTable(table);
    if (!def)
        return false;
    for (const ColumnDef& c : def->columns) {
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return c.type == ColumnType::Text || c.type == ColumnType::Memo;
    }
    return false;
}

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
    return sequenceAfter(titles);
}

SequenceNumbers::SequenceNumbers(const Database& db, const QString& kindCondition)
    : m_db(db), m_kinds(kindColumns(db, kindCondition)) {
    QStringList bracketed;
    for (const QString& k : std::as_const(m_kinds)) {
        bracketed << u'[' + k + u']';
        m_textKinds << isTextColumn(kBooks, k);
    }
    m_selectList = bracketed.join(u',');
}

QString SequenceNumbers::next(const QString& classNumber) {
    return sequenceAfter(titles(classNumber).size());
}

void SequenceNumbers::stored(const QString& classNumber, const QVariant& id,
                             const QStringList& columns, const QVariantList& values) {
    QString k;
    for (qsizetype n = 0; n < m_kinds.size(); ++n) {
        if (!m_textKinds[n]) {
            // A number or date is counted as the database keeps it.
            if (const auto row = m_db.row(
                    QStringLiteral("select %1 from [书籍资料] where [ID]=?").arg(m_selectList),
                    {id}))
                titles(classNumber).insert(titleKey(*row));
            return;
        }
        qsizetype at = -1;
        for (qsizetype i = 0; i < columns.size() && at < 0; ++i) {
            if (columns[i].compare(m_kinds[n], Qt::CaseInsensitive) == 0)
                at = i;
        }
        const QVariant v = at < 0 ? QVariant() : values[at];
        // A null text is bound as NULL.
        const bool null = v.isNull() || v.toString().isNull();
        k += (null ? QStringLiteral("\x01") : v.toString()) + u'\x1f';
    }
    titles(classNumber).insert(k);
}

QSet<QString>& SequenceNumbers::titles(const QString& classNumber) {
    auto it = m_titles.find(classNumber);
    if (it == m_titles.end()) {
        QSet<QString> keys;
        for (const QSqlRecord& row :
             m_db.rows(QStringLiteral("select distinct %1 from [书籍资料] where [中图分类]=?")
                           .arg(m_selectList),
                       {classNumber}))
            keys.insert(titleKey(row));
        it = m_titles.insert(classNumber, keys);
    }
    return *it;
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
