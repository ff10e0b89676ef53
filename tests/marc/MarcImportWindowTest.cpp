#include "ModalAnswers.h"

#include "core/Schema.h"
#include "core/Seed.h"
#include "marc/MarcMappings.h"
#include "marc/ui/MarcImportWindow.h"
#include "marc/ui/MarcRecordView.h"
#include "marc/ui/MarcWindows.h"
#include "shell/Commands.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace cangshu;
using namespace cangshu::test;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString sample(const char* name) {
    return qEnvironmentVariable("CANGSHU_SOURCE_DIR") + S("/data/marc/") + S(name);
}

QString cell(const QTableView* view, int row, int column) {
    return view->model()->index(row, column).data().toString();
}

class MarcImportWindowTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        createSchema(db());
        seedNewDatabase(db());
        seedMarcMappings(db());
        db().clock().setToday(QDate(2024, 3, 15));
    }

    // A shown window with the file opened and previewed; the opening notice answered.
    std::unique_ptr<MarcImportWindow> previewed(MarcImportWindow::Kind kind, const char* file) {
        auto w = std::make_unique<MarcImportWindow>(db(), kind);
        w->show();
        ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        EXPECT_TRUE(w->openFile(sample(file)));
        EXPECT_EQ(answers.texts, QStringList{S("Marc数据打开成功！请点击【预览Marc数据】按钮！")});
        EXPECT_TRUE(w->preview());
        return w;
    }

    QStringList column(const QString& table, const QString& name) {
        QStringList values;
        for (const auto& r :
             db().rows(QStringLiteral("select [%1] from [%2] order by [ID]").arg(name, table)))
            values << r.value(0).toString();
        return values;
    }
};

} // namespace

TEST_P(MarcImportWindowTest, BooksPreviewShowsTheMappingAndTheCurrentRecord) {
    auto w = previewed(MarcImportWindow::Kind::Books, "cnmarc-books.iso");
    EXPECT_EQ(w->windowTitle(), S("导入图书marc数据"));
    EXPECT_EQ(w->totalLabel()->text(), S("总记录数：3"));
    EXPECT_EQ(w->previewedLabel()->text(), S("预览记录数：3"));
    EXPECT_EQ(w->stateLabel()->text(), S("状态：打开成功"));

    const QTableView* list = w->previewList();
    ASSERT_EQ(list->model()->rowCount(), 3);
    // Columns, captions and widths come from the mapping table in 序号 order.
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), S("正题名"));
    EXPECT_EQ(list->horizontalHeader()->sectionSize(0), 220);
    EXPECT_EQ(cell(list, 0, 0), S("数据库系统概论"));
    EXPECT_EQ(cell(list, 1, 1), S("上册"));
    // Several accession numbers of one record are joined by commas.
    const int numbers = list->model()->columnCount() - 5; // 905b, see the default mapping
    EXPECT_EQ(list->model()->headerData(numbers, Qt::Horizontal).toString(), S("登录号"));
    EXPECT_EQ(cell(list, 2, numbers), S("T0000104,T0000105,T0000106"));

    // The record view follows the current row.
    auto recordTitle = [&] { return w->recordView()->record().firstSubfield(S("200"), u'a'); };
    EXPECT_EQ(recordTitle(), S("数据库系统概论"));
    EXPECT_GT(w->recordView()->rowCount(), 10);
    w->previewList()->setFocus();
    QTest::keyClick(w->previewList(), Qt::Key_Down);
    EXPECT_EQ(recordTitle(), S("红楼梦"));
}

TEST_P(MarcImportWindowTest, ImportsIntoTheCatalogueWithTheOptionsOfTheWindow) {
    auto w = previewed(MarcImportWindow::Kind::Books, "cnmarc-books.iso");
    // Numbers from the records' accession lists, no 种次号 of our own, no prices.
    w->numberBox()->setChecked(false);
    w->callNumberBox()->setChecked(false);
    w->priceBox()->setChecked(false);
    {
        ModalAnswers answers; // one answerer at a time
        answers.button(QMessageBox::Yes).button(QMessageBox::Ok);
        EXPECT_TRUE(w->importToCatalogue());
        EXPECT_EQ(answers.texts,
                  (QStringList{S("是否确定导入Marc数据到数据库？"), S("导入数据成功！")}));
        EXPECT_EQ(answers.titles, (QStringList{S("提示"), S("提示")}));
    }
    EXPECT_EQ(column(S("书籍资料"), S("书籍编号")),
              (QStringList{S("T0000102"), S("T0000101"), S("T0000103"), S("T0000106"),
                           S("T0000105"), S("T0000104")}));
    EXPECT_EQ(column(S("书籍资料"), S("书籍价格")).count(S("0")), 6);
    EXPECT_EQ(column(S("书籍资料"), S("种次号")).count(QString()), 6);

    // Again with the window's defaults: one numbered copy per record and its 种次号.
    w->numberBox()->setChecked(true);
    w->callNumberBox()->setChecked(true);
    w->priceBox()->setChecked(true);
    ModalAnswers again;
    again.button(QMessageBox::Yes).button(QMessageBox::Ok);
    EXPECT_TRUE(w->importToCatalogue());
    EXPECT_EQ(w->lastOutcome().rowsWritten, 3);
    const auto row = db().row(
        S("select [书籍价格],[索书号] from [书籍资料] where [书籍名称]=? order by [ID] desc"),
        {S("算法导论")});
    ASSERT_TRUE(row);
    EXPECT_DOUBLE_EQ(row->value(0).toDouble(), 139.0);
    EXPECT_EQ(row->value(1).toString(), S("TP301.6/2")); // the three copies stored first count
}

TEST_P(MarcImportWindowTest, RefusalsAndQuestionsAnsweredNo) {
    MarcImportWindow w(db(), MarcImportWindow::Kind::Books);
    w.show();
    {
        ModalAnswers answers;
        answers.button(QMessageBox::Ok).button(QMessageBox::Ok);
        EXPECT_FALSE(w.preview());
        EXPECT_FALSE(w.importToCatalogue());
        EXPECT_EQ(answers.texts, (QStringList{S("请先打开Marc数据！"), S("请先预览Marc数据！")}));
    }

    // A cancelled file dialog.
    EXPECT_FALSE(w.openFile(QString()));
    EXPECT_EQ(w.stateLabel()->text(), S("状态：打开失败！"));
    EXPECT_EQ(w.totalLabel()->text(), S("总记录数：0"));

    auto p = previewed(MarcImportWindow::Kind::Books, "cnmarc-books.iso");
    {
        ModalAnswers no;
        no.button(QMessageBox::No).button(QMessageBox::No);
        EXPECT_FALSE(p->importToCatalogue());
        EXPECT_FALSE(p->importToPreCatalogue());
        EXPECT_EQ(no.texts, (QStringList{S("是否确定导入Marc数据到数据库？"),
                                         S("是否确定导入Marc数据到预编库？")}));
    }
    EXPECT_EQ(db().scalar(S("select count(*) from [书籍资料]")).toInt(), 0);

    // No number mapping while numbering is off.
    db().execute(S("delete from [marc] where [导入数据库字段]=?"), {S("书籍编号")});
    auto unnumbered = previewed(MarcImportWindow::Kind::Books, "cnmarc-books.iso");
    unnumbered->numberBox()->setChecked(false);
    ModalAnswers missing;
    missing.button(QMessageBox::Yes).button(QMessageBox::Ok);
    EXPECT_FALSE(unnumbered->importToCatalogue());
    EXPECT_EQ(missing.texts.value(1), S("系统没有检测到【书籍编号】字段，请选择 书籍自动编号！"));
}

TEST_P(MarcImportWindowTest, FailedRecordsAreNamedInTheClosingMessage) {
    auto w = previewed(MarcImportWindow::Kind::Books, "cnmarc-books.iso");
    w->numberBox()->setChecked(false);
    // The first record's numbers are taken already.
    db().execute(S("insert into [书籍资料] ([书籍编号]) values (?)"), {S("T0000101")});
    db().execute(S("create unique index [marc_test_number] on [书籍资料] ([书籍编号])"));
    ModalAnswers answers;
    answers.button(QMessageBox::Yes).button(QMessageBox::Ok);
    EXPECT_TRUE(w->importToCatalogue());
    ASSERT_EQ(answers.texts.size(), 2);
    EXPECT_TRUE(answers.texts[1].startsWith(S("导入数据完成：成功导入2条记录，1条记录导入失败！")))
        << answers.texts[1].toStdString();
    EXPECT_TRUE(answers.texts[1].contains(S("第1条记录（T0000101）")))
        << answers.texts[1].toStdString();
    // The failed record left nothing behind, not even its other copy.
    EXPECT_EQ(db().scalar(S("select count(*) from [书籍资料]")).toInt(), 1 + 4);
}

TEST_P(MarcImportWindowTest, PreCatalogueAndPeriodicals) {
    auto books = previewed(MarcImportWindow::Kind::Books, "cnmarc-books.iso");
    {
        ModalAnswers answers;
        answers.button(QMessageBox::Yes).button(QMessageBox::Ok);
        EXPECT_TRUE(books->importToPreCatalogue());
    }
    EXPECT_EQ(column(S("书籍预编"), S("书籍名称")),
              (QStringList{S("数据库系统概论"), S("红楼梦"), S("算法导论")}));
    EXPECT_EQ(column(S("书籍预编"), S("书籍编号")), (QStringList{{}, {}, {}}));

    auto w = previewed(MarcImportWindow::Kind::Periodicals, "cnmarc-periodicals.iso");
    EXPECT_EQ(w->windowTitle(), S("导入期刊Marc数据"));
    EXPECT_EQ(w->preCatalogueButton(), nullptr);
    EXPECT_EQ(w->callNumberBox(), nullptr);
    EXPECT_EQ(w->priceBox()->text(), S("导入期刊价格"));
    EXPECT_EQ(w->numberBox()->text(), S("期刊自动编号"));
    EXPECT_EQ(w->previewList()->model()->headerData(0, Qt::Horizontal).toString(), S("刊名"));
    ModalAnswers periodicals;
    periodicals.button(QMessageBox::Yes).button(QMessageBox::Ok);
    EXPECT_TRUE(w->importToCatalogue());
    EXPECT_EQ(periodicals.texts.value(1), S("导入数据成功！"));
    EXPECT_EQ(column(S("期刊资料"), S("期刊名称")),
              (QStringList{S("计算机学报"), S("图书情报工作")}));
    EXPECT_EQ(column(S("期刊资料"), S("馆藏总量")), (QStringList{S("1"), S("1")}));
}

CANGSHU_ENGINES(MarcImportWindowTest);

TEST(MarcWindows, TheMainWindowsCommandsOpenTheImportWindows) {
    WindowFactories factories;
    addMarcWindows(factories);
    for (const char* id : {"导入Marc_图书数据", "导入Marc_期刊数据"}) {
        const Command* command = CommandTable::instance().find(S(id));
        ASSERT_NE(command, nullptr) << id;
        EXPECT_NE(factories.find(command->windowKey), nullptr) << id;
    }
}

// A picture of the window for docs/: CANGSHU_SCREENSHOT_DIR=docs marc_window_tests
// --gtest_filter=Screenshots.*
TEST(Screenshots, MarcImport) {
    const QString dir = qEnvironmentVariable("CANGSHU_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "CANGSHU_SCREENSHOT_DIR not set";
    QDir().mkpath(dir);
    auto db = Database::openMemory();
    createSchema(*db);
    seedNewDatabase(*db);
    seedMarcMappings(*db);
    MarcImportWindow w(*db, MarcImportWindow::Kind::Books);
    w.setWindowState(Qt::WindowNoState);
    w.resize(1366, 768);
    w.show();
    {
        ModalAnswers answers;
        answers.button(QMessageBox::Ok);
        ASSERT_TRUE(w.openFile(sample("cnmarc-books.iso")));
    }
    ASSERT_TRUE(w.preview());
    QTest::qWait(50);
    EXPECT_TRUE(w.grab().save(dir + S("/marc-import.png")));
}
