#include "Barcode.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>
#include <zint.h>

namespace cangshu::report {

namespace {

int zintSymbology(Symbology s) {
    switch (s) {
    case Symbology::Code39:
        return BARCODE_CODE39;
    case Symbology::Ean13:
        return BARCODE_EANX;
    case Symbology::Code128:
        break;
    }
    return BARCODE_CODE128;
}

bool moduleIsSet(const zint_symbol* symbol, int row, int column) {
    return (symbol->encoded_data[row][column >> 3] >> (column & 7)) & 1;
}

} // namespace

int quietZoneModules(Symbology symbology) {
    return symbology == Symbology::Ean13 ? 11 : 10;
}

EncodedBarcode encodeBarcode(Symbology symbology, const QString& data) {
    EncodedBarcode result;
    if (data.isEmpty()) {
        result.error = QStringLiteral("条码内容为空");
        return result;
    }
    std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> symbol(ZBarcode_Create(), ZBarcode_Delete);
    if (!symbol) {
        result.error = QStringLiteral("条码库无法分配内存");
        return result;
    }
    symbol->symbology = zintSymbology(symbology);
    symbol->input_mode = UNICODE_MODE;
    const QByteArray utf8 = data.toUtf8();
    const int rc = ZBarcode_Encode(
        symbol.get(), reinterpret_cast<const unsigned char*>(utf8.constData()), int(utf8.size()));
    if (rc >= ZINT_ERROR) {
        result.error =
            QStringLiteral("条码“%1”无法编码：%2").arg(data, QString::fromUtf8(symbol->errtxt));
        return result;
    }
    // Linear symbols have one row of modules (EAN-13 add-ons aside, which we do not offer).
    const int row = symbol->rows - 1;
    result.modules.resize(symbol->width);
    for (int c = 0; c < symbol->width; ++c)
        result.modules[c] = moduleIsSet(symbol.get(), row, c);
    result.humanText = QString::fromUtf8(reinterpret_cast<const char*>(symbol->text));
    if (result.humanText.isEmpty())
        result.humanText = data;
    return result;
}

void paintBarcode(QPainter& painter, const QRectF& rect, const EncodedBarcode& code,
                  Symbology symbology, bool showText, const QFont& textFont) {
    if (!code.ok() || code.modules.isEmpty())
        return;
    double textHeight = 0;
    if (showText) {
        painter.setFont(textFont);
        textHeight = QFontMetricsF(textFont, painter.device()).height();
    }
    const double barHeight = std::max(rect.height() - textHeight, rect.height() * 0.4);
    const int total = int(code.modules.size()) + 2 * quietZoneModules(symbology);
    double module = rect.width() / total;
    if (module >= 1)
        module = std::floor(module);
    const double barsWidth = module * code.modules.size();
    const double left = rect.left() + (rect.width() - barsWidth) / 2;

    const QColor ink = painter.pen().color();
    for (qsizetype i = 0; i < code.modules.size();) {
        if (!code.modules[i]) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < code.modules.size() && code.modules[end])
            ++end;
        painter.fillRect(QRectF(left + i * module, rect.top(), (end - i) * module, barHeight), ink);
        i = end;
    }
    if (showText) {
        const QRectF textRect(rect.left(), rect.top() + barHeight, rect.width(),
                              rect.height() - barHeight);
        painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop, code.humanText);
    }
}

} // namespace cangshu::report
