#include "PickList.h"

#include "DataGrid.h"
#include "Messages.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace cangshu {

namespace {

const QString fuzzyMatch = QStringLiteral("模糊匹配");

GridColumn col(const QString& field, int width = 90, FooterKind footer = FooterKind::None,
               const QString& title = {}) {
    return {field, title.isEmpty() ? field : title, width, footer};
}

QList<GridColumn> bookColumns() {
    return {col(QStringLiteral("在馆状态"), 70, FooterKind::Label),
            col(QStringLiteral("书籍编号"), 100, FooterKind::Count),
            col(QStringLiteral("书籍名称"), 200),
            col(QStringLiteral("当前本数"), 60, FooterKind::None, QStringLiteral("卷册号")),
            col(QStringLiteral("标准ISBN"), 120),
            col(QStringLiteral("中图分类")),
            col(QStringLiteral("分类名称")),
            col(QStringLiteral("种次号"), 60),
            col(QStringLiteral("索书号")),
            col(QStringLiteral("作者信息"), 120),
            col(QStringLiteral("书籍价格"), 70),
            col(QStringLiteral("藏书总量"), 70),
            col(QStringLiteral("密级"), 50),
            col(QStringLiteral("馆内剩余"), 70),
            col(QStringLiteral("出版社名"), 140),
            col(QStringLiteral("出版地点")),
            col(QStringLiteral("出版日期")),
            col(QStringLiteral("书籍页码"), 70),
            col(QStringLiteral("存放位置")),
            col(QStringLiteral("书籍开本"), 70),
            col(QStringLiteral("所属语种"), 70),
            col(QStringLiteral("配送物品")),
            col(QStringLiteral("书籍版次"), 70),
            col(QStringLiteral("所属丛书")),
            col(QStringLiteral("印刷版面"), 70),
            col(QStringLiteral("入库时间"))};
}

} // namespace

PickListSpec readerPickList() {
    PickListSpec s;
    s.title = QStringLiteral("选择读者");
    s.table = QStringLiteral("读者资料");
    s.columns = {col(QStringLiteral("读者状态"), 70, FooterKind::Label),
                 col(QStringLiteral("读者编号"), 100, FooterKind::Count),
                 col(QStringLiteral("读者姓名")),
                 col(QStringLiteral("读者性别"), 60),
                 col(QStringLiteral("读者类型")),
                 col(QStringLiteral("单位部门"), 120),
                 col(QStringLiteral("押金金额"), 80, FooterKind::Sum),
                 col(QStringLiteral("出生日期")),
                 col(QStringLiteral("办证日期")),
                 col(QStringLiteral("截止日期")),
                 col(QStringLiteral("联系电话"), 110),
                 col(QStringLiteral("电子邮件"), 140),
                 col(QStringLiteral("联系地址"), 180),
                 col(QStringLiteral("借阅次数"), 70, FooterKind::Sum),
                 col(QStringLiteral("无限制"), 60)};
    s.searchFields = {
        QStringLiteral("读者编号"), QStringLiteral("读者姓名"), QStringLiteral("拼音"),
        QStringLiteral("读者性别"), QStringLiteral("读者类型"), QStringLiteral("单位部门"),
        QStringLiteral("联系电话"), QStringLiteral("电子邮件"), QStringLiteral("联系地址")};
    s.orderBy = QStringLiteral("[读者编号]");
    s.resultField = QStringLiteral("读者编号");
    return s;
}

PickListSpec bookPickList() {
    PickListSpec s;
    s.title = QStringLiteral("选择书籍");
    s.table = QStringLiteral("书籍资料");
    s.columns = bookColumns();
    s.searchFields = {
        QStringLiteral("书籍编号"), QStringLiteral("书籍名称"), QStringLiteral("拼音"),
        QStringLiteral("标准ISBN"), QStringLiteral("作者信息"), QStringLiteral("中图分类"),
        QStringLiteral("分类名称"), QStringLiteral("出版社名"), QStringLiteral("出版地点"),
        QStringLiteral("出版日期"), QStringLiteral("存放位置"), QStringLiteral("书籍开本"),
        QStringLiteral("所属语种"), QStringLiteral("配送物品"), QStringLiteral("书籍版次"),
        QStringLiteral("所属丛书"), QStringLiteral("印刷版面"), QStringLiteral("内容简介"),
        QStringLiteral("备注信息")};
    s.orderBy = QStringLiteral("[书籍编号]");
    s.firstRows = 1000;
    s.resultField = QStringLiteral("书籍编号");
    return s;
}

QList<GridColumn> bookChooserColumns() {
    QList<GridColumn> c = bookColumns();
    c.removeFirst();
    c.first().footer = FooterKind::Count;
    return c;
}

void placeBelow(QWidget* window, const QWidget* field) {
    if (!field)
        return;
    QPoint at = field->mapToGlobal(QPoint(0, field->height()));
    // Kept on the screen when the field sits low.
    if (const QScreen* screen = field->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(qMin(at.x(), area.right() - window->width()));
        at.setY(qMin(at.y(), area.bottom() - window->height()));
        at = QPoint(qMax(at.x(), area.left()), qMax(at.y(), area.top()));
    }
    window->move(at);
}

PickList::PickList(Database& db, PickListSpec definition, QWidget* parent)
    : QDialog(parent), m_db(db), m_spec(std::move(definition)), m_field(new QComboBox(this)),
      m_operator(new QComboBox(this)), m_text(new QLineEdit(this)), m_grid(new DataGrid(db, this)) {
    setWindowTitle(m_spec.title);
    m_field->addItems(m_spec.searchFields);
    m_operator->addItems({QStringLiteral("="), QStringLiteral("<>"), fuzzyMatch});
    m_operator->setCurrentText(fuzzyMatch);
    m_grid->setColumns(m_spec.columns);

    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("查询字段"), this));
    bar->addWidget(m_field);
    bar->addWidget(m_operator);
    bar->addWidget(m_text, 1);
    auto* find = new QPushButton(QStringLiteral("查询"), this);
    find->setAutoDefault(false);
    bar->addWidget(find);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("选择"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    ok->setObjectName(QStringLiteral("选择"));
    cancel->setObjectName(QStringLiteral("取消"));
    for (QPushButton* b : {ok, cancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    connect(m_text, &QLineEdit::returnPressed, this, &PickList::search);
    connect(find, &QPushButton::clicked, this, &PickList::search);
    connect(ok, &QPushButton::clicked, this, &PickList::choose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid->view(), &QAbstractItemView::doubleClicked, this, &PickList::choose);
    resize(900, 480);
    showAll();
}

bool PickList::showAll() {
    QString select = QStringLiteral("select * from [%1]").arg(m_spec.table);
    if (m_spec.firstRows > 0)
        select = QStringLiteral("select * from (%1 order by %2 limit %3) first_rows")
                     .arg(select, m_spec.orderBy)
                     .arg(m_spec.firstRows);
    if (m_grid->load({select, {}, m_spec.orderBy}))
        return true;
    showError(this, m_grid->lastError());
    return false;
}

bool PickList::search() {
    const QString field = m_field->currentText();
    const QString op = m_operator->currentText();
    const QString text = m_text->text().trimmed();
    if (field.isEmpty() || op.isEmpty() || text.isEmpty())
        return false;
    if (!m_db.hasColumn(m_spec.table, field)) {
        showError(this, QStringLiteral("no column %1 in %2").arg(field, m_spec.table));
        return false;
    }
    GridSource source;
    source.orderBy = m_spec.orderBy;
    if (op == fuzzyMatch) {
        source.select = QStringLiteral("select * from [%1] where CAST([%2] AS TEXT) %3 ?")
                            .arg(m_spec.table, field, m_db.dialect().likeOperator());
        source.params << QStringLiteral("%") + text + QStringLiteral("%");
    } else {
        source.select =
            QStringLiteral("select * from [%1] where CAST([%2] AS TEXT) %3 ?")
                .arg(m_spec.table, field,
                     op == QStringLiteral("=") ? QStringLiteral("=") : QStringLiteral("<>"));
        source.params << text;
    }
    if (m_grid->load(source))
        return true;
    showError(this, m_grid->lastError());
    return false;
}

bool PickList::choose() {
    const QModelIndex current = m_grid->view()->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    if (m_grid->model()->rowCount() == 0)
        return false;
    m_chosen = m_grid->model()->fieldValue(row, m_spec.resultField).toString();
    accept();
    return true;
}

std::optional<QString> PickList::pick(Database& db, const PickListSpec& definition,
                                      QWidget* field) {
    PickList list(db, definition, field ? field->window() : nullptr);
    placeBelow(&list, field);
    if (list.exec() != QDialog::Accepted)
        return std::nullopt;
    return list.chosen();
}

ItemChooser::ItemChooser(Database& db, const QString& table, const QList<GridColumn>& columns,
                         const QList<qint64>& ids, QWidget* parent)
    : QDialog(parent), m_grid(new DataGrid(db, this)) {
    setWindowTitle(QStringLiteral("选择书籍"));
    m_grid->setColumns(columns);
    QStringList marks;
    QVariantList params;
    for (qint64 id : ids) {
        marks << QStringLiteral("?");
        params << id;
    }
    if (!ids.isEmpty())
        m_grid->load(
            {QStringLiteral("select * from [%1] where [ID] in (%2)").arg(table, marks.join(u',')),
             params, QStringLiteral("[ID]")});

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("选择"), this);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    ok->setObjectName(QStringLiteral("选择"));
    cancel->setObjectName(QStringLiteral("取消"));
    for (QPushButton* b : {ok, cancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &ItemChooser::choose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid->view(), &QAbstractItemView::doubleClicked, this, &ItemChooser::choose);
    resize(900, 360);
}

bool ItemChooser::choose() {
    if (m_grid->model()->rowCount() == 0)
        return false;
    const QModelIndex current = m_grid->view()->currentIndex();
    m_chosen = m_grid->model()
                   ->fieldValue(current.isValid() ? current.row() : 0, QStringLiteral("ID"))
                   .toLongLong();
    accept();
    return true;
}

std::optional<qint64> ItemChooser::pick(Database& db, const QString& table,
                                        const QList<GridColumn>& columns, const QList<qint64>& ids,
                                        QWidget* field) {
    ItemChooser chooser(db, table, columns, ids, field ? field->window() : nullptr);
    placeBelow(&chooser, field);
    if (chooser.exec() != QDialog::Accepted)
        return std::nullopt;
    return chooser.chosenId();
}

} // namespace cangshu
