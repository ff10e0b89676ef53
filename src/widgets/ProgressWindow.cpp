#include "ProgressWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace cangshu {

ProgressWindow::ProgressWindow(QWidget* parent, Kind kind)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      m_label(new QLabel(this)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* icon = new QLabel(this);
    icon->setPixmap(style()
                        ->standardIcon(kind == Kind::Progress ? QStyle::SP_FileDialogInfoView
                                                              : QStyle::SP_FileDialogContentsView)
                        .pixmap(32, 32));
    QPalette blue = m_label->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    m_label->setPalette(blue);
    m_label->setWordWrap(true);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(m_label, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 4);
    layout->addLayout(top, 1);
    if (kind == Kind::Progress) {
        m_label->setText(QStringLiteral("系统正在执行操作,请稍后......"));
        m_bar = new QProgressBar(this);
        m_bar->setObjectName(QStringLiteral("pb"));
        m_bar->setRange(0, 100);
        m_bar->setValue(0);
        m_bar->setTextVisible(false);
        m_bar->setFixedHeight(12);
        layout->addWidget(m_bar);
    } else {
        QFont bold = m_label->font();
        bold.setBold(true);
        m_label->setFont(bold);
        m_label->setText(QStringLiteral("系统正在搜索封面图片,请稍后......"));
    }
    setFixedSize(380, 110);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_sinceEvents.start();
}

void ProgressWindow::paintEvent(QPaintEvent*) {
    // Our own plain background picture: a soft blue gradient with a border.
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(245, 250, 255));
    g.setColorAt(1, QColor(214, 230, 248));
    p.fillRect(rect(), g);
    p.setPen(QColor(120, 150, 190));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ProgressWindow::mousePressEvent(QMouseEvent*) {
    hide();
}

QString ProgressWindow::label() const {
    return m_label->text();
}

void ProgressWindow::breathe(bool force) {
    // Painting every row would cost more than the work; a turn every 50 ms keeps it alive.
    if (!force && m_sinceEvents.elapsed() < 50)
        return;
    m_sinceEvents.restart();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressWindow::setLabel(const QString& text) {
    m_label->setText(text);
    breathe(false);
}

void ProgressWindow::setRange(int maximum) {
    if (m_bar)
        m_bar->setRange(0, qMax(0, maximum));
    breathe(true);
}

void ProgressWindow::setValue(int value) {
    if (m_bar)
        m_bar->setValue(qMin(value, m_bar->maximum()));
    breathe(false);
}

void ProgressWindow::start(const QString& text) {
    if (!text.isEmpty())
        m_label->setText(text);
    show();
    raise();
    breathe(true);
}

void ProgressWindow::finish() {
    if (m_bar)
        m_bar->setRange(0, 100);
    hide();
}

} // namespace cangshu
