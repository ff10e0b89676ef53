#include "Schema.h"

namespace cangshu {

using namespace Qt::StringLiterals;

namespace {

ColumnDef column(const QString& name, ColumnType type, int length = 0, QVariant def = {}) {
    ColumnDef c;
    c.name = name;
    c.type = type;
    c.length = length;
    c.defaultValue = std::move(def);
    return c;
}
ColumnDef key(const QString& name) {
    return column(name, ColumnType::Key);
}
ColumnDef text(const QString& name, int length) {
    return column(name, ColumnType::Text, length);
}
ColumnDef memo(const QString& name) {
    return column(name, ColumnType::Memo);
}
ColumnDef integer(const QString& name, QVariant def = {}) {
    return column(name, ColumnType::Integer, 0, def);
}
ColumnDef money(const QString& name, QVariant def = {}) {
    return column(name, ColumnType::Money, 0, def);
}
ColumnDef number(const QString& name) {
    return column(name, ColumnType::Number);
}
ColumnDef date(const QString& name) {
    return column(name, ColumnType::Date);
}
ColumnDef dateTime(const QString& name) {
    return column(name, ColumnType::DateTime);
}
ColumnDef yesNo(const QString& name) {
    return column(name, ColumnType::YesNo, 0, false);
}
ColumnDef image(const QString& name) {
    return column(name, ColumnType::Image);
}
ColumnDef withDefault(ColumnDef c, const QVariant& def) {
    c.defaultValue = def;
    return c;
}
ColumnDef upgraded(ColumnDef c) {
    c.addedByUpgrade = true;
    return c;
}

IndexDef index(const QStringList& columns) {
    return {columns, false};
}
IndexDef uniqueIndex(const QStringList& columns) {
    return {columns, true};
}
IndexDef namedIndex(const QString& name, const QStringList& columns) {
    return {columns, false, name};
}

TableDef table(const QString& name, QList<ColumnDef> columns, QList<IndexDef> indexes = {}) {
    return {name, std::move(columns), std::move(indexes), false};
}
TableDef upgradedTable(TableDef t) {
    t.createdByUpgrade = true;
    return t;
}

// A one-column choice list, keyed by 编号 as the upgrade creates 馆藏地 and 单位部门.
TableDef dictionary(const QString& name) {
    return table(name, {key(u"编号"_s), text(name, 50)});
}

// The descriptive and circulation columns of a book record (without ID and 选中), shared by
// 书籍资料, its withdrawal table and, in part, the pre-cataloguing table.
QList<ColumnDef> bookColumns() {
    return {
        text(u"书籍编号"_s, 50),
        text(u"书籍名称"_s, 255),
        text(u"当前本数"_s, 50),
        text(u"标准ISBN"_s, 50),
        text(u"作者信息"_s, 255),
        money(u"书籍价格"_s),
        text(u"中图分类"_s, 50),
        text(u"分类名称"_s, 100),
        text(u"种次号"_s, 20),
        text(u"索书号"_s, 100),
        text(u"出版社名"_s, 100),
        text(u"出版地点"_s, 50),
        text(u"出版日期"_s, 50),
        text(u"书籍页码"_s, 50),
        integer(u"藏书总量"_s, 1),
        integer(u"馆内剩余"_s, 1),
        text(u"存放位置"_s, 50),
        upgraded(text(u"馆藏地"_s, 50)),
        text(u"书籍开本"_s, 50),
        text(u"所属语种"_s, 50),
        text(u"印刷版面"_s, 50),
        text(u"密级"_s, 50),
        text(u"配送物品"_s, 100),
        text(u"书籍版次"_s, 50),
        text(u"所属丛书"_s, 255),
        date(u"入库时间"_s),
        memo(u"备注信息"_s),
        memo(u"内容简介"_s),
        withDefault(text(u"在馆状态"_s, 20), u"在馆"_s),
        text(u"书籍流水"_s, 50),
        integer(u"借出次数"_s, 0),
        text(u"图片"_s, 255),
        upgraded(image(u"bookimage"_s)),
        text(u"拼音"_s, 255),
        upgraded(integer(u"收藏次数"_s, 0)),
        upgraded(text(u"类型"_s, 50)),
        upgraded(text(u"年龄"_s, 50)),
    };
}

QList<ColumnDef> periodicalColumns() {
    ColumnDef pages = text(u"期刊页数"_s, 50);
    pages.legacyType = ColumnType::Integer;
    return {
        text(u"期刊编号"_s, 50),
        text(u"期刊名称"_s, 255),
        text(u"标准ISSN"_s, 50),
        text(u"主编信息"_s, 255),
        money(u"期刊价格"_s),
        text(u"中图分类"_s, 50),
        text(u"分类名称"_s, 100),
        text(u"出版社名"_s, 100),
        text(u"出版地点"_s, 50),
        text(u"期刊刊次"_s, 50),
        text(u"总刊次数"_s, 50),
        integer(u"馆藏总量"_s, 1),
        integer(u"馆内剩余"_s, 1),
        text(u"期刊刊期"_s, 20),
        text(u"期刊开本"_s, 20),
        text(u"所属语种"_s, 50),
        text(u"存放位置"_s, 50),
        text(u"配送物品"_s, 100),
        pages,
        date(u"入库时间"_s),
        memo(u"备注信息"_s),
        withDefault(text(u"在馆状态"_s, 20), u"在馆"_s),
        integer(u"借出次数"_s, 0),
        text(u"图片"_s, 255),
        text(u"统一刊号"_s, 50),
        text(u"订购号"_s, 50),
        text(u"地址"_s, 255),
        text(u"拼音"_s, 255),
    };
}

QList<ColumnDef> withdrawalColumns() {
    return {date(u"注销日期"_s), text(u"注销原因"_s, 100), text(u"操作员"_s, 50),
            text(u"备注"_s, 255)};
}

// 书籍预编 takes whatever book column a MARC mapping may name, so it carries every
// descriptive column of a book record; nothing of it is added by the upgrade.
QList<ColumnDef> preCatalogueColumns() {
    QList<ColumnDef> out{key(u"ID"_s), text(u"书籍编号"_s, 50), yesNo(u"选中"_s)};
    const QStringList webOnly{u"收藏次数"_s, u"类型"_s, u"年龄"_s};
    for (ColumnDef c : bookColumns()) {
        if (c.name == u"书籍编号"_s || webOnly.contains(c.name))
            continue;
        c.addedByUpgrade = false;
        out << c;
    }
    return out;
}

QList<ColumnDef> concat(QList<ColumnDef> a, const QList<ColumnDef>& b) {
    a << b;
    return a;
}

QList<TableDef> buildTables() {
    QList<TableDef> t;

    // Operators, settings and counters.
    t << table(u"管理员"_s,
               {key(u"ID"_s), text(u"用户名"_s, 50), text(u"密码"_s, 255), yesNo(u"系统设置"_s),
                yesNo(u"系统管理"_s), yesNo(u"基本操作"_s), yesNo(u"系统查询"_s),
                yesNo(u"统计分析"_s), yesNo(u"报表打印"_s)},
               {uniqueIndex({u"用户名"_s})});
    t << table(u"系统信息"_s,
               {key(u"ID"_s), text(u"图书馆名称"_s, 100), integer(u"预约天数"_s),
                integer(u"编号宽度"_s), text(u"前置字符"_s, 20), text(u"后置字符"_s, 20),
                integer(u"编号值"_s), integer(u"期刊编号宽度"_s), text(u"期刊前置字符"_s, 20),
                text(u"期刊后置字符"_s, 20), integer(u"期刊编号值"_s), integer(u"读者编号宽度"_s),
                text(u"读者前置字符"_s, 20), text(u"读者后置字符"_s, 20),
                integer(u"读者编号值"_s)});
    t << table(
        u"参数设置"_s,
        {key(u"ID"_s), integer(u"有效期"_s), money(u"书籍罚款"_s), money(u"期刊罚款"_s),
         integer(u"分页记录"_s),
         upgraded(withDefault(text(u"种类条件"_s, 50), u"书籍名称,出版社名,作者信息,标准ISBN"_s)),
         text(u"显示超期"_s, 10), integer(u"一对一"_s), upgraded(integer(u"还书"_s, 1))});
    t << table(u"查询条件"_s,
               {key(u"ID"_s), text(u"表名称"_s, 50), text(u"条件名称"_s, 100), memo(u"条件内容"_s)},
               {index({u"表名称"_s, u"条件名称"_s})});
    t << table(u"barcode"_s, {key(u"ID"_s), text(u"条形码"_s, 100), text(u"上方标题"_s, 100),
                              text(u"下方描述"_s, 100)});
    for (const QString& name : {u"馆藏地"_s, u"单位部门"_s})
        t << upgradedTable(dictionary(name));
    for (const QString& name : {u"存放位置"_s, u"所属语种"_s, u"书籍开本"_s, u"印刷版面"_s,
                                u"区域类型"_s, u"商品类型"_s, u"密级"_s})
        t << dictionary(name);

    // Catalogue.
    // The book list's counters read indexes instead of the wide rows: the default kind
    // columns in one (kinds are counted by grouping), the copy counts in another, and a
    // class with both after it, so that a class and its counters are one index range.
    const QStringList kindColumns{u"书籍名称"_s, u"出版社名"_s, u"作者信息"_s, u"标准ISBN"_s};
    const QStringList copyColumns{u"藏书总量"_s, u"馆内剩余"_s, u"在馆状态"_s, u"书籍价格"_s};
    const QList<IndexDef> bookIndexes{
        index({u"书籍编号"_s}),
        index({u"标准ISBN"_s}),
        index({u"中图分类"_s}),
        index({u"拼音"_s}),
        index({u"入库时间"_s}),
        namedIndex(u"ix_书籍资料_种类"_s, kindColumns),
        namedIndex(u"ix_书籍资料_册数"_s, copyColumns),
        namedIndex(u"ix_书籍资料_分类计数"_s,
                   QStringList{u"中图分类"_s} + kindColumns + copyColumns)};
    t << table(u"书籍资料"_s, concat(concat({key(u"ID"_s)}, bookColumns()), {yesNo(u"选中"_s)}),
               bookIndexes);
    t << table(u"书籍预编"_s, preCatalogueColumns(),
               {index({u"书籍编号"_s}), index({u"标准ISBN"_s})});
    t << table(u"书籍注销"_s, concat(concat({key(u"ID"_s)}, bookColumns()), withdrawalColumns()),
               {index({u"书籍编号"_s}), index({u"标准ISBN"_s}), index({u"注销日期"_s})});
    t << table(
        u"期刊资料"_s, concat(concat({key(u"ID"_s)}, periodicalColumns()), {yesNo(u"选中"_s)}),
        {index({u"期刊编号"_s}), index({u"期刊名称"_s, u"期刊刊次"_s}), index({u"标准ISSN"_s}),
         index({u"中图分类"_s}), index({u"拼音"_s}), index({u"入库时间"_s})});
    t << table(u"期刊注销"_s,
               concat(concat({key(u"ID"_s)}, periodicalColumns()), withdrawalColumns()),
               {index({u"期刊编号"_s}), index({u"注销日期"_s})});
    {
        QList<ColumnDef> contents{key(u"ID"_s)};
        for (const QString& name : {u"期刊名称"_s, u"期刊刊次"_s, u"标题"_s, u"关键词"_s, u"作者"_s,
                                    u"备注"_s, u"作者2"_s, u"作者3"_s})
            contents << upgraded(text(name, 250));
        t << table(u"期刊目录"_s, contents, {index({u"期刊名称"_s, u"期刊刊次"_s})});
    }
    t << table(u"音像制品"_s,
               {key(u"ID"_s),
                text(u"编号"_s, 50),
                text(u"名称"_s, 255),
                text(u"ISBN"_s, 50),
                text(u"主演"_s, 100),
                text(u"导演"_s, 100),
                money(u"价格"_s),
                text(u"分类号"_s, 50),
                text(u"分类名称"_s, 100),
                text(u"出版社名"_s, 100),
                text(u"出版地点"_s, 50),
                text(u"出版日期"_s, 50),
                integer(u"总数量"_s, 1),
                integer(u"剩余数量"_s, 1),
                text(u"存放位置"_s, 50),
                text(u"密级"_s, 50),
                text(u"商品类型"_s, 50),
                text(u"区域类型"_s, 50),
                text(u"印刷版面"_s, 50),
                text(u"所属语种"_s, 50),
                text(u"配送物品"_s, 100),
                date(u"入库时间"_s),
                memo(u"备注信息"_s),
                text(u"路径"_s, 255),
                text(u"图片"_s, 255),
                withDefault(text(u"在馆状态"_s, 20), u"在馆"_s),
                integer(u"借出次数"_s, 0),
                yesNo(u"选中"_s)},
               {index({u"编号"_s}), index({u"分类号"_s}), index({u"ISBN"_s})});
    for (const QString& name : {u"图书类型"_s, u"音像制品类型"_s})
        t << table(
            name,
            {key(u"ID"_s), integer(u"父号"_s, 0), text(u"分类号"_s, 50), text(u"分类名称"_s, 100)},
            {index({u"父号"_s}), index({u"分类号"_s})});
    t << table(u"ztfl"_s, {key(u"ID"_s), text(u"ztcode"_s, 50), text(u"ztname"_s, 255)},
               {index({u"ztcode"_s})});
    t << table(
        u"出版社"_s,
        {key(u"ID"_s), text(u"ISBN"_s, 50), text(u"出版社名称"_s, 100), text(u"出版地"_s, 50)},
        {index({u"ISBN"_s})});
    t << table(u"书籍发放"_s,
               {key(u"ID"_s), text(u"读者编号"_s, 50), text(u"读者姓名"_s, 50),
                text(u"读者类型"_s, 50), text(u"书籍编号"_s, 50), text(u"书籍名称"_s, 255),
                text(u"标准ISBN"_s, 50), text(u"作者信息"_s, 255), text(u"中图分类"_s, 50),
                text(u"分类名称"_s, 100), text(u"出版社名"_s, 100), text(u"出版地点"_s, 50),
                text(u"出版日期"_s, 50), text(u"书籍页码"_s, 50), money(u"书籍价格"_s),
                integer(u"发放数量"_s), money(u"价值金额"_s), date(u"发放日期"_s),
                text(u"操作员"_s, 50)},
               {index({u"读者编号"_s}), index({u"书籍编号"_s}), index({u"发放日期"_s})});
    for (const auto& [name, caption] :
         {std::pair{u"marc"_s, u"图书字段"_s}, std::pair{u"marcqk"_s, u"期刊字段"_s}})
        t << table(name, {key(u"ID"_s), integer(u"序号"_s), text(u"marc字段"_s, 10),
                          text(u"标识"_s, 10), integer(u"列宽"_s), text(caption, 50),
                          text(u"导入数据库字段"_s, 50), integer(u"导入标识"_s)});
    t << table(u"书籍分类统计"_s,
               {key(u"ID"_s), text(u"书籍类型"_s, 100), integer(u"种类"_s), integer(u"总数量"_s),
                integer(u"在馆数量"_s), integer(u"借出数量"_s), money(u"总价格"_s),
                text(u"比例"_s, 20)});

    // Readers and circulation.
    t << table(u"读者资料"_s,
               {key(u"ID"_s),
                text(u"读者编号"_s, 50),
                text(u"读者姓名"_s, 50),
                text(u"拼音"_s, 50),
                text(u"读者类型"_s, 50),
                text(u"读者性别"_s, 10),
                text(u"单位部门"_s, 100),
                money(u"押金金额"_s, 0),
                upgraded(text(u"身份证号"_s, 50)),
                date(u"出生日期"_s),
                date(u"办证日期"_s),
                date(u"截止日期"_s),
                withDefault(text(u"无限制"_s, 10), u"是"_s),
                text(u"联系电话"_s, 50),
                text(u"电子邮件"_s, 100),
                text(u"联系地址"_s, 255),
                withDefault(text(u"读者状态"_s, 10), u"正常"_s),
                text(u"照片"_s, 255),
                image(u"Image"_s),
                memo(u"备注信息"_s),
                integer(u"借阅次数"_s, 0),
                yesNo(u"选中"_s)},
               {uniqueIndex({u"读者编号"_s}), index({u"拼音"_s}), index({u"读者姓名"_s}),
                index({u"读者类型"_s}), index({u"身份证号"_s})});
    t << table(u"读者类型"_s,
               {key(u"ID"_s), text(u"类型名称"_s, 50), integer(u"书籍借出册数"_s),
                integer(u"书籍借出天数"_s), upgraded(integer(u"书籍续借次数"_s)),
                upgraded(integer(u"书籍续借天数"_s)), integer(u"杂志借出册数"_s),
                integer(u"杂志借出天数"_s), upgraded(integer(u"期刊续借次数"_s)),
                upgraded(integer(u"期刊续借天数"_s)), money(u"书籍每日租金"_s),
                money(u"书籍超期罚款"_s), money(u"期刊每日租金"_s), money(u"期刊超期罚款"_s),
                text(u"无限制"_s, 10)},
               {index({u"类型名称"_s})});
    for (const auto& [loans, returns, item] :
         {std::tuple{u"书籍借阅清单"_s, u"书籍归还清单"_s, u"书籍索引"_s},
          std::tuple{u"期刊借阅清单"_s, u"期刊归还清单"_s, u"期刊索引"_s}}) {
        t << table(loans,
                   {key(u"序号"_s), text(u"读者索引"_s, 50), integer(item), date(u"借阅日期"_s),
                    date(u"应还日期"_s), text(u"操作员"_s, 50), upgraded(integer(u"允许续借"_s)),
                    upgraded(integer(u"已经续借"_s))},
                   {index({u"读者索引"_s}), index({item}), index({u"应还日期"_s})});
        t << table(returns,
                   {key(u"序号"_s), text(u"读者索引"_s, 50), integer(item), date(u"借阅日期"_s),
                    date(u"归还日期"_s), number(u"借出天数"_s), money(u"租金金额"_s),
                    text(u"超期天数"_s, 20), money(u"罚款金额"_s), text(u"操作员"_s, 50)},
                   // Covering the summed amounts, so that the period sums and the footer of
                   // the whole history read only an index.
                   {index({u"读者索引"_s}), index({item, u"租金金额"_s, u"罚款金额"_s}),
                    index({u"归还日期"_s, u"罚款金额"_s, u"租金金额"_s})});
    }
    t << upgradedTable(
        table(u"音像借阅清单"_s,
              {key(u"序号"_s), text(u"读者索引"_s, 50), integer(u"音像索引"_s),
               dateTime(u"借阅日期"_s), dateTime(u"应还日期"_s), text(u"操作员"_s, 50)},
              {index({u"读者索引"_s}), index({u"音像索引"_s})}));
    t << upgradedTable(table(
        u"音像归还清单"_s,
        {key(u"序号"_s), text(u"读者索引"_s, 50), integer(u"音像索引"_s), dateTime(u"借阅日期"_s),
         dateTime(u"归还日期"_s), integer(u"借出天数"_s), text(u"操作员"_s, 50)},
        {index({u"读者索引"_s}), index({u"音像索引"_s}), index({u"归还日期"_s})}));
    t << table(u"读者预定"_s,
               {key(u"ID"_s), integer(u"书籍索引"_s), text(u"读者编号"_s, 50),
                text(u"读者姓名"_s, 50), text(u"联系电话"_s, 50), text(u"书籍名称"_s, 255),
                text(u"当前本数"_s, 50), text(u"中图分类"_s, 50), date(u"预定日期"_s),
                date(u"终止日期"_s)},
               {index({u"书籍索引"_s}), index({u"终止日期"_s}), index({u"读者编号"_s})});
    t << upgradedTable(table(
        u"申请归还"_s,
        {key(u"序号"_s), text(u"读者编号"_s, 50), text(u"读者姓名"_s, 50), text(u"单位部门"_s, 50),
         text(u"联系电话"_s, 50), text(u"书籍名称"_s, 255), text(u"中图分类"_s, 50),
         text(u"书籍编号"_s, 50), integer(u"书籍索引"_s), dateTime(u"申请日期"_s)},
        {index({u"读者编号"_s}), index({u"书籍索引"_s})}));
    t << table(u"丢失罚款"_s,
               {key(u"ID"_s), text(u"读者编号"_s, 50), text(u"读者姓名"_s, 50),
                text(u"读者性别"_s, 10), text(u"读者类型"_s, 50), money(u"罚款金额"_s),
                text(u"书籍名称"_s, 255), date(u"罚款日期"_s), text(u"备注"_s, 255)},
               {index({u"读者编号"_s}), index({u"罚款日期"_s, u"罚款金额"_s})});
    t << table(u"读者充押金"_s,
               {key(u"序号"_s), text(u"读者编号"_s, 50), text(u"读者姓名"_s, 50),
                text(u"读者类型"_s, 50), money(u"充押金额"_s), date(u"充值日期"_s),
                text(u"操作员"_s, 50), text(u"备注"_s, 255)},
               {index({u"读者编号"_s}), index({u"充值日期"_s})});

    // Tables of the reader-facing web pages.
    for (const QString& name : {u"我的收藏"_s, u"我的借书车"_s})
        t << upgradedTable(table(name,
                                 {key(u"序号"_s), text(u"读者编号"_s, 50), integer(u"书籍索引"_s)},
                                 {index({u"读者编号"_s}), index({u"书籍索引"_s})}));
    t << upgradedTable(table(u"我的评论"_s,
                             {key(u"序号"_s), text(u"读者编号"_s, 50), integer(u"索引号"_s),
                              dateTime(u"时间"_s), integer(u"被顶次数"_s, 0), text(u"标题"_s, 200),
                              memo(u"内容"_s), text(u"评论对象"_s, 50)},
                             {index({u"索引号"_s})}));
    for (const QString& name : {u"关于我们"_s, u"加入我们"_s, u"联系我们"_s, u"选书指南"_s})
        t << upgradedTable(table(name, {key(u"ID"_s), memo(name), integer(u"阅读次数"_s, 0)}));
    for (const QString& name : {u"阅读讲堂"_s, u"常见问题"_s})
        t << upgradedTable(table(name, {key(u"ID"_s), text(u"标题"_s, 50), text(u"标题2"_s, 50),
                                        dateTime(u"日期"_s), dateTime(u"时间"_s),
                                        integer(u"阅读次数"_s, 0), memo(u"内容"_s)}));
    t << upgradedTable(
        table(u"userlogin"_s, {key(u"ID"_s), text(u"username"_s, 50), text(u"userpass"_s, 50)}));
    t << table(u"公告栏"_s,
               {key(u"ID"_s), text(u"标题"_s, 200), memo(u"内容"_s), dateTime(u"日期"_s),
                text(u"发布人"_s, 50), upgraded(integer(u"阅读次数"_s, 0))});
    return t;
}

QString defaultSql(const ColumnDef& c) {
    const QVariant& v = c.defaultValue;
    if (v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? u" DEFAULT TRUE"_s : u" DEFAULT FALSE"_s;
    case QMetaType::QString: {
        QString s = v.toString();
        return u" DEFAULT '"_s + s.replace(u'\'', u"''"_s) + u'\'';
    }
    default:
        return u" DEFAULT "_s + v.toString();
    }
}

} // namespace

const ColumnDef* TableDef::column(const QString& wanted) const {
    for (const ColumnDef& c : columns)
        if (c.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QString TableDef::keyColumn() const {
    for (const ColumnDef& c : columns)
        if (c.type == ColumnType::Key)
            return c.name;
    return {};
}

const QList<TableDef>& schemaTables() {
    static const QList<TableDef> tables = buildTables();
    return tables;
}

const TableDef* schemaTable(const QString& name) {
    for (const TableDef& t : schemaTables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QString columnTypeSql(const Dialect& d, const ColumnDef& c, SchemaVersion version) {
    const ColumnType type =
        version == SchemaVersion::BeforeUpgrade && c.legacyType ? *c.legacyType : c.type;
    QString sql;
    switch (type) {
    case ColumnType::Key:
        return d.keyColumnType();
    case ColumnType::Text:
        sql = d.textType(c.length);
        break;
    case ColumnType::Memo:
        sql = d.memoType();
        break;
    case ColumnType::Integer:
        sql = d.integerType();
        break;
    case ColumnType::Money:
        sql = d.moneyType();
        break;
    case ColumnType::Number:
        sql = d.numberType();
        break;
    case ColumnType::Date:
        sql = d.dateType();
        break;
    case ColumnType::DateTime:
        sql = d.dateTimeType();
        break;
    case ColumnType::YesNo:
        sql = d.boolType();
        break;
    case ColumnType::Image:
        sql = d.imageType();
        break;
    }
    return sql + defaultSql(c);
}

QString createTableSql(const Dialect& d, const TableDef& t, SchemaVersion version) {
    QStringList parts;
    for (const ColumnDef& c : t.columns) {
        if (version == SchemaVersion::BeforeUpgrade && c.addedByUpgrade)
            continue;
        parts << u"[%1] %2"_s.arg(c.name, columnTypeSql(d, c, version));
    }
    return u"CREATE TABLE [%1] (%2)"_s.arg(t.name, parts.join(u", "_s));
}

QString indexName(const TableDef& t, const IndexDef& i) {
    if (!i.name.isEmpty())
        return i.name;
    return u"ix_"_s + t.name + u'_' + i.columns.join(u'_');
}

QString createIndexSql(const TableDef& t, const IndexDef& i) {
    QStringList cols;
    for (const QString& c : i.columns)
        cols << u'[' + c + u']';
    return u"CREATE %1INDEX IF NOT EXISTS [%2] ON [%3] (%4)"_s.arg(
        i.unique ? u"UNIQUE "_s : QString(), indexName(t, i), t.name, cols.join(u", "_s));
}

void createSchema(Database& db, SchemaVersion version) {
    Transaction tx(db);
    for (const TableDef& t : schemaTables()) {
        if (version == SchemaVersion::BeforeUpgrade && t.createdByUpgrade)
            continue;
        db.execute(createTableSql(db.dialect(), t, version));
        for (const IndexDef& i : t.indexes) {
            bool present = true;
            for (const QString& c : i.columns)
                present = present &&
                          !(version == SchemaVersion::BeforeUpgrade && t.column(c)->addedByUpgrade);
            if (present)
                db.execute(createIndexSql(t, i));
        }
    }
    tx.commit();
}

} // namespace cangshu
