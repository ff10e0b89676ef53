#pragma once
#include "core/Database.h"

#include <QHash>
#include <QSet>
#include <QVariantMap>
#include <optional>

namespace cangshu {

// The columns that together tell one title (参数设置.种类条件, comma separated). Names that
// are not columns of 书籍资料, or an empty list, give the usual four columns instead, so an
// operator's typing never reaches the SQL text.
QStringList kindColumns(const Database& db, const QString& kindCondition);
// 种类条件 as stored, or the usual list when the column or row is missing.
QString storedKindCondition(const Database& db);

// The 种次号 of a new title in the class: the titles already catalogued there, plus one.
QString nextSequenceNumber(const Database& db, const QString& classNumber,
                           const QString& kindCondition);
// "<class>/<种次号>".
QString callNumber(const QString& classNumber, const QString& sequence);

// The 种次号 of title after title, as an import stores them: each class's titles are read
// once and then kept up to date with the rows stored, which gives the numbers that
// nextSequenceNumber would give before each row without a count per row.
class SequenceNumbers {
public:
    SequenceNumbers(const Database& db, const QString& kindCondition);

    QString next(const QString& classNumber);
    // A row of the class was stored with these values of these columns: its title counts
    // from now on. Text values are taken as bound; other values are read back by ID.
    void stored(const QString& classNumber, const QVariant& id, const QStringList& columns,
                const QVariantList& values);

private:
    QSet<QString>& titles(const QString& classNumber);

    const Database& m_db;
    QStringList m_kinds;
    QString m_selectList;
    QList<bool> m_textKinds;
    QHash<QString, QSet<QString>> m_titles;
};

// A class number completed from 图书类型, else from the reference table ztfl.
struct ClassMatch {
    QString number;
    QString name;
    QString sequence;
    QString callNumber;
};
std::optional<ClassMatch> lookupClass(const Database& db, const QString& classText,
                                      const QString& kindCondition);

// The price digits of a price text: digits and full stops up to the first comma or semicolon.
QString priceDigits(const QString& text);

// A book record as a map of the system's column names (ID with its capitals on both engines).
QVariantMap recordMap(const QSqlRecord& record);

// Recall of an existing record with the same ISBN or the same title.
enum class RecallBy { Isbn, Title };
// The records of the table (书籍资料, or 书籍预编) holding exactly that value.
QList<QVariantMap> recallCandidates(const Database& db, RecallBy by, const QString& value,
                                    const QString& table = QStringLiteral("书籍资料"));
// The columns a recall copies into the edited record, in order.
const QStringList& recalledColumns(RecallBy by);
// The question asked before a recall.
QString recallQuestion(RecallBy by);
// Copies the recalled columns that the source has; the edited record keeps the rest.
void applyRecall(QVariantMap& edited, const QVariantMap& source, RecallBy by);

} // namespace cangshu
