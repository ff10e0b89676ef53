#include "ListTables.h"
#include "queries/Export.h"
#include "support/TestDatabase.h"
#include "widgets/ColumnChooser.h"
#include "widgets/ConditionBuilder.h"
#include "widgets/FieldConditionWindow.h"
#include "widgets/GridReport.h"
#include "widgets/ImportWindow.h"
#include "widgets/ListWindow.h"
#include "widgets/ProgressWindow.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>

using namespace cangshu;

// Pictures of the list tools for docs/: CANGSHU_SCREENSHOT_DIR=docs widgets_tests
// --gtest_filter=Screenshots.*
TEST(Screenshots, ListTools) {
    const QString dir = qEnvironmentVariable("CANGSHU_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "CANGSHU_SCREENSHOT_DIR not set";
    QDir().mkpath(dir);
    auto db = Database::openMemory();
    db->clock().setToday(QDate(2024, 5, 1));
    test::createListTables(*db);
    const QStringList names{"张三", "李四", "王芳", "赵敏", "陈晓明",
                            "刘洋", "周杰", "吴桐", "郑爽", "孙莉"};
    for (int i = 0; i < names.size(); ++i)
        test::addReader(*db, QStringLiteral("R%1").arg(i + 1, 5, 10, QLatin1Char('0')), names.at(i),
                        50 + i * 10, i % 3 == 0);
    const Home home(test::temporaryFolder() + QStringLiteral("/shots"));
    auto grab = [&](QWidget& w, const QString& name) {
        w.show();
        QTest::qWait(50);
        w.grab().save(dir + u'/' + name);
    };

    ListWindowSpec definition;
    definition.title = QStringLiteral("读者资料管理");
    definition.table = QStringLiteral("读者资料");
    definition.orderBy = QStringLiteral("[读者编号]");
    definition.columns = {
        {QStringLiteral("选中"), QStringLiteral("选中"), 40, FooterKind::Label},
        {QStringLiteral("读者编号"), QStringLiteral("读者编号"), 110, FooterKind::Count},
        {QStringLiteral("读者姓名"), QStringLiteral("读者姓名"), 120},
        {QStringLiteral("读者类型"), QStringLiteral("读者类型"), 100},
        {QStringLiteral("押金金额"), QStringLiteral("押金金额"), 90, FooterKind::Sum},
        {QStringLiteral("办证日期"), QStringLiteral("办证日期"), 100},
        {QStringLiteral("读者状态"), QStringLiteral("读者状态"), 80}};
    definition.searchFields = {{QStringLiteral("按读者编号"), QStringLiteral("读者编号")},
                               {QStringLiteral("按读者姓名"), QStringLiteral("读者姓名")}};
    definition.markNumberColumn = QStringLiteral("读者编号");
    definition.reportTitle = QStringLiteral("读者资料报表");
    ListWindow list(*db, home, definition, ListMode::Management);
    list.resize(1100, 600);
    grab(list, QStringLiteral("list-window.png"));

    ColumnChooser chooser(list.grid()->layout());
    grab(chooser, QStringLiteral("column-chooser.png"));

    ConditionBuilder builder(*db, QStringLiteral("读者资料"));
    builder.chooseColumn(QStringLiteral("读者姓名"));
    builder.textValue()->setText(QStringLiteral("张"));
    builder.addTerm();
    builder.chooseColumn(QStringLiteral("押金金额"));
    builder.comparisonBox()->setCurrentText(QStringLiteral(">="));
    builder.numberValue()->setText(QStringLiteral("60"));
    builder.addTerm();
    grab(builder, QStringLiteral("condition-builder.png"));

    FieldConditionWindow find(
        QStringLiteral("读者充押金查询"), {QStringLiteral("读者编号"), QStringLiteral("读者姓名")},
        {QStringLiteral("充押金额")}, {QStringLiteral("充值日期")}, QDate(2024, 5, 1));
    grab(find, QStringLiteral("field-condition-window.png"));

    const QString file = test::temporaryFolder() + QStringLiteral("/shot.xlsx");
    exportQuery(*db, QStringLiteral("select [读者编号],[读者姓名],[押金金额] from [读者资料]"),
                ExportFormat::Xlsx, file);
    ImportWindow import(*db);
    import.setWindowState(Qt::WindowNoState);
    import.resize(1100, 600);
    import.show();
    import.openFile(file);
    import.preview();
    import.chooseTable(QStringLiteral("读者资料"));
    grab(import, QStringLiteral("import-window.png"));

    ProgressWindow progress;
    progress.setRange(100);
    progress.setValue(40);
    progress.setLabel(QStringLiteral("系统正在导入到数据库... 40"));
    grab(progress, QStringLiteral("progress-window.png"));

    GridReportPreview preview(*list.grid(), definition.reportTitle, db->today());
    preview.setWindowState(Qt::WindowNoState);
    preview.resize(1100, 700);
    grab(preview, QStringLiteral("grid-report-preview.png"));
}
