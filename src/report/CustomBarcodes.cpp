#include "CustomBarcodes.h"

#include "PrintJob.h"

namespace cangshu::report {

namespace {

BarcodeOutcome refused(const QString& message, const char* focus) {
    BarcodeOutcome o;
    o.message = message;
    o.focus = QString::fromLatin1(focus);
    return o;
}

// A whole number the field may hold. Negative numbers are refused as well: a negative
// width or start would print barcodes such as "A00-5", a count below one prints nothing.
std::optional<qint64> wholeNumber(const QString& text, qint64 minimum) {
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value < minimum)
        return std::nullopt;
    return value;
}

constexpr qint64 kMostBarcodes = 1000000; // one series; more is a typing mistake

} // namespace

BarcodeOutcome checkSeries(const BarcodeSeries& s) {
    if (s.width.trimmed().isEmpty())
        return refused(QStringLiteral("请输入条码宽度！"), kFocusWidth);
    if (!wholeNumber(s.width, 0) || *wholeNumber(s.width, 0) > 100)
        return refused(QStringLiteral("条码宽度输入错误！"), kFocusWidth);
    if (s.start.trimmed().isEmpty())
        return refused(QStringLiteral("请输入条码起始数值！"), kFocusStart);
    if (!wholeNumber(s.start, 0))
        return refused(QStringLiteral("起始数值输入错误！"), kFocusStart);
    if (s.count.trimmed().isEmpty())
        return refused(QStringLiteral("请输入条码产生数量！"), kFocusCount);
    const auto count = wholeNumber(s.count, 1);
    if (!count || *count > kMostBarcodes)
        return refused(QStringLiteral("条码产生数量输入错误！"), kFocusCount);
    BarcodeOutcome ok;
    ok.ok = true;
    return ok;
}

QStringList barcodeTexts(const QString& prefix, const QString& suffix, int width, qint64 start,
                         int count) {
    QStringList texts;
    texts.reserve(count);
    for (int i = 0; i < count; ++i) {
        QString number = QString::number(start + i);
        const qsizetype missing = width - (prefix.size() + number.size() + suffix.size());
        if (missing > 0)
            number.prepend(QString(missing, u'0'));
        texts.append(prefix + number + suffix);
    }
    return texts;
}

BarcodeOutcome generateBarcodes(Database& db, const BarcodeSeries& s, bool appendConfirmed) {
    BarcodeOutcome outcome = checkSeries(s);
    if (!outcome.ok)
        return outcome;
    if (!appendConfirmed &&
        db.scalar(QStringLiteral("select count(*) from [barcode]"), {}, 0).toInt() > 0) {
        outcome.ok = false;
        outcome.needsConfirmation = true;
        outcome.message = QStringLiteral("数据库中有数据，是否继续产生条形码？");
        return outcome;
    }
    const QStringList texts =
        barcodeTexts(s.prefix, s.suffix, s.width.trimmed().toInt(), s.start.trimmed().toLongLong(),
                     s.count.trimmed().toInt());
    Transaction tx(db);
    const QString insert =
        QStringLiteral("insert into [barcode] ([条形码],[上方标题],[下方描述]) values (?,?,?)");
    for (const QString& text : texts)
        db.execute(insert, {text, s.top, s.bottom});
    tx.commit();
    outcome.generated = int(texts.size());
    return outcome;
}

QString clearBarcodes(Database& db) {
    db.execute(QStringLiteral("delete from [barcode]"));
    return QStringLiteral("数据清空完毕！");
}

QList<QVariantMap> barcodeRows(const Database& db) {
    QSqlQuery query = db.run(
        QStringLiteral("select [条形码],[上方标题],[下方描述] from [barcode] order by [条形码]"));
    return rowsOf(query);
}

} // namespace cangshu::report
