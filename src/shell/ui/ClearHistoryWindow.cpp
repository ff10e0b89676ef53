#include "ClearHistoryWindow.h"

#include "shell/Maintenance.h"
#include "widgets/Messages.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace cangshu {

ClearHistoryWindow::ClearHistoryWindow(Database& db, QWidget* parent) : QDialog(parent), m_db(db) {
    setWindowTitle(QStringLiteral("旧数据清理"));
    auto* group = new QGroupBox(QStringLiteral("选择清理表"), this);
    auto* hint = new QLabel(QStringLiteral("清理记录会提高软件运行效率"), group);
    m_from = new QDateEdit(group);
    m_to = new QDateEdit(group);
    for (QDateEdit* d : {m_from, m_to}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    }
    m_books = new QCheckBox(QStringLiteral("书籍归还记录"), group);
    m_periodicals = new QCheckBox(QStringLiteral("期刊归还记录"), group);

    auto* period = new QHBoxLayout;
    period->addWidget(new QLabel(QStringLiteral("从"), group));
    period->addWidget(m_from);
    period->addWidget(new QLabel(QStringLiteral("到"), group));
    period->addWidget(m_to);
    period->addStretch();
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(m_books);
    boxes->addWidget(m_periodicals);
    boxes->addStretch();
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(hint);
    inner->addWidget(new QLabel(QStringLiteral("要清理的时间段："), group));
    inner->addLayout(period);
    inner->addLayout(boxes);

    auto* startButton = new QPushButton(QStringLiteral("开始清理(&E)"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消关闭(&C)"), this);
    startButton->setDefault(true);
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startButton);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    connect(startButton, &QPushButton::clicked, this, &ClearHistoryWindow::start);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject); // Esc too
}

void ClearHistoryWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_from->setDate(m_db.today());
    m_to->setDate(m_db.today());
    m_books->setChecked(false);
    m_periodicals->setChecked(false);
}

void ClearHistoryWindow::start() {
    const QDate from = m_from->date(), to = m_to->date();
    try {
        if (m_books->isChecked() && askYesNo(this, QStringLiteral("是否确定清理书籍归还记录？")))
            clearReturnHistory(m_db, HistoryKind::Books, from, to);
        if (m_periodicals->isChecked() &&
            askYesNo(this, QStringLiteral("是否确定清理期刊归还记录？")))
            clearReturnHistory(m_db, HistoryKind::Periodicals, from, to);
    } catch (const DatabaseError& e) {
        showError(this, e.message()); // the window stays open
        return;
    }
    showSuccess(this, QStringLiteral("操作完成！"));
    accept();
}

} // namespace cangshu
