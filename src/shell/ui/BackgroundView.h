#pragma once
#include <QPixmap>
#include <QWidget>

namespace cangshu {

// The main window's client area: the background picture stretched over it, or our own
// picture with the library's name when none is set.
class BackgroundView : public QWidget {
    Q_OBJECT
public:
    explicit BackgroundView(QWidget* parent = nullptr) : QWidget(parent) {}
    void setPicture(const QPixmap& picture);
    void setCaption(const QString& caption);
    bool hasPicture() const { return !m_picture.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    QString m_caption;
};

} // namespace cangshu
