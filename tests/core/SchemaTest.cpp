#include "core/Schema.h"
#include "support/TestDatabase.h"

#include <map>

using namespace cangshu;
using namespace Qt::StringLiterals;

namespace {

QStringList words(const QString& spaced) {
    return spaced.split(u' ', Qt::SkipEmptyParts);
}

const QString kBook =
    u"书籍编号 书籍名称 当前本数 标准ISBN 作者信息 书籍价格 中图分类 分类名称 种次号 索书号 "
    u"出版社名 "
    "出版地点 出版日期 书籍页码 藏书总量 馆内剩余 存放位置 馆藏地 书籍开本 所属语种 印刷版面 密级 "
    "配送物品 书籍版次 所属丛书 入库时间 备注信息 内容简介 在馆状态 书籍流水 借出次数 图片 "
    "bookimage "
    "拼音 收藏次数 类型 年龄"_s;
const QString kPeriodical =
    u"期刊编号 期刊名称 标准ISSN 主编信息 期刊价格 中图分类 分类名称 出版社名 出版地点 期刊刊次 "
    "总刊次数 馆藏总量 馆内剩余 期刊刊期 期刊开本 所属语种 存放位置 配送物品 期刊页数 入库时间 "
    "备注信息 在馆状态 借出次数 图片 统一刊号 订购号 地址 拼音"_s;
const QString kWithdrawal = u" 注销日期 注销原因 操作员 备注"_s;

// Every table and column the system names, written out independently of the definition.
const std::map<QString, QString>& expectedSchema() {
    static const std::map<QString, QString> m{
        {u"管理员"_s, u"用户名 密码 系统设置 系统管理 基本操作 系统查询 统计分析 报表打印"_s},
        {u"系统信息"_s,
         u"图书馆名称 预约天数 编号宽度 前置字符 后置字符 编号值 期刊编号宽度 期刊前置字符 "
         "期刊后置字符 期刊编号值 读者编号宽度 读者前置字符 读者后置字符 读者编号值"_s},
        {u"参数设置"_s, u"有效期 书籍罚款 期刊罚款 分页记录 种类条件 显示超期 一对一 还书"_s},
        {u"查询条件"_s, u"表名称 条件名称 条件内容"_s},
        {u"barcode"_s, u"条形码 上方标题 下方描述"_s},
        {u"馆藏地"_s, u"编号 馆藏地"_s},
        {u"单位部门"_s, u"编号 单位部门"_s},
        {u"存放位置"_s, u"存放位置"_s},
        {u"所属语种"_s, u"所属语种"_s},
        {u"书籍开本"_s, u"书籍开本"_s},
        {u"印刷版面"_s, u"印刷版面"_s},
        {u"区域类型"_s, u"区域类型"_s},
        {u"商品类型"_s, u"商品类型"_s},
        {u"密级"_s, u"密级"_s},
        {u"书籍资料"_s, u"ID 选中 "_s + kBook},
        {u"书籍预编"_s,
         u"ID 书籍编号 选中 标准ISBN 书籍名称 当前本数 作者信息 中图分类 分类名称 书籍价格 "
         u"出版社名 "
         "出版地点 出版日期 书籍页码 书籍开本 所属语种 配送物品 书籍版次 所属丛书 印刷版面 内容简介"_s},
        {u"书籍注销"_s, u"ID "_s + kBook + kWithdrawal},
        {u"期刊资料"_s, u"ID 选中 "_s + kPeriodical},
        {u"期刊注销"_s, u"ID "_s + kPeriodical + kWithdrawal},
        {u"期刊目录"_s, u"ID 期刊名称 期刊刊次 标题 关键词 作者 备注 作者2 作者3"_s},
        {u"音像制品"_s, u"ID 编号 名称 ISBN 主演 导演 价格 分类号 分类名称 出版社名 出版地点 "
                        u"出版日期 总数量 剩余数量 "
                        "存放位置 密级 商品类型 区域类型 印刷版面 所属语种 配送物品 入库时间 "
                        "备注信息 路径 图片 在馆状态 "
                        "借出次数 选中"_s},
        {u"图书类型"_s, u"ID 父号 分类号 分类名称"_s},
        {u"音像制品类型"_s, u"ID 父号 分类号 分类名称"_s},
        {u"ztfl"_s, u"ztcode ztname"_s},
        {u"出版社"_s, u"ISBN 出版社名称 出版地"_s},
        {u"书籍发放"_s, u"ID 读者编号 读者姓名 读者类型 书籍编号 书籍名称 标准ISBN 作者信息 "
                        u"中图分类 分类名称 出版社名 "
                        "出版地点 出版日期 书籍页码 书籍价格 发放数量 价值金额 发放日期 操作员"_s},
        {u"marc"_s, u"序号 marc字段 标识 列宽 图书字段 导入数据库字段 导入标识"_s},
        {u"marcqk"_s, u"序号 marc字段 标识 列宽 期刊字段 导入数据库字段 导入标识"_s},
        {u"书籍分类统计"_s, u"书籍类型 种类 总数量 在馆数量 借出数量 总价格 比例"_s},
        {u"读者资料"_s,
         u"读者编号 读者姓名 拼音 读者类型 读者性别 单位部门 押金金额 身份证号 出生日期 办证日期 "
         u"截止日期 "
         "无限制 联系电话 电子邮件 联系地址 读者状态 照片 Image 备注信息 借阅次数 选中"_s},
        {u"读者类型"_s,
         u"类型名称 书籍借出册数 书籍借出天数 书籍续借次数 书籍续借天数 杂志借出册数 杂志借出天数 "
         "期刊续借次数 期刊续借天数 书籍每日租金 书籍超期罚款 期刊每日租金 期刊超期罚款 无限制"_s},
        {u"书籍借阅清单"_s, u"序号 读者索引 书籍索引 借阅日期 应还日期 操作员 允许续借 已经续借"_s},
        {u"期刊借阅清单"_s, u"序号 读者索引 期刊索引 借阅日期 应还日期 操作员 允许续借 已经续借"_s},
        {u"音像借阅清单"_s, u"序号 读者索引 音像索引 借阅日期 应还日期 操作员"_s},
        {u"书籍归还清单"_s,
         u"序号 读者索引 书籍索引 借阅日期 归还日期 借出天数 租金金额 超期天数 罚款金额 操作员"_s},
        {u"期刊归还清单"_s,
         u"序号 读者索引 期刊索引 借阅日期 归还日期 借出天数 租金金额 超期天数 罚款金额 操作员"_s},
        {u"音像归还清单"_s, u"序号 读者索引 音像索引 借阅日期 归还日期 借出天数 操作员"_s},
        {u"读者预定"_s,
         u"书籍索引 读者编号 读者姓名 联系电话 书籍名称 当前本数 中图分类 预定日期 终止日期"_s},
        {u"申请归还"_s,
         u"序号 读者编号 读者姓名 单位部门 联系电话 书籍名称 中图分类 书籍编号 书籍索引 申请日期"_s},
        {u"丢失罚款"_s, u"读者编号 读者姓名 读者性别 读者类型 罚款金额 书籍名称 罚款日期 备注"_s},
        {u"读者充押金"_s, u"序号 读者编号 读者姓名 读者类型 充押金额 充值日期 操作员 备注"_s},
        {u"我的收藏"_s, u"序号 读者编号 书籍索引"_s},
        {u"我的借书车"_s, u"序号 读者编号 书籍索引"_s},
        {u"我的评论"_s, u"序号 读者编号 索引号 时间 被顶次数 标题 内容 评论对象"_s},
        {u"关于我们"_s, u"ID 关于我们 阅读次数"_s},
        {u"加入我们"_s, u"ID 加入我们 阅读次数"_s},
        {u"联系我们"_s, u"ID 联系我们 阅读次数"_s},
        {u"选书指南"_s, u"ID 选书指南 阅读次数"_s},
        {u"阅读讲堂"_s, u"ID 标题 标题2 日期 时间 阅读次数 内容"_s},
        {u"常见问题"_s, u"ID 标题 标题2 日期 时间 阅读次数 内容"_s},
        {u"userlogin"_s, u"ID username userpass"_s},
        {u"公告栏"_s, u"阅读次数"_s},
    };
    return m;
}

class SchemaTest : public test::EngineTest {};

TEST_P(SchemaTest, HasEveryTableAndColumnOfTheSystemAndNoOthers) {
    createSchema(db());
    QStringList expectedTables;
    for (const auto& [table, columns] : expectedSchema()) {
        expectedTables << db().dialect().storedName(table);
        ASSERT_TRUE(db().hasTable(table)) << table.toStdString();
        for (const QString& c : words(columns))
            EXPECT_TRUE(db().hasColumn(table, c)) << table.toStdString() << "." << c.toStdString();
    }
    QStringList actual = db().tables();
    actual.sort();
    expectedTables.sort();
    EXPECT_EQ(actual, expectedTables);
}

TEST_P(SchemaTest, EveryTableHasAGeneratedKeyAndNewRowsGetTheirDefaults) {
    createSchema(db());
    // Tables the system gives no key of their own still number their rows.
    for (const QString& table : {u"读者预定"_s, u"丢失罚款"_s, u"所属语种"_s, u"管理员"_s})
        EXPECT_TRUE(db().hasColumn(table, schemaTable(table)->keyColumn())) << table.toStdString();
    const qint64 a = db().insert(u"insert into [读者预定] ([书籍索引]) values (?)"_s, {7}, u"ID"_s);
    const qint64 b = db().insert(u"insert into [读者预定] ([书籍索引]) values (?)"_s, {7}, u"ID"_s);
    EXPECT_NE(a, b);
    db().execute(u"insert into [所属语种] ([所属语种]) values (?)"_s, {u"中文"_s});

    const qint64 id =
        db().insert(u"insert into [书籍资料] ([书籍编号]) values (?)"_s, {u"00000001"_s}, u"ID"_s);
    const auto r = db().row(u"select * from [书籍资料] where [ID]=?"_s, {id});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->value(u"在馆状态"_s).toString(), u"在馆"_s);
    EXPECT_EQ(r->value(u"藏书总量"_s).toInt(), 1);
    EXPECT_EQ(r->value(u"馆内剩余"_s).toInt(), 1);
    EXPECT_EQ(r->value(u"借出次数"_s).toInt(), 0);
    EXPECT_EQ(r->value(u"收藏次数"_s).toInt(), 0);
    EXPECT_FALSE(r->value(u"选中"_s).toBool());
    EXPECT_EQ(db().scalar(u"select count(*) from [书籍资料] where [选中]=FALSE"_s).toInt(), 1);
}

TEST_P(SchemaTest, OperatorNamesAndReaderNumbersAreUnique) {
    createSchema(db());
    db().execute(u"insert into [管理员] ([用户名],[密码]) values ('a','x')"_s);
    EXPECT_THROW(db().execute(u"insert into [管理员] ([用户名],[密码]) values ('a','y')"_s),
                 DatabaseError);
    db().execute(u"insert into [读者资料] ([读者编号]) values ('00000001')"_s);
    EXPECT_THROW(db().execute(u"insert into [读者资料] ([读者编号]) values ('00000001')"_s),
                 DatabaseError);
}

TEST_P(SchemaTest, MoneyAndTextKeepTheirValues) {
    createSchema(db());
    const QString title(300, u'书'); // longer than any short text column, fits the title
    db().execute(u"insert into [书籍资料] ([书籍名称],[书籍价格],[入库时间]) values (?,?,?)"_s,
                 {title.left(255), 39.8, QDate(2024, 3, 1)});
    const auto r = db().row(u"select [书籍名称],[书籍价格],[入库时间] from [书籍资料]"_s);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->value(0).toString(), title.left(255));
    EXPECT_DOUBLE_EQ(r->value(1).toDouble(), 39.8);
    EXPECT_EQ(r->value(2).toDate(), QDate(2024, 3, 1));
}

// Lookups and joins of the circulation and catalogue windows are served by an index.
TEST_P(SchemaTest, LookupColumnsAreIndexed) {
    createSchema(db());
    const std::pair<QString, QString> lookups[] = {
        {u"书籍资料"_s, u"书籍编号"_s},     {u"书籍资料"_s, u"标准ISBN"_s},
        {u"书籍资料"_s, u"中图分类"_s},     {u"书籍资料"_s, u"拼音"_s},
        {u"期刊资料"_s, u"期刊编号"_s},     {u"音像制品"_s, u"编号"_s},
        {u"读者资料"_s, u"读者编号"_s},     {u"读者资料"_s, u"拼音"_s},
        {u"书籍借阅清单"_s, u"读者索引"_s}, {u"书籍借阅清单"_s, u"书籍索引"_s},
        {u"书籍归还清单"_s, u"读者索引"_s}, {u"书籍归还清单"_s, u"书籍索引"_s},
        {u"期刊借阅清单"_s, u"期刊索引"_s}, {u"期刊归还清单"_s, u"期刊索引"_s},
        {u"音像借阅清单"_s, u"音像索引"_s}, {u"读者预定"_s, u"书籍索引"_s},
        {u"读者预定"_s, u"终止日期"_s},     {u"图书类型"_s, u"父号"_s},
        {u"ztfl"_s, u"ztcode"_s},           {u"出版社"_s, u"ISBN"_s},
        {u"读者类型"_s, u"类型名称"_s},
    };
    for (const auto& [table, column] : lookups) {
        bool indexed;
        if (db().isPostgres()) {
            // The server quotes the name in the definition unless it is plain ASCII.
            const QString name = db().dialect().storedName(column);
            indexed = db().scalar(u"select count(*) from pg_indexes where tablename=? and "
                                  "(indexdef like ? or indexdef like ?)"_s,
                                  {db().dialect().storedName(table), u"%(\""_s + name + u"\"%"_s,
                                   u"%("_s + name + u")%"_s})
                          .toInt() > 0;
        } else {
            QString plan;
            auto q =
                db().run(u"EXPLAIN QUERY PLAN select * from [%1] where [%2]=?"_s.arg(table, column),
                         {u"x"_s});
            while (q.next())
                plan += q.value(3).toString();
            indexed = plan.contains(u"USING INDEX"_s);
        }
        EXPECT_TRUE(indexed) << table.toStdString() << "." << column.toStdString();
    }
}

TEST_P(SchemaTest, IsBuiltInOneTransaction) {
    db().execute(u"create table [公告栏] ([x] INTEGER)"_s); // a table that is already there
    EXPECT_THROW(createSchema(db()), DatabaseError);
    EXPECT_FALSE(db().hasTable(u"书籍资料"_s));
    EXPECT_FALSE(db().hasTable(u"管理员"_s));
}

TEST_P(SchemaTest, BeforeUpgradeLacksWhatTheUpgradeAdds) {
    createSchema(db(), SchemaVersion::BeforeUpgrade);
    EXPECT_TRUE(db().hasTable(u"书籍资料"_s));
    EXPECT_FALSE(db().hasColumn(u"书籍资料"_s, u"馆藏地"_s));
    EXPECT_FALSE(db().hasColumn(u"读者类型"_s, u"书籍续借次数"_s));
    EXPECT_FALSE(db().hasColumn(u"公告栏"_s, u"阅读次数"_s));
    EXPECT_FALSE(db().hasTable(u"申请归还"_s));
    EXPECT_FALSE(db().hasTable(u"馆藏地"_s));
    EXPECT_TRUE(db().hasTable(u"所属语种"_s));
}

CANGSHU_ENGINES(SchemaTest);

} // namespace
