#include "ListTables.h"
#include "support/TestDatabase.h"
#include "widgets/DataGrid.h"
#include "widgets/GridReport.h"

#include <QHeaderView>
#include <QPdfWriter>
#include <QSet>
#include <QTest>

using namespace cangshu;

class GridTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        test::createListTables(db());
        Transaction tx(db());
        for (int i = 1; i <= 1000; ++i)
            test::addReader(db(), QStringLiteral("R%1").arg(i, 4, 10, QLatin1Char('0')),
                            QStringLiteral("读者%1").arg(i), i % 10 + 0.5);
        tx.commit();
    }
    QList<GridColumn> columns() {
        return {{QStringLiteral("读者编号"), QStringLiteral("读者编号"), 90, FooterKind::Count},
                {QStringLiteral("读者姓名"), QStringLiteral("姓名"), 120},
                {QStringLiteral("押金金额"), QStringLiteral("押金金额"), 80, FooterKind::Sum},
                {QStringLiteral("选中"), QStringLiteral("选中"), 40}};
    }
    GridSource all() {
        return {QStringLiteral("select * from [读者资料]"), {}, QStringLiteral("[读者编号]")};
    }
    void clickTitle(DataGrid& grid, int column) {
        QHeaderView* h = grid.view()->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(column) + 5, h->height() / 2));
    }
};

TEST_P(GridTest, OpensLazilyWithFooterFromAnAggregate) {
    DataGrid grid(db());
    grid.setColumns(columns());
    ASSERT_TRUE(grid.load(all())) << grid.lastError().toStdString();
    // Rows come in blocks on both engines; the list does not load all of them at once.
    GridModel* model = grid.model();
    EXPECT_LT(model->rowCount(), 1000);
    EXPECT_TRUE(model->canFetchMore());
    while (model->canFetchMore())
        model->fetchMore();
    ASSERT_EQ(model->rowCount(), 1000);
    for (int row = 0; row < 1000; ++row)
        ASSERT_EQ(model->fieldValue(row, QStringLiteral("读者编号")).toString(),
                  QStringLiteral("R%1").arg(row + 1, 4, 10, QLatin1Char('0')))
            << "every row once, in the list's order";
    // A hundred readers share each deposit: across the blocks each still comes once.
    model->sort(2, Qt::AscendingOrder);
    while (model->canFetchMore())
        model->fetchMore();
    QSet<QString> seen;
    for (int row = 0; row < model->rowCount(); ++row)
        seen.insert(model->fieldValue(row, QStringLiteral("读者编号")).toString());
    EXPECT_EQ(seen.size(), 1000);
    EXPECT_EQ(model->rowCount(), 1000);
    grid.refreshFooter();
    EXPECT_EQ(grid.footerText(0), QStringLiteral("1000"));
    EXPECT_EQ(grid.footerText(1), QStringLiteral("合计"));
    EXPECT_EQ(grid.footerText(2), QStringLiteral("5000")); // 100 × (0.5 + 1.5 + ... + 9.5)
    EXPECT_EQ(
        grid.model()->data(grid.model()->index(0, 0), Qt::BackgroundRole).value<QBrush>().color(),
        QColor(233, 251, 254));
    EXPECT_FALSE(grid.model()->data(grid.model()->index(1, 0), Qt::BackgroundRole).isValid());
}

TEST_P(GridTest, TitleClicksSortAscendingThenDescending) {
    DataGrid grid(db());
    grid.setColumns(columns());
    grid.resize(600, 400);
    grid.show();
    ASSERT_TRUE(grid.load({QStringLiteral("select * from [读者资料] where [押金金额]<?"),
                           {2},
                           QStringLiteral("[读者编号]")}));
    auto first = [&](int column) { return grid.model()->index(0, column).data().toString(); };
    EXPECT_EQ(first(0), QStringLiteral("R0001"));
    clickTitle(grid, 1);
    EXPECT_EQ(grid.model()->sortedField(), QStringLiteral("读者姓名"));
    EXPECT_EQ(first(1), QStringLiteral("读者1"));
    clickTitle(grid, 1);
    EXPECT_EQ(first(1), QStringLiteral("读者991"));
    clickTitle(grid, 0);
    EXPECT_EQ(first(0), QStringLiteral("R0001"));
    grid.refreshFooter();
    EXPECT_EQ(grid.footerText(0),
              QStringLiteral("200")); // the bound condition holds through sorting
}

TEST_P(GridTest, ManagementModeWritesEditsAndMarksQueryModeDoesNot) {
    DataGrid grid(db());
    grid.setColumns(columns());
    ASSERT_TRUE(grid.load(all()));
    GridModel* m = grid.model();
    EXPECT_FALSE(m->flags(m->index(0, 1)).testFlag(Qt::ItemIsEditable));
    EXPECT_FALSE(m->setData(m->index(0, 1), QStringLiteral("改名")));

    grid.setManagement(QStringLiteral("读者资料"));
    ASSERT_TRUE(grid.load(all()));
    EXPECT_TRUE(m->flags(m->index(0, 1)).testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(m->flags(m->index(0, 3)).testFlag(Qt::ItemIsUserCheckable));
    ASSERT_TRUE(m->setData(m->index(0, 1), QStringLiteral("改名")));
    ASSERT_TRUE(m->setData(m->index(1, 3), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(m->index(0, 1).data().toString(), QStringLiteral("改名"));
    EXPECT_EQ(m->index(1, 3).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(
        db().scalar(QStringLiteral("select [读者姓名] from [读者资料] where [读者编号]='R0001'"))
            .toString(),
        QStringLiteral("改名"));
    EXPECT_TRUE(
        db().scalar(QStringLiteral("select [选中] from [读者资料] where [读者编号]='R0002'"))
            .toBool());
}

TEST_P(GridTest, LayoutsReorderHideAndResize) {
    DataGrid grid(db());
    grid.setColumns(columns());
    ASSERT_TRUE(grid.load(all()));
    grid.applyLayout({{QStringLiteral("押金金额"), QStringLiteral("金额"), 55, true},
                      {QStringLiteral("读者编号"), QStringLiteral("编号"), 70, false}});
    const QList<ColumnLayout> l = grid.layout();
    ASSERT_EQ(l.size(), 4);
    EXPECT_EQ(l.at(0),
              (ColumnLayout{QStringLiteral("押金金额"), QStringLiteral("金额"), 55, true}));
    EXPECT_EQ(l.at(1).field, QStringLiteral("读者编号"));
    EXPECT_FALSE(l.at(1).visible);
    EXPECT_TRUE(grid.view()->isColumnHidden(1));
    EXPECT_EQ(grid.view()->columnWidth(0), 55);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("金额"));

    // Exports and reports follow the visible columns in their order.
    auto rows = grid.rowSource();
    EXPECT_EQ(rows->titles(), (QStringList{QStringLiteral("金额"), QStringLiteral("姓名"),
                                           QStringLiteral("选中")}));
    GridReport report(grid, QStringLiteral("读者资料报表"), QDate(2024, 5, 1));
    EXPECT_EQ(report.rowCount(), 1000);
    const QString pdf = test::temporaryFolder() + QStringLiteral("/grid.pdf");
    QPdfWriter writer(pdf);
    EXPECT_GT(report.paint(&writer), 10);
    EXPECT_TRUE(report.writePdf(pdf));
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
}

CANGSHU_ENGINES(GridTest);
