#include "ColumnChooser.h"

#include "Messages.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace cangshu {

ColumnChooser::ColumnChooser(const QList<ColumnLayout>& columns, QWidget* parent)
    : QDialog(parent), m_columns(columns), m_list(new QTableWidget(this)) {
    setWindowTitle(QStringLiteral("选择输出列"));
    m_list->setColumnCount(2);
    m_list->setHorizontalHeaderLabels({QStringLiteral("选择输出列"), QStringLiteral("列宽度")});
    m_list->setToolTip(QStringLiteral("双击修改列宽度"));
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setRowCount(int(columns.size()));
    for (int r = 0; r < columns.size(); ++r) {
        auto* title = new QTableWidgetItem(columns.at(r).title);
        title->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        title->setCheckState(columns.at(r).visible ? Qt::Checked : Qt::Unchecked);
        m_list->setItem(r, 0, title);
        auto* width = new QTableWidgetItem(QString::number(columns.at(r).width));
        width->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_list->setItem(r, 1, width);
    }
    connect(m_list, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { editWidth(row); });

    auto button = [this](QStyle::StandardPixmap icon, const QString& tip) {
        auto* b = new QToolButton(this);
        b->setIcon(style()->standardIcon(icon));
        b->setIconSize(QSize(24, 24));
        b->setToolTip(tip);
        b->setAutoRaise(true);
        return b;
    };
    auto* ok = button(QStyle::SP_DialogApplyButton, QStringLiteral("确定"));
    auto* cancel = button(QStyle::SP_DialogCancelButton, QStringLiteral("取消"));
    auto* all = button(QStyle::SP_DialogYesButton, QStringLiteral("全选"));
    auto* none = button(QStyle::SP_DialogNoButton, QStringLiteral("全不选"));
    connect(ok, &QToolButton::clicked, this, [this] {
        if (confirm())
            accept();
    });
    connect(cancel, &QToolButton::clicked, this, &QDialog::reject);
    connect(all, &QToolButton::clicked, this, [this] { checkAll(true); });
    connect(none, &QToolButton::clicked, this, [this] { checkAll(false); });
    auto* buttons = new QHBoxLayout;
    for (auto* b : {ok, cancel, all, none})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(360, 460);
}

void ColumnChooser::checkAll(bool checked) {
    for (int r = 0; r < m_list->rowCount(); ++r)
        m_list->item(r, 0)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void ColumnChooser::editWidth(int row) {
    if (row < 0 || row >= m_list->rowCount())
        return;
    bool ok = false;
    const QString answer =
        QInputDialog::getText(this, QStringLiteral("修改宽度"), QStringLiteral("输入列宽度：     "),
                              QLineEdit::Normal, m_list->item(row, 1)->text(), &ok);
    if (ok && !answer.isEmpty())
        m_list->item(row, 1)->setText(answer);
}

bool ColumnChooser::confirm() {
    QList<ColumnLayout> result = m_columns;
    for (int r = 0; r < m_list->rowCount(); ++r) {
        const bool checked = m_list->item(r, 0)->checkState() == Qt::Checked;
        result[r].visible = checked;
        if (!checked)
            continue;
        bool ok = false;
        const QString text = m_list->item(r, 1)->text().trimmed();
        const int width = text.toInt(&ok);
        if (!ok || width < 0) {
            showNotice(this, QStringLiteral("“%1”不是有效的列宽度！").arg(text));
            m_list->setCurrentCell(r, 1);
            return false;
        }
        result[r].width = width;
    }
    m_columns = result;
    return true;
}

} // namespace cangshu
