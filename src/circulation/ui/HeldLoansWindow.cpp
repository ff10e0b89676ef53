#include "HeldLoansWindow.h"

#include "widgets/DataGrid.h"
#include "widgets/Messages.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace cangshu {

HeldLoansWindow::HeldLoansWindow(Database& db, const QString& readerNumber, QWidget* parent)
    : QDialog(parent), m_grid(new DataGrid(db, this)) {
    setWindowTitle(QStringLiteral("已借信息"));
    auto c = [](const QString& field, int width, FooterKind footer = FooterKind::None) {
        return GridColumn{field, field, width, footer};
    };
    m_grid->setColumns(
        {c(QStringLiteral("书籍编号"), 100), c(QStringLiteral("书籍名称"), 200),
         c(QStringLiteral("读者编号"), 90, FooterKind::Label),
         c(QStringLiteral("读者姓名"), 80, FooterKind::Count), c(QStringLiteral("读者类型"), 80),
         c(QStringLiteral("书籍价格"), 70, FooterKind::Sum), c(QStringLiteral("中图分类"), 80),
         c(QStringLiteral("分类名称"), 90), c(QStringLiteral("出版社名"), 140),
         c(QStringLiteral("借阅日期"), 90), c(QStringLiteral("应还日期"), 90)});
    const bool loaded = m_grid->load(
        {QStringLiteral("select b.[书籍编号], b.[书籍名称], r.[读者编号], r.[读者姓名], "
                        "r.[读者类型], b.[书籍价格], b.[中图分类], b.[分类名称], b.[出版社名], "
                        "l.[借阅日期], l.[应还日期] from [书籍资料] b, [读者资料] r, "
                        "[书籍借阅清单] l where b.[ID]=l.[书籍索引] and "
                        "r.[读者编号]=l.[读者索引] and l.[读者索引]=?"),
         {readerNumber},
         QStringLiteral("[借阅日期]")});
    if (!loaded)
        showError(this, m_grid->lastError());

    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    resize(1000, 400);
}

} // namespace cangshu
