#include "MarcTestSupport.h"

#include "marc/ui/MarcRecordView.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace cangshu;
using namespace cangshu::test;

namespace {

QString text(const QTableWidget& t, int row, int column) {
    const QTableWidgetItem* item = t.item(row, column);
    return item ? item->text() : QString();
}

} // namespace

TEST(MarcRecordViewTest, ShowsFieldsThenTheirSubfields) {
    MarcRecordView view;
    view.setRecord(MarcRecord::fromBytes(chineseBook().toIso2709()));
    // hdr, 001 and five data fields with 2+1+2+3+2 subfields
    ASSERT_EQ(view.rowCount(), 7 + 10);
    EXPECT_EQ(text(view, 0, MarcRecordView::TagColumn), QStringLiteral("hdr"));
    EXPECT_EQ(text(view, 1, MarcRecordView::ValueColumn), QStringLiteral("CAL 012000123456"));
    // 200 comes after 010 (2 subfields) and 101 (1 subfield).
    const int title = 2 + 3 + 2;
    EXPECT_EQ(text(view, title, MarcRecordView::TagColumn), QStringLiteral("200"));
    EXPECT_EQ(text(view, title, MarcRecordView::NameColumn), QStringLiteral("题名与责任说明"));
    EXPECT_EQ(text(view, title, MarcRecordView::IndicatorColumn), QStringLiteral("1_"));
    EXPECT_EQ(text(view, title, MarcRecordView::ValueColumn), QStringLiteral("$a红楼梦$f曹雪芹著"));
    EXPECT_EQ(text(view, title + 1, MarcRecordView::CodeColumn), QStringLiteral("$a"));
    EXPECT_EQ(text(view, title + 1, MarcRecordView::NameColumn), QStringLiteral("正题名"));
    EXPECT_EQ(text(view, title + 1, MarcRecordView::ValueColumn), QStringLiteral("红楼梦"));

    // Read-only; the keyboard moves through the rows.
    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
    view.show();
    view.setFocus();
    view.setCurrentCell(0, 0);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.currentRow(), view.rowCount() - 1);
}

TEST(MarcRecordViewTest, ARecordThatCannotBeReadSaysWhy) {
    MarcRecordView view;
    view.setRecord(MarcRecord::fromBytes(chineseBook().toIso2709().left(30)));
    ASSERT_EQ(view.rowCount(), 1);
    EXPECT_TRUE(text(view, 0, 0).startsWith(QStringLiteral("无法读取该记录：")));
    view.setRecord(MarcRecord::fromBytes(chineseBook().toIso2709()));
    EXPECT_EQ(view.rowCount(), 17);
    EXPECT_EQ(view.columnSpan(0, 0), 1);
}

// docs/marc-record-view.png; written when CANGSHU_WRITE_SCREENSHOTS=1.
TEST(MarcRecordViewTest, Screenshot) {
    MarcRecordView view;
    view.setRecord(MarcRecord::fromBytes(chineseBook().toIso2709()));
    view.resize(900, 560);
    view.show();
    QCoreApplication::processEvents();
    const QPixmap shot = view.grab();
    ASSERT_FALSE(shot.isNull());
    const QString source = qEnvironmentVariable("CANGSHU_SOURCE_DIR");
    if (qEnvironmentVariableIntValue("CANGSHU_WRITE_SCREENSHOTS") == 1 && !source.isEmpty()) {
        QDir().mkpath(source + QStringLiteral("/docs"));
        EXPECT_TRUE(shot.save(source + QStringLiteral("/docs/marc-record-view.png")));
    }
}
