#pragma once
#include "ReportTemplate.h"

#include <QRectF>
#include <QString>
#include <QVector>

class QPainter;

namespace cangshu::report {

// One linear barcode as encoded by libzint: the modules (true = bar) and the human-readable
// text (with the check digit where the symbology adds one).
struct EncodedBarcode {
    QVector<bool> modules;
    QString humanText;
    QString error; // libzint's own message when the data cannot be encoded

    bool ok() const { return error.isEmpty(); }
};

EncodedBarcode encodeBarcode(Symbology symbology, const QString& data);

// Quiet zone on each side, in modules, that the symbology needs for a scanner.
int quietZoneModules(Symbology symbology);

// Draws the bars (and, when wanted, the text under them) inside the rectangle, which is in
// device units. Bars are snapped to whole device pixels when that keeps them at least one
// pixel wide, so that raster output stays sharp.
void paintBarcode(QPainter& painter, const QRectF& rect, const EncodedBarcode& code,
                  Symbology symbology, bool showText, const QFont& textFont);

} // namespace cangshu::report
