#include "CatalogueFixture.h"
#include "catalogue/CatalogueLookups.h"
#include "catalogue/Publishers.h"

namespace cangshu::test {
namespace {

TEST(PublisherKey, CutsThePublisherElementByItsFirstDigit) {
    const struct {
        const char* isbn;
        const char* key; // nullptr: no lookup
    } cases[] = {
        {"9787532712345", "7-5327"},
        {"9787020012345", "7-02"},
        {"9787302123456", "7-302"},
        {"9787800123456", "7-80012"},
        {"9787412345678", "7-"},
        {"7302123456", "7-302"},
        {"7500012345", "7-5000"},
        {" 9787532712345 ", "7-5327"},
        {"978753271234", nullptr},
        {"75327123456", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const auto key = publisherKeyOfIsbn(QString::fromUtf8(c.isbn));
        if (!c.key)
            EXPECT_FALSE(key.has_value()) << c.isbn;
        else
            EXPECT_EQ(key.value_or(QStringLiteral("<none>")), QString::fromUtf8(c.key)) << c.isbn;
    }
}

TEST(PriceDigits, KeepsDigitsAndStopsUntilCommaOrSemicolon) {
    EXPECT_EQ(priceDigits(QStringLiteral("CNY25.00")), QStringLiteral("25.00"));
    EXPECT_EQ(priceDigits(QStringLiteral("12.5;2册")), QStringLiteral("12.5"));
    EXPECT_EQ(priceDigits(QStringLiteral("￥38元,精装")), QStringLiteral("38"));
    EXPECT_EQ(priceDigits(QStringLiteral("赠送")), QString());
}

class LookupsTest : public CatalogueTest {};

TEST_P(LookupsTest, PublisherOfIsbnForTenAndThirteenCharacters) {
    Publishers publishers(db());
    Publisher shanghai{0, QStringLiteral("7-5327"), QStringLiteral("上海译文出版社"),
                       QStringLiteral("上海")};
    ASSERT_TRUE(publishers.save(shanghai).ok);
    Publisher qinghua{0, QStringLiteral("7-302"), QStringLiteral("清华大学出版社"),
                      QStringLiteral("北京")};
    ASSERT_TRUE(publishers.save(qinghua).ok);
    EXPECT_EQ(publisherOfIsbn(db(), QStringLiteral("9787532712345"))->name,
              QStringLiteral("上海译文出版社"));
    EXPECT_EQ(publisherOfIsbn(db(), QStringLiteral("7302123456"))->place, QStringLiteral("北京"));
    EXPECT_FALSE(publisherOfIsbn(db(), QStringLiteral("9787412345678")));
    EXPECT_FALSE(publisherOfIsbn(db(), QStringLiteral("97873021234")));
}

TEST_P(LookupsTest, PublisherListFiltersAndChecks) {
    Publishers publishers(db());
    Publisher empty;
    EXPECT_EQ(publishers.save(empty).message, QStringLiteral("请输入ISBN！"));
    empty.isbnPrefix = QStringLiteral("7-02");
    EXPECT_EQ(publishers.save(empty).focus, QStringLiteral("name"));
    for (const auto& [isbn, name] :
         {std::pair{"7-5327", "上海译文出版社"}, std::pair{"7-02", "人民文学出版社"},
          std::pair{"7-101", "中华书局"}}) {
        Publisher p{0, QString::fromUtf8(isbn), QString::fromUtf8(name), {}};
        ASSERT_TRUE(publishers.save(p).ok);
    }
    QStringList order;
    for (const Publisher& p : publishers.list())
        order << p.isbnPrefix;
    EXPECT_EQ(order, (QStringList{"7-02", "7-101", "7-5327"}));
    EXPECT_EQ(publishers.list(Publishers::Filter::Name, QStringLiteral("文")).size(), 2);
    EXPECT_EQ(publishers.list(Publishers::Filter::Isbn, QStringLiteral("'")).size(), 0);
    publishers.remove(publishers.list(Publishers::Filter::Isbn, QStringLiteral("101"))[0].id);
    EXPECT_EQ(publishers.list().size(), 2);
}

TEST_P(LookupsTest, SequenceNumbersCountTitlesByTheKindColumns) {
    const QString all = QStringLiteral("书籍名称,出版社名,作者信息,标准ISBN");
    // Class I247: three rows of two titles (two copies of one); I24 has one row.
    for (const auto& [cls, title, isbn] :
         {std::tuple{"I247", "围城", "111"}, std::tuple{"I247", "围城", "111"},
          std::tuple{"I247", "围城", "222"}, std::tuple{"I24", "家", "333"}})
        addBook({{QStringLiteral("中图分类"), QString::fromUtf8(cls)},
                 {QStringLiteral("书籍名称"), QString::fromUtf8(title)},
                 {QStringLiteral("标准ISBN"), QString::fromUtf8(isbn)}});
    const struct {
        const char* cls;
        const char* kinds;
        const char* expected;
    } cases[] = {
        {"I247", "书籍名称,出版社名,作者信息,标准ISBN", "3"},
        {"I247", "书籍名称", "2"},                // the two ISBNs are one title by name alone
        {"I247", "书籍名称,no_such_column", "3"}, // unknown columns fall back to the usual four
        {"I24", "书籍名称", "2"},
        {"Z", "书籍名称", "1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nextSequenceNumber(db(), QString::fromUtf8(c.cls), QString::fromUtf8(c.kinds)),
                  QString::fromUtf8(c.expected))
            << c.cls << " " << c.kinds;
    EXPECT_EQ(storedKindCondition(db()), all);
    EXPECT_EQ(callNumber(QStringLiteral("I247"), QStringLiteral("3")), QStringLiteral("I247/3"));
}

// An import numbers title after title from what it stored, without counting again; the
// numbers must be those of a count before each row, nulls and non-text kinds included.
TEST_P(LookupsTest, BatchSequenceNumbersGiveWhatACountBeforeEachRowGives) {
    const qint64 kept = addBook({{QStringLiteral("中图分类"), QStringLiteral("K2")},
                                 {QStringLiteral("书籍名称"), QStringLiteral("甲")},
                                 {QStringLiteral("书籍价格"), 10}});
    const QStringList columns{QStringLiteral("中图分类"), QStringLiteral("书籍名称"),
                              QStringLiteral("书籍价格")};
    const QList<QVariantList> rows{
        {QStringLiteral("K2"), QStringLiteral("甲"), 10},
        {QStringLiteral("K2"), QStringLiteral("甲"), 12.5},
        {QStringLiteral("K2"), QVariant(QMetaType::fromType<QString>()), 10},
        {QStringLiteral("K2"), QVariant(QMetaType::fromType<QString>()), 10},
        {QStringLiteral("K2"), QStringLiteral(""), 10}};
    for (const char* kinds : {"书籍名称,出版社名,作者信息,标准ISBN", "书籍名称,书籍价格"}) {
        const QString kind = QString::fromUtf8(kinds);
        SequenceNumbers batch(db(), kind);
        for (const QVariantList& values : rows) {
            ASSERT_EQ(batch.next(QStringLiteral("K2")),
                      nextSequenceNumber(db(), QStringLiteral("K2"), kind))
                << kinds;
            QVariantMap book;
            for (int i = 0; i < columns.size(); ++i)
                book.insert(columns[i], values[i]);
            batch.stored(QStringLiteral("K2"), addBook(book), columns, values);
        }
        EXPECT_EQ(batch.next(QStringLiteral("K2")),
                  nextSequenceNumber(db(), QStringLiteral("K2"), kind))
            << kinds;
        db().execute(QStringLiteral("delete from [书籍资料] where [ID]<>?"), {kept});
    }
}

TEST_P(LookupsTest, ClassLookupPrefersTheTreeOverTheReferenceTable) {
    addClass(0, QStringLiteral("TP3"), QStringLiteral("计算技术"));
    db().execute(QStringLiteral("insert into [ztfl] ([ztcode],[ztname]) values (?,?),(?,?)"),
                 {QStringLiteral("TP3"), QStringLiteral("计算机"), QStringLiteral("O1"),
                  QStringLiteral("数学")});
    addBook({{QStringLiteral("中图分类"), QStringLiteral("TP3")},
             {QStringLiteral("书籍名称"), QStringLiteral("算法")}});
    const auto tp = lookupClass(db(), QStringLiteral("TP3"), storedKindCondition(db()));
    ASSERT_TRUE(tp);
    EXPECT_EQ(tp->name, QStringLiteral("计算技术"));
    EXPECT_EQ(tp->callNumber, QStringLiteral("TP3/2"));
    const auto o = lookupClass(db(), QStringLiteral("O1"), storedKindCondition(db()));
    ASSERT_TRUE(o);
    EXPECT_EQ(o->name, QStringLiteral("数学"));
    EXPECT_EQ(o->sequence, QStringLiteral("1"));
    EXPECT_FALSE(lookupClass(db(), QStringLiteral("X9"), storedKindCondition(db())));
}

TEST_P(LookupsTest, RecallCopiesCataloguingDataButKeepsTheRecordsOwnColumns) {
    addBook({{QStringLiteral("书籍编号"), QStringLiteral("B1")},
             {QStringLiteral("书籍名称"), QStringLiteral("边城")},
             {QStringLiteral("标准ISBN"), QStringLiteral("9787020012345")},
             {QStringLiteral("作者信息"), QStringLiteral("沈从文")},
             {QStringLiteral("索书号"), QStringLiteral("I246/7")},
             {QStringLiteral("种次号"), QStringLiteral("7")},
             {QStringLiteral("藏书总量"), 3}});
    const auto found = recallCandidates(db(), RecallBy::Isbn, QStringLiteral("9787020012345"));
    ASSERT_EQ(found.size(), 1);
    QVariantMap edited{{QStringLiteral("书籍编号"), QStringLiteral("B2")},
                       {QStringLiteral("标准ISBN"), QStringLiteral("9787020012345")},
                       {QStringLiteral("藏书总量"), 1}};
    applyRecall(edited, found[0], RecallBy::Isbn);
    EXPECT_EQ(edited.value(QStringLiteral("书籍编号")), QStringLiteral("B2"));
    EXPECT_EQ(edited.value(QStringLiteral("藏书总量")).toInt(), 1);
    EXPECT_EQ(edited.value(QStringLiteral("书籍名称")), QStringLiteral("边城"));
    EXPECT_EQ(edited.value(QStringLiteral("索书号")), QStringLiteral("I246/7"));
    EXPECT_TRUE(recallCandidates(db(), RecallBy::Title, QStringLiteral("边城'")).isEmpty());
    EXPECT_EQ(
        recallCandidates(db(), RecallBy::Title, QStringLiteral("边城"), QStringLiteral("书籍预编"))
            .size(),
        0);
}

CANGSHU_ENGINES(LookupsTest);

} // namespace
} // namespace cangshu::test
