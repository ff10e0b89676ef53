#include "BackgroundView.h"

#include "Artwork.h"

#include <QPainter>

namespace cangshu {

void BackgroundView::setPicture(const QPixmap& picture) {
    m_picture = picture;
    update();
}

void BackgroundView::setCaption(const QString& caption) {
    m_caption = caption;
    update();
}

void BackgroundView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_picture.isNull())
        p.drawPixmap(0, 0, defaultBackground(size(), m_caption));
    else
        p.drawPixmap(rect(), m_picture);
}

} // namespace cangshu
