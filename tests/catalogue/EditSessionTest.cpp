#include "CatalogueFixture.h"
#include "catalogue/BookEditSession.h"
#include "core/Numbering.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

namespace cangshu::test {
namespace {

class EditSessionTest : public CatalogueTest {
protected:
    qint64 counter() {
        return db().scalar(QStringLiteral("select [编号值] from [系统信息]")).toLongLong();
    }
    BookEditSession session(bool oneToOne = true) {
        return BookEditSession(db(), oneToOne,
                               QStringLiteral("书籍名称,出版社名,作者信息,标准ISBN"));
    }
    QList<QSqlRecord> books() {
        return db().rows(QStringLiteral("select [书籍编号],[当前本数],[种次号],[索书号],[藏书总量],"
                                        "[馆内剩余],[拼音] from [书籍资料] order by [ID]"));
    }
};

TEST_P(EditSessionTest, CounterAdvancesOnlyForStoredIssuedNumbers) {
    const qint64 start = counter();
    BookEditSession s = session();
    s.beginInsert();
    const QString issued = s.issueNumber();
    EXPECT_EQ(s.issueNumber(), issued); // asking twice gives the same number
    EXPECT_EQ(counter(), start);
    EXPECT_EQ(s.post().message, QStringLiteral("请输入书籍名称！"));
    s.setValue(QStringLiteral("书籍名称"), QStringLiteral("围城"));
    ASSERT_TRUE(s.post().ok);
    EXPECT_EQ(counter(), start + 1);
    EXPECT_NE(Numbering(db()).nextNumber(NumberKind::Book), issued);

    // A typed number, or an issued one typed over, leaves the counter alone.
    for (bool issueFirst : {false, true}) {
        s.beginInsert();
        if (issueFirst)
            s.issueNumber();
        s.setValue(QStringLiteral("书籍编号"), QStringLiteral("TYPED%1").arg(issueFirst));
        s.setValue(QStringLiteral("书籍名称"), QStringLiteral("家"));
        ASSERT_TRUE(s.post().ok);
        EXPECT_EQ(counter(), start + 1);
    }
    s.beginInsert();
    const Outcome noNumber = s.post();
    EXPECT_EQ(noNumber.message, QStringLiteral("请输入书籍编号！"));
    EXPECT_EQ(noNumber.focus, QStringLiteral("书籍编号"));
    EXPECT_EQ(books().size(), 3);
    EXPECT_EQ(books()[0].value(6).toString(), QStringLiteral("WC"));
}

TEST_P(EditSessionTest, OptionsPanelStoresCopiesAndVolumes) {
    struct Case {
        const char* name;
        SaveOptions options;
        bool oneToOne;
        bool issue;
        QStringList volumes;
        QStringList sequences;
        int total;
    };
    SaveOptions copies{SaveOptions::Kind::Copies, 3, {}, false};
    SaveOptions two{SaveOptions::Kind::TwoParts, 0, {}, false};
    SaveOptions vols{SaveOptions::Kind::Volumes, 3, QStringLiteral("集"), true};
    const QList<Case> cases{
        {"copies, one row per copy", copies, true, true, {"", "", ""}, {"5", "5", "5"}, 1},
        {"copies of a title", copies, false, true, {""}, {"5"}, 3},
        {"upper and lower", two, true, false, {"上册", "下册"}, {"5", "5"}, 1},
        {"volumes, 种次号 rising",
         vols,
         true,
         true,
         {"第1集", "第2集", "第3集"},
         {"5", "6", "7"},
         1},
    };
    for (const Case& c : cases) {
        db().execute(QStringLiteral("delete from [书籍资料]"));
        const qint64 start = counter();
        BookEditSession s = session(c.oneToOne);
        s.beginInsert();
        if (c.issue)
            s.issueNumber();
        else
            s.setValue(QStringLiteral("书籍编号"), QStringLiteral("T1"));
        s.setValue(QStringLiteral("书籍名称"), QStringLiteral("史记"));
        s.setValue(QStringLiteral("中图分类"), QStringLiteral("K20"));
        s.setValue(QStringLiteral("种次号"), QStringLiteral("5"));
        s.recomputeCallNumber();
        ASSERT_TRUE(s.post(c.options).ok) << c.name;
        const auto rows = books();
        ASSERT_EQ(rows.size(), c.volumes.size()) << c.name;
        QSet<QString> numbers;
        for (int i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].value(1).toString(), c.volumes[i]) << c.name;
            EXPECT_EQ(rows[i].value(2).toString(), c.sequences[i]) << c.name;
            EXPECT_EQ(rows[i].value(3).toString(), QStringLiteral("K20/") + c.sequences[i])
                << c.name;
            EXPECT_EQ(rows[i].value(4).toInt(), c.total) << c.name;
            EXPECT_EQ(rows[i].value(5).toInt(), c.total) << c.name;
            numbers.insert(rows[i].value(0).toString());
        }
        // Issued numbers: one per record, the counter moved once per record.
        EXPECT_EQ(numbers.size(), c.issue ? rows.size() : 1) << c.name;
        EXPECT_EQ(counter(), start + (c.issue ? rows.size() : 0)) << c.name;
        EXPECT_EQ(s.state(), BookEditSession::State::Browse);
    }
}

TEST_P(EditSessionTest, CopyThisKeepsTheDataForTheNextBook) {
    BookEditSession s = session();
    s.beginInsert();
    s.issueNumber();
    s.setValue(QStringLiteral("书籍名称"), QStringLiteral("红楼梦"));
    s.chooseClass(QStringLiteral("I242"), QStringLiteral("古典小说"));
    EXPECT_EQ(s.text(QStringLiteral("索书号")), QStringLiteral("I242/1"));
    const QString first = s.text(QStringLiteral("书籍编号"));
    ASSERT_TRUE(s.post({SaveOptions::Kind::CopyThis, 0, {}, false}).ok);
    EXPECT_EQ(s.state(), BookEditSession::State::Insert);
    EXPECT_NE(s.text(QStringLiteral("书籍编号")), first);
    EXPECT_EQ(s.text(QStringLiteral("书籍名称")), QStringLiteral("红楼梦"));
    EXPECT_EQ(s.text(QStringLiteral("索书号")), QStringLiteral("I242/1"));
    ASSERT_TRUE(s.post().ok);
    EXPECT_EQ(books().size(), 2);
    EXPECT_EQ(s.state(), BookEditSession::State::Browse);
}

TEST_P(EditSessionTest, CopyingALentBookStartsWithAllCopiesOnTheShelf) {
    BookEditSession s = session(false);
    s.beginInsert();
    const QVariantMap source{{QStringLiteral("书籍名称"), QStringLiteral("三国演义")},
                             {QStringLiteral("书籍编号"), QStringLiteral("OLD")},
                             {QStringLiteral("藏书总量"), 4},
                             {QStringLiteral("馆内剩余"), 1},
                             {QStringLiteral("在馆状态"), QStringLiteral("借出")},
                             {QStringLiteral("入库时间"), QDate(2001, 1, 1)}};
    s.copyFrom(source);
    EXPECT_EQ(s.value(QStringLiteral("馆内剩余")).toInt(), 4);
    EXPECT_EQ(s.text(QStringLiteral("在馆状态")), QStringLiteral("在馆"));
    EXPECT_EQ(s.value(QStringLiteral("入库时间")).toDate(), today());
    EXPECT_TRUE(s.text(QStringLiteral("书籍编号")).isEmpty());
}

TEST_P(EditSessionTest, ChangeUpdatesTheRowAndCoversAreStoredAsJpeg) {
    const qint64 id = addBook({{QStringLiteral("书籍编号"), QStringLiteral("E1")},
                               {QStringLiteral("书籍名称"), QStringLiteral("旧名")}});
    BookEditSession s = session();
    ASSERT_TRUE(s.beginEdit(id));
    s.setValue(QStringLiteral("书籍名称"), QStringLiteral("新名"));
    s.setValue(QStringLiteral("书籍价格"), QStringLiteral("12.50"));
    EXPECT_EQ(s.setCoverImage("not a picture").message, QStringLiteral("照片格式不对！"));
    EXPECT_FALSE(s.hasCover());
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    ASSERT_TRUE(s.setCoverImage(png, QStringLiteral("c.png")).ok);
    ASSERT_TRUE(s.post().ok);
    EXPECT_TRUE(s.saved());
    auto row = db().row(QStringLiteral("select * from [书籍资料] where [ID]=?"), {id});
    EXPECT_EQ(row->value(QStringLiteral("书籍名称")).toString(), QStringLiteral("新名"));
    EXPECT_DOUBLE_EQ(row->value(QStringLiteral("书籍价格")).toDouble(), 12.5);
    EXPECT_TRUE(row->value(QStringLiteral("bookimage")).toByteArray().startsWith("\xFF\xD8"));
    EXPECT_EQ(row->value(QStringLiteral("图片")).toString(), QStringLiteral("c.png"));

    ASSERT_TRUE(s.beginEdit(id));
    s.clearCover();
    ASSERT_TRUE(s.post().ok);
    row = db().row(QStringLiteral("select * from [书籍资料] where [ID]=?"), {id});
    EXPECT_TRUE(row->value(QStringLiteral("bookimage")).isNull());
}

CANGSHU_ENGINES(EditSessionTest);

} // namespace
} // namespace cangshu::test
