#include "queries/Conditions.h"
#include "ListTables.h"
#include "support/TestDatabase.h"

using namespace cangshu;

namespace {
ConditionTerm term(const QString& sql, const QString& relation) {
    return {{}, {}, {}, relation, sql};
}
} // namespace

TEST(Conditions, TermsJoinWithoutParentheses) {
    EXPECT_EQ(joinTerms({term("A", kOr), term("B", kAnd), term("C", kOr)}),
              QStringLiteral("A or B and C"));
    EXPECT_EQ(joinTerms({term("A", kOr)}), QStringLiteral("A"));
    EXPECT_EQ(joinTerms({}), QString());
    EXPECT_EQ(orderedCondition(QStringLiteral("A"), {sortTerm(QStringLiteral("书名"), false),
                                                     sortTerm(QStringLiteral("价格"), true)}),
              QStringLiteral("A order by [书名],[价格] desc"));
    EXPECT_EQ(orderedCondition(QStringLiteral("A"), {}), QStringLiteral("A"));
}

TEST(Conditions, TermsQuoteValuesAndCheckInput) {
    const QDate may(2024, 5, 1);
    struct Case {
        ColumnKind kind;
        QString column, comparison, value, sql, message;
    };
    const QList<Case> cases{
        {ColumnKind::Text, "读者姓名", kFuzzyMatch, "O'Brien", "[读者姓名] like '%O''Brien%'", {}},
        {ColumnKind::Text,
         "读者姓名",
         "<>",
         "a'; drop table x; --",
         "[读者姓名]<>'a''; drop table x; --'",
         {}},
        {ColumnKind::Number, "押金金额", ">=", " 12.50 ", "[押金金额]>=12.5", {}},
        {ColumnKind::Date, "入库时间", ">=", {}, "[入库时间]>='2024-05-01'", {}},
        {ColumnKind::Number, "押金金额", ">", "1 or 1=1", {}, "请输入查询值！"},
        {ColumnKind::Text, "读者姓名", "=", "", {}, "请输入查询值！"},
        {ColumnKind::Text, "", "=", "x", {}, "请选择查询字段！"},
        {ColumnKind::Text, "a] or [b", "=", "x", {}, "请选择查询字段！"},
        {ColumnKind::Text, "读者姓名", "", "x", {}, "请选择比较符！"},
        {ColumnKind::Text, "读者姓名", ">", "x", {}, "请选择比较符！"},
    };
    for (const Case& c : cases) {
        const TermOutcome t = makeTerm(c.kind, c.column, c.comparison, c.value, may, kOr);
        EXPECT_EQ(t.ok, c.message.isEmpty()) << c.sql.toStdString();
        EXPECT_EQ(t.term.sql, c.sql);
        EXPECT_EQ(t.message, c.message);
    }
    EXPECT_EQ(makeFieldTerm(ColumnKind::Text, "x", "=", "", may, kAnd).message,
              QStringLiteral("查询内容不能为空！"));
    EXPECT_EQ(makeFieldTerm(ColumnKind::Text, "", "=", "v", may, kAnd).message,
              QStringLiteral("查询字段不能为空！"));
}

class ConditionsDbTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        test::createListTables(db());
    }
};

TEST_P(ConditionsDbTest, BuiltConditionsRunWithAwkwardValues) {
    test::addReader(db(), QStringLiteral("R1"), QStringLiteral("O'Brien"), 10);
    test::addReader(db(), QStringLiteral("R2"), QStringLiteral("张三"), 20);
    test::addReader(db(), QStringLiteral("R3"), QStringLiteral("李四"), 30);
    const QList<ConditionTerm> terms{
        makeTerm(ColumnKind::Text, "读者姓名", kFuzzyMatch, "o'b", {}, kOr,
                 db().dialect().likeOperator())
            .term,
        makeTerm(ColumnKind::Number, "押金金额", ">", "15", {}, kAnd).term,
        makeTerm(ColumnKind::Text, "读者编号", "<>", "R3", {}, kAnd).term,
    };
    const QString sql =
        QStringLiteral("select [读者编号] from [读者资料] where %1 order by [读者编号]")
            .arg(joinTerms(terms));
    QStringList got;
    for (const QSqlRecord& r : db().rows(sql))
        got << r.value(0).toString();
    // O'Brien matches the first term; of the others only R2 has both 押金>15 and not R3.
    EXPECT_EQ(got, (QStringList{QStringLiteral("R1"), QStringLiteral("R2")}));
}

TEST_P(ConditionsDbTest, ColumnsOfSeveralTablesLastTableFirst) {
    const BuilderColumns c = builderColumns(db(), QStringLiteral("读者资料,书籍借阅清单"));
    ASSERT_GE(c.names.size(), 4);
    EXPECT_EQ(c.names.first(), QStringLiteral("序号"));
    EXPECT_FALSE(c.names.contains(QStringLiteral("ID"), Qt::CaseInsensitive));
    EXPECT_FALSE(c.names.contains(QStringLiteral("选中")));
    EXPECT_FALSE(c.names.contains(QStringLiteral("Image"), Qt::CaseInsensitive));
    EXPECT_EQ(c.kinds.value(QStringLiteral("读者姓名")), ColumnKind::Text);
    EXPECT_EQ(c.kinds.value(QStringLiteral("押金金额")), ColumnKind::Number);
    EXPECT_EQ(c.kinds.value(QStringLiteral("借阅次数")), ColumnKind::Number);
    EXPECT_EQ(c.kinds.value(QStringLiteral("办证日期")), ColumnKind::Date);
    EXPECT_EQ(c.owner.value(QStringLiteral("读者姓名")), QStringLiteral("读者资料"));

    test::addReader(db(), QStringLiteral("R1"), QStringLiteral("乙"));
    test::addReader(db(), QStringLiteral("R2"), QStringLiteral("甲"));
    test::addReader(db(), QStringLiteral("R3"), QStringLiteral("甲"));
    EXPECT_EQ(distinctValues(db(), QStringLiteral("读者资料"), QStringLiteral("读者姓名")).size(),
              2);
}

TEST_P(ConditionsDbTest, SavedConditionNamesAreUniquePerTableList) {
    const QString readers = QStringLiteral("读者资料");
    const QString history = QStringLiteral("书籍资料,读者资料,书籍借阅清单");
    SaveOutcome s =
        saveCondition(db(), readers, QStringLiteral("欠款"), QStringLiteral("[押金金额]<0"));
    EXPECT_TRUE(s.ok);
    EXPECT_EQ(s.message, QStringLiteral("查询条件保存成功！"));
    s = saveCondition(db(), readers, QStringLiteral("欠款"), QStringLiteral("[押金金额]<1"));
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, QStringLiteral("此名称已经存在！请保存为其他名称！"));
    EXPECT_TRUE(saveCondition(db(), history, QStringLiteral("欠款"), QStringLiteral("x")).ok);
    EXPECT_EQ(saveCondition(db(), readers, QStringLiteral("空"), QStringLiteral("  ")).message,
              kEmptyCondition);

    const QList<SavedCondition> saved = savedConditions(db(), readers);
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved.first().condition, QStringLiteral("[押金金额]<0"));
    deleteSavedCondition(db(), readers, QStringLiteral("欠款"));
    EXPECT_TRUE(savedConditions(db(), readers).isEmpty());
    EXPECT_EQ(savedConditions(db(), history).size(), 1);
}

CANGSHU_ENGINES(ConditionsDbTest);
