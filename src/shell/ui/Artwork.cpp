#include "Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace cangshu {

namespace {

QFont cjkFont(int pixelSize, bool bold = false) {
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// An open book seen from the front: two pages with a few lines of text.
void drawBook(QPainter& p, const QRectF& r, const QColor& cover, const QColor& page) {
    const qreal w = r.width() / 2;
    for (int side = 0; side < 2; ++side) {
        QPainterPath path;
        const qreal x0 = r.left() + side * w;
        const qreal dip = r.height() * 0.08;
        if (side == 0) {
            path.moveTo(x0, r.top() + dip);
            path.quadTo(x0 + w / 2, r.top() - dip / 2, x0 + w, r.top() + dip);
            path.lineTo(x0 + w, r.bottom());
            path.quadTo(x0 + w / 2, r.bottom() - dip * 1.5, x0, r.bottom() - dip / 2);
        } else {
            path.moveTo(x0, r.top() + dip);
            path.quadTo(x0 + w / 2, r.top() - dip / 2, x0 + w, r.top() + dip);
            path.lineTo(x0 + w, r.bottom() - dip / 2);
            path.quadTo(x0 + w / 2, r.bottom() - dip * 1.5, x0, r.bottom());
        }
        path.closeSubpath();
        p.setPen(QPen(cover, 2));
        p.setBrush(page);
        p.drawPath(path);
        p.setPen(QPen(cover.lighter(140), 1.2));
        for (int i = 1; i <= 4; ++i) {
            const qreal y = r.top() + dip + i * (r.height() - 2 * dip) / 5.5;
            p.drawLine(QPointF(x0 + w * 0.15, y), QPointF(x0 + w * 0.85, y));
        }
    }
}

} // namespace

QIcon badgeIcon(const QString& glyph, const QColor& color, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, color.lighter(125));
    g.setColorAt(1, color.darker(115));
    p.setPen(QPen(color.darker(140), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1.5, 1.5, size - 3, size - 3), size * 0.22, size * 0.22);
    p.setPen(Qt::white);
    p.setFont(cjkFont(glyph.size() > 1 ? size * 0.38 : size * 0.55, true));
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, glyph);
    return QIcon(pm);
}

QPixmap loginBanner(const QSize& size, const QString& title) {
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, QColor(0x1d, 0x4f, 0x8c));
    g.setColorAt(1, QColor(0x2f, 0x8d, 0xb5));
    p.fillRect(pm.rect(), g);
    // Soft shelves of book spines along the bottom.
    const int shelf = size.height() - 18;
    int x = 0;
    int i = 0;
    while (x < size.width()) {
        const int w = 10 + (i * 7) % 9;
        const int h = 26 + (i * 13) % 22;
        p.fillRect(QRect(x, shelf - h, w - 2, h), QColor(255, 255, 255, 28 + (i * 17) % 30));
        x += w;
        ++i;
    }
    p.fillRect(QRect(0, shelf, size.width(), 3), QColor(255, 255, 255, 70));
    const int bookH = size.height() * 0.42;
    drawBook(p, QRectF(28, size.height() * 0.16, bookH * 1.5, bookH), QColor(0xf3, 0xf7, 0xfb),
             QColor(255, 255, 255, 60));
    p.setPen(Qt::white);
    p.setFont(cjkFont(size.height() / 5, true));
    const int textLeft = 48 + bookH * 1.5;
    p.drawText(QRect(textLeft, 0, size.width() - textLeft - 10, size.height() * 0.62),
               Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setFont(cjkFont(size.height() / 11));
    p.setPen(QColor(255, 255, 255, 210));
    p.drawText(
        QRect(textLeft, size.height() * 0.5, size.width() - textLeft - 10, size.height() / 5),
        Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("藏书 · 编目 · 流通 · 查询"));
    return pm;
}

QPixmap defaultBackground(const QSize& size, const QString& libraryName) {
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, QColor(0xf4, 0xf8, 0xfc));
    g.setColorAt(1, QColor(0xd9, 0xe6, 0xf2));
    p.fillRect(pm.rect(), g);
    QRadialGradient glow(size.width() * 0.5, size.height() * 0.42, size.width() * 0.45);
    glow.setColorAt(0, QColor(255, 255, 255, 180));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(pm.rect(), glow);
    const qreal bookW = qMin(size.width() * 0.28, size.height() * 0.5);
    drawBook(p, QRectF((size.width() - bookW) / 2, size.height() * 0.22, bookW, bookW / 1.5),
             QColor(0x7d, 0x9c, 0xbf), QColor(255, 255, 255, 200));
    p.setPen(QColor(0x45, 0x63, 0x86));
    p.setFont(cjkFont(qMax(18, size.height() / 18), true));
    p.drawText(QRect(0, size.height() * 0.22 + bookW / 1.5 + 16, size.width(), size.height() / 10),
               Qt::AlignHCenter | Qt::AlignTop, libraryName);
    return pm;
}

} // namespace cangshu
