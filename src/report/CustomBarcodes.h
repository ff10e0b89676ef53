#pragma once
#include "core/Database.h"

#include <QStringList>
#include <QVariantMap>

namespace cangshu::report {

// The custom barcode list (table `barcode`): numbered barcodes with a prefix and suffix,
// padded with zeros to a width, each with a caption above and a description below.

// The fields as the operator typed them.
struct BarcodeSeries {
    QString width;
    QString start;
    QString count;
    QString prefix;
    QString suffix;
    QString top;
    QString bottom;
};

// Focus names of the fields a message is about.
inline const char* kFocusWidth = "width";
inline const char* kFocusStart = "start";
inline const char* kFocusCount = "count";

struct BarcodeOutcome {
    bool ok = false;
    QString message;
    QString focus;
    // The table already holds rows: ask the operator (message) and call again confirmed.
    bool needsConfirmation = false;
    int generated = 0;
};

// Checks the fields in the window's order, with its messages.
BarcodeOutcome checkSeries(const BarcodeSeries& series);

// The barcode texts: prefix + number + suffix, the number padded with zeros until the
// whole is at least `width` characters long.
QStringList barcodeTexts(const QString& prefix, const QString& suffix, int width, qint64 start,
                         int count);

// Appends the series to `barcode` in one transaction. When the table already has rows
// and appendConfirmed is false, nothing is written and the outcome asks for confirmation.
BarcodeOutcome generateBarcodes(Database& db, const BarcodeSeries& series, bool appendConfirmed);

// Empties the list; returns "数据清空完毕！".
QString clearBarcodes(Database& db);

// The list in the window's order (by barcode text).
QList<QVariantMap> barcodeRows(const Database& db);

} // namespace cangshu::report
