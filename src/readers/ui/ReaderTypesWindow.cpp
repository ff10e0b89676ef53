#include "ReaderTypesWindow.h"

#include "ReaderTypeEditor.h"
#include "TwoLevelHeader.h"
#include "readers/ReaderTypes.h"
#include "widgets/DataGrid.h"
#include "widgets/Messages.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace cangshu {

namespace {
QList<GridColumn> typeColumns() {
    QList<GridColumn> columns{{QStringLiteral("类型名称"), QStringLiteral("类型名称"), 110}};
    const auto add = [&](const char16_t* field, const char16_t* title) {
        columns.append({QString::fromUtf16(field), QString::fromUtf16(title), 72});
    };
    add(u"书籍借出册数", u"书籍|借出册数");
    add(u"书籍借出天数", u"书籍|借出天数");
    add(u"书籍续借次数", u"书籍|续借次数");
    add(u"书籍续借天数", u"书籍|续借天数");
    add(u"书籍每日租金", u"书籍|每日租金");
    add(u"书籍超期罚款", u"书籍|超期罚款");
    add(u"杂志借出册数", u"期刊|借出册数");
    add(u"杂志借出天数", u"期刊|借出天数");
    add(u"期刊续借次数", u"期刊|续借次数");
    add(u"期刊续借天数", u"期刊|续借天数");
    add(u"期刊每日租金", u"期刊|每日租金");
    add(u"期刊超期罚款", u"期刊|超期罚款");
    add(u"无限制", u"无限制");
    return columns;
}
} // namespace

ReaderTypesWindow::ReaderTypesWindow(Database& db, QWidget* parent)
    : QDialog(parent), m_db(db), m_grid(new DataGrid(db, this)) {
    setWindowTitle(QStringLiteral("读者类型设置"));
    m_grid->setColumns(typeColumns());
    QTableView* view = m_grid->view();
    view->setHorizontalHeader(new TwoLevelHeader(view));
    view->setSortingEnabled(false);
    view->setSortingEnabled(true);

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    connect(button(QStringLiteral("增加读者类型(&A)")), &QPushButton::clicked, this,
            &ReaderTypesWindow::addType);
    connect(button(QStringLiteral("修改读者类型(&E)")), &QPushButton::clicked, this,
            &ReaderTypesWindow::editType);
    connect(button(QStringLiteral("删除读者类型(&D)")), &QPushButton::clicked, this,
            &ReaderTypesWindow::deleteType);
    m_choose = button(QStringLiteral("选中读者类型(&S)"));
    connect(m_choose, &QPushButton::clicked, this, &ReaderTypesWindow::choose);
    buttons->addStretch();
    connect(button(QStringLiteral("退出类型操作(&Q)")), &QPushButton::clicked, this, [this] {
        m_chosen = false;
        reject();
    });
    connect(view, &QAbstractItemView::doubleClicked, this, [this] {
        if (m_chooser)
            choose();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    setChooser(false);
    resize(1180, 420);
}

void ReaderTypesWindow::setChooser(bool chooser) {
    m_chooser = chooser;
    m_choose->setVisible(chooser);
}

void ReaderTypesWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_chosen = false;
    reload();
    m_grid->view()->setFocus();
}

bool ReaderTypesWindow::reload() {
    if (m_grid->load({QStringLiteral("select * from [读者类型]"), {}, {}})) {
        if (m_grid->model()->rowCount() > 0 && !m_grid->view()->currentIndex().isValid())
            m_grid->view()->selectRow(0);
        return true;
    }
    showError(this, m_grid->lastError());
    return false;
}

QString ReaderTypesWindow::currentName() const {
    const QModelIndex current = m_grid->view()->currentIndex();
    if (!current.isValid())
        return {};
    return m_grid->model()->fieldValue(current.row(), QStringLiteral("类型名称")).toString();
}

void ReaderTypesWindow::selectName(const QString& name) {
    GridModel* model = m_grid->model();
    while (model->canFetchMore())
        model->fetchMore();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->fieldValue(row, QStringLiteral("类型名称")).toString() == name) {
            m_grid->view()->selectRow(row);
            return;
        }
    }
}

void ReaderTypesWindow::addType() {
    ReaderTypeEditor editor(m_db, QString(), this);
    editor.setWindowTitle(QStringLiteral("添加读者类型"));
    if (editor.exec() == QDialog::Accepted) {
        reload();
        selectName(editor.savedName());
    }
}

void ReaderTypesWindow::editType() {
    const QString name = currentName();
    if (name.isEmpty() && m_grid->model()->rowCount() == 0)
        return;
    ReaderTypeEditor editor(m_db, name, this);
    editor.setWindowTitle(QStringLiteral("修改读者类型"));
    if (editor.exec() == QDialog::Accepted) {
        reload();
        selectName(editor.savedName());
    }
}

void ReaderTypesWindow::deleteType() {
    if (!m_grid->view()->currentIndex().isValid())
        return;
    if (!askYesNo(this, QStringLiteral("是否确定删除当前读者类型？")))
        return;
    try {
        const Outcome o = deleteReaderType(m_db, currentName());
        if (!o.ok)
            showNotice(this, o.message);
    } catch (const DatabaseError& e) {
        showError(this, e.message());
    }
    reload();
}

void ReaderTypesWindow::choose() {
    if (!m_grid->view()->currentIndex().isValid())
        return;
    m_chosen = true;
    accept();
}

} // namespace cangshu
