#include "CirculationFrame.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace cangshu {

CirculationFrame::CirculationFrame(const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_toolBar(new QToolBar(this)),
      m_body(new QVBoxLayout), m_commands(new QHBoxLayout), m_status(new QHBoxLayout),
      m_operatorLabel(new QLabel(this)), m_clock(new QLabel(this)), m_timer(new QTimer(this)) {
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_toolBar);
    layout->addLayout(m_body, 1);
    m_commands->addStretch();
    layout->addLayout(m_commands);
    auto* statusFrame = new QWidget(this);
    statusFrame->setObjectName(QStringLiteral("statusLine"));
    auto* statusLayout = new QHBoxLayout(statusFrame);
    statusLayout->setContentsMargins(4, 2, 4, 2);
    statusLayout->addWidget(m_operatorLabel);
    statusLayout->addLayout(m_status);
    statusLayout->addStretch();
    statusLayout->addWidget(m_clock);
    layout->addWidget(statusFrame);

    m_clock->setObjectName(QStringLiteral("clock"));
    setOperatorName({});
    refreshClock();
    connect(m_timer, &QTimer::timeout, this, &CirculationFrame::refreshClock);
    m_timer->start(1000);
}

void CirculationFrame::setOperatorName(const QString& name) {
    m_operator = name;
    m_operatorLabel->setText(QStringLiteral("操作员：") + name);
}

void CirculationFrame::refreshClock() {
    m_clock->setText(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
}

QPushButton* CirculationFrame::addCommand(const QString& caption,
                                          const std::function<void()>& action) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(caption);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::TabFocus);
    m_commands->addWidget(b);
    connect(b, &QPushButton::clicked, this, [action] { action(); });
    return b;
}

QPushButton* CirculationFrame::command(const QString& caption) const {
    return findChild<QPushButton*>(caption);
}

void CirculationFrame::addTool(int standardPixmap, const QString& tip,
                               const std::function<void()>& action) {
    QAction* a = m_toolBar->addAction(
        style()->standardIcon(static_cast<QStyle::StandardPixmap>(standardPixmap)), tip);
    connect(a, &QAction::triggered, this, [action] { action(); });
}

void CirculationFrame::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_F2:
        focusReaderField();
        break;
    case Qt::Key_F3:
        focusItemField();
        break;
    case Qt::Key_F5:
        commitDesk();
        break;
    case Qt::Key_F6:
        removePendingRow();
        break;
    case Qt::Key_F7:
        clearDesk();
        break;
    case Qt::Key_Escape:
        close();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace cangshu
