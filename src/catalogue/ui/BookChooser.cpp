#include "BookChooser.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace cangshu {

namespace {

struct Column {
    const char16_t* field;
    const char16_t* title;
};

const Column kColumns[] = {
    {u"书籍编号", u"书籍编号"}, {u"书籍名称", u"书籍名称"}, {u"当前本数", u"卷册号"},
    {u"标准ISBN", u"标准ISBN"}, {u"中图分类", u"中图分类"}, {u"分类名称", u"分类名称"},
    {u"种次号", u"种次号"},     {u"索书号", u"索书号"},     {u"书籍价格", u"书籍价格"},
    {u"作者信息", u"作者信息"}, {u"密级", u"密级"},         {u"藏书总量", u"藏书总量"},
    {u"馆内剩余", u"馆内剩余"}, {u"出版社名", u"出版社名"}, {u"出版地点", u"出版地点"},
    {u"出版日期", u"出版日期"}, {u"书籍页码", u"书籍页码"}, {u"存放位置", u"存放位置"},
    {u"书籍开本", u"书籍开本"}, {u"所属语种", u"所属语种"}, {u"配送物品", u"配送物品"},
    {u"书籍版次", u"书籍版次"}, {u"所属丛书", u"所属丛书"}, {u"印刷版面", u"印刷版面"},
    {u"入库时间", u"入库时间"},
};

} // namespace

BookChooser::BookChooser(const QList<QVariantMap>& books, QWidget* parent)
    : QDialog(parent), m_grid(new QTableWidget(this)) {
    setWindowTitle(QStringLiteral("选择书籍"));
    const int columns = int(std::size(kColumns));
    m_grid->setColumnCount(columns);
    m_grid->setRowCount(int(books.size()));
    QStringList titles;
    for (const Column& c : kColumns)
        titles << QString::fromUtf16(c.title);
    m_grid->setHorizontalHeaderLabels(titles);
    for (int r = 0; r < books.size(); ++r)
        for (int c = 0; c < columns; ++c) {
            const QVariant v = books[r].value(QString::fromUtf16(kColumns[c].field));
            m_grid->setItem(r, c,
                            new QTableWidgetItem(v.typeId() == QMetaType::QDate
                                                     ? v.toDate().toString(Qt::ISODate)
                                                     : v.toString()));
        }
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setVisible(false);
    if (!books.isEmpty())
        m_grid->selectRow(0);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &BookChooser::choose);

    auto* ok = new QPushButton(QStringLiteral("选中(&S)"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &BookChooser::choose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(900, 360);
}

void BookChooser::choose() {
    m_chosen = m_grid->currentRow();
    if (m_chosen >= 0)
        accept();
}

const QVariantMap* BookChooser::pick(const QList<QVariantMap>& books, QWidget* parent) {
    if (books.isEmpty())
        return nullptr;
    if (books.size() == 1)
        return &books.first();
    BookChooser chooser(books, parent);
    if (chooser.exec() != QDialog::Accepted || chooser.chosenRow() < 0)
        return nullptr;
    return &books[chooser.chosenRow()];
}

} // namespace cangshu
