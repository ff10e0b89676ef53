#include "SchemaUpgrade.h"
#include "Schema.h"
#include "Seed.h"

#include <QDir>
#include <QFileInfo>

namespace cangshu {

using namespace Qt::StringLiterals;

namespace {

struct Step {
    enum class Kind { AddColumns, CreateTable, MakeText50 };
    int number;
    Kind kind;
    QString table;
    QStringList columns;
};

QList<Step> steps() {
    using K = Step::Kind;
    return {
        {1, K::AddColumns, u"参数设置"_s, {u"还书"_s}},
        {2, K::AddColumns, u"参数设置"_s, {u"种类条件"_s}},
        {3, K::CreateTable, u"馆藏地"_s, {}},
        {4, K::CreateTable, u"单位部门"_s, {}},
        {5, K::AddColumns, u"书籍资料"_s, {u"bookimage"_s, u"馆藏地"_s}},
        {6,
         K::AddColumns,
         u"期刊目录"_s,
         {u"期刊名称"_s, u"期刊刊次"_s, u"标题"_s, u"关键词"_s, u"作者"_s, u"备注"_s, u"作者2"_s,
          u"作者3"_s}},
        {7, K::AddColumns, u"书籍注销"_s, {u"bookimage"_s, u"馆藏地"_s}},
        {8, K::MakeText50, u"期刊资料"_s, {u"期刊页数"_s}},
        {9, K::MakeText50, u"期刊注销"_s, {u"期刊页数"_s}},
        {10, K::CreateTable, u"申请归还"_s, {}},
        {11, K::CreateTable, u"音像借阅清单"_s, {}},
        {12, K::CreateTable, u"音像归还清单"_s, {}},
        {13, K::AddColumns, u"书籍资料"_s, {u"收藏次数"_s, u"类型"_s, u"年龄"_s}},
        {14, K::AddColumns, u"书籍注销"_s, {u"收藏次数"_s, u"类型"_s, u"年龄"_s}},
        {15, K::CreateTable, u"我的收藏"_s, {}},
        {16, K::CreateTable, u"我的借书车"_s, {}},
        {17, K::CreateTable, u"我的评论"_s, {}},
        {18, K::CreateTable, u"关于我们"_s, {}},
        {19, K::CreateTable, u"加入我们"_s, {}},
        {20, K::CreateTable, u"联系我们"_s, {}},
        {21, K::CreateTable, u"选书指南"_s, {}},
        {22, K::CreateTable, u"阅读讲堂"_s, {}},
        {23, K::CreateTable, u"常见问题"_s, {}},
        {24, K::CreateTable, u"userlogin"_s, {}},
        {25, K::AddColumns, u"公告栏"_s, {u"阅读次数"_s}},
        {26, K::AddColumns, u"读者资料"_s, {u"身份证号"_s}},
        {27,
         K::AddColumns,
         u"读者类型"_s,
         {u"书籍续借次数"_s, u"书籍续借天数"_s, u"期刊续借次数"_s, u"期刊续借天数"_s}},
        {28, K::AddColumns, u"书籍借阅清单"_s, {u"允许续借"_s, u"已经续借"_s}},
        {29, K::AddColumns, u"期刊借阅清单"_s, {u"允许续借"_s, u"已经续借"_s}},
    };
}

// What a column newly added to rows that already exist is filled with. Runs only right after
// the column was added, so a re-run never overwrites values set since.
struct Backfill {
    QString table, column, sql;
    QVariantList params;
};

const QList<Backfill>& backfills() {
    static const QList<Backfill> list{
        // Older databases behaved as 1 without the column: keep that behaviour.
        {u"参数设置"_s, u"还书"_s, u"update [参数设置] set [还书]=1"_s, {}},
        {u"参数设置"_s,
         u"种类条件"_s,
         u"update [参数设置] set [种类条件]=?"_s,
         {u"书籍名称,出版社名,作者信息,标准ISBN"_s}},
        {u"书籍资料"_s, u"收藏次数"_s, u"update [书籍资料] set [收藏次数]=0"_s, {}},
        {u"读者类型"_s, u"书籍续借次数"_s, u"update [读者类型] set [书籍续借次数]=1"_s, {}},
        {u"读者类型"_s,
         u"书籍续借天数"_s,
         u"update [读者类型] set [书籍续借天数]=[书籍借出天数]"_s,
         {}},
        {u"读者类型"_s, u"期刊续借次数"_s, u"update [读者类型] set [期刊续借次数]=1"_s, {}},
        {u"读者类型"_s,
         u"期刊续借天数"_s,
         u"update [读者类型] set [期刊续借天数]=[杂志借出天数]"_s,
         {}},
        {u"书籍借阅清单"_s, u"允许续借"_s, u"update [书籍借阅清单] set [允许续借]=1"_s, {}},
        {u"书籍借阅清单"_s, u"已经续借"_s, u"update [书籍借阅清单] set [已经续借]=0"_s, {}},
        {u"期刊借阅清单"_s, u"允许续借"_s, u"update [期刊借阅清单] set [允许续借]=1"_s, {}},
        {u"期刊借阅清单"_s, u"已经续借"_s, u"update [期刊借阅清单] set [已经续借]=0"_s, {}},
    };
    return list;
}

class Upgrader {
public:
    Upgrader(Database& db) : m_db(db) {}

    UpgradeReport run(const QString& homeRoot) {
        for (const Step& s : steps()) {
            switch (s.kind) {
            case Step::Kind::CreateTable:
                ensureTable(s.number, s.table);
                break;
            case Step::Kind::AddColumns:
                if (ensureTable(s.number, s.table))
                    for (const QString& c : s.columns)
                        addColumn(s.number, s.table, c);
                break;
            case Step::Kind::MakeText50:
                if (ensureTable(s.number, s.table))
                    makeText50(s.number, s.table, s.columns.first());
                break;
            }
        }
        ensureIndexes();
        if (!homeRoot.isEmpty())
            ensureCoverFolder(homeRoot);
        return m_report;
    }

private:
    void record(int step, const QString& target, UpgradeItem::Outcome outcome,
                const QString& error = {}) {
        m_report.items << UpgradeItem{step, target, outcome, error};
    }

    // Runs one change in its own transaction: it lands whole or is reported as failed.
    template <typename F> void attempt(int step, const QString& target, F&& change) {
        try {
            Transaction tx(m_db);
            change();
            tx.commit();
            record(step, target, UpgradeItem::Outcome::Applied);
        } catch (const DatabaseError& e) {
            record(step, target, UpgradeItem::Outcome::Failed, e.message());
        }
    }

    // Creates the table from the current definition when it is missing (a table that an
    // alter step needs, such as the web pages' 公告栏, is then created whole). Returns
    // whether the table was there before, so that its columns still need checking.
    bool ensureTable(int step, const QString& name) {
        if (m_db.hasTable(name)) {
            if (isCreateStep(step))
                record(step, name, UpgradeItem::Outcome::AlreadyThere);
            return true;
        }
        const TableDef* def = schemaTable(name);
        attempt(step, name, [&] {
            m_db.execute(createTableSql(m_db.dialect(), *def));
            if (name == u"联系我们"_s)
                seedContactPage(m_db);
            else if (name == u"userlogin"_s)
                seedWebLogin(m_db);
        });
        return false;
    }

    static bool isCreateStep(int step) {
        for (const Step& s : steps())
            if (s.number == step)
                return s.kind == Step::Kind::CreateTable;
        return false;
    }

    void addColumn(int step, const QString& table, const QString& column) {
        const QString target = table + u'.' + column;
        if (m_db.hasColumn(table, column)) {
            record(step, target, UpgradeItem::Outcome::AlreadyThere);
            return;
        }
        const ColumnDef* def = schemaTable(table)->column(column);
        attempt(step, target, [&] {
            m_db.execute(u"ALTER TABLE [%1] ADD COLUMN [%2] %3"_s.arg(
                table, column, columnTypeSql(m_db.dialect(), *def)));
            for (const Backfill& b : backfills())
                if (b.table == table && b.column == column)
                    m_db.execute(b.sql, b.params);
        });
    }

    // 期刊页数 becomes text of 50. SQLite keeps whatever a column is declared as (its
    // columns take any value), so only PostgreSQL needs the type changed.
    void makeText50(int step, const QString& table, const QString& column) {
        if (!m_db.hasColumn(table, column)) {
            addColumn(step, table, column);
            return;
        }
        const QString target = table + u'.' + column;
        if (!m_db.isPostgres() || isVarchar50(table, column)) {
            record(step, target, UpgradeItem::Outcome::AlreadyThere);
            return;
        }
        attempt(step, target, [&] {
            m_db.execute(
                u"ALTER TABLE [%1] ALTER COLUMN [%2] TYPE VARCHAR(50) USING [%2]::varchar"_s.arg(
                    table, column));
        });
    }

    bool isVarchar50(const QString& table, const QString& column) {
        const auto r =
            m_db.row(u"select data_type, character_maximum_length from information_schema.columns "
                     "where table_schema=current_schema() and table_name=? and column_name=?"_s,
                     {m_db.dialect().storedName(table), m_db.dialect().storedName(column)});
        return r && r->value(0).toString() == u"character varying"_s && r->value(1).toInt() == 50;
    }

    bool hasIndex(const QString& name) {
        const QString sql =
            m_db.isPostgres()
                ? u"select count(*) from pg_indexes where schemaname=current_schema() and indexname=?"_s
                : u"select count(*) from sqlite_master where type='index' and name=?"_s;
        return m_db.scalar(sql, {m_db.dialect().storedName(name)}, 0).toInt() > 0;
    }

    // The lookup indexes of the current schema, on every table and column that now exists.
    void ensureIndexes() {
        for (const TableDef& t : schemaTables()) {
            if (!m_db.hasTable(t.name))
                continue;
            for (const IndexDef& i : t.indexes) {
                bool columnsThere = true;
                for (const QString& c : i.columns)
                    columnsThere = columnsThere && m_db.hasColumn(t.name, c);
                const QString name = indexName(t, i);
                if (!columnsThere || hasIndex(name))
                    continue;
                attempt(0, name, [&] { m_db.execute(createIndexSql(t, i)); });
            }
        }
    }

    void ensureCoverFolder(const QString& homeRoot) {
        const QString target = u"bookpic/x"_s;
        const QString path = QDir(homeRoot).filePath(target);
        if (QFileInfo(path).isDir()) {
            record(0, target, UpgradeItem::Outcome::AlreadyThere);
            return;
        }
        if (QDir().mkpath(path))
            record(0, target, UpgradeItem::Outcome::Applied);
        else
            record(0, target, UpgradeItem::Outcome::Failed, u"无法创建文件夹 "_s + path);
    }

    Database& m_db;
    UpgradeReport m_report;
};

} // namespace

QString UpgradeItem::describe() const {
    const QString where = step > 0 ? u"第%1步 %2"_s.arg(step).arg(target) : target;
    switch (outcome) {
    case Outcome::Applied:
        return where + u"：已完成"_s;
    case Outcome::AlreadyThere:
        return where + u"：已存在"_s;
    case Outcome::Failed:
        break;
    }
    return where + u"：失败："_s + error;
}

bool UpgradeReport::ok() const {
    return failures().isEmpty();
}

QList<UpgradeItem> UpgradeReport::applied() const {
    QList<UpgradeItem> out;
    for (const UpgradeItem& i : items)
        if (i.outcome == UpgradeItem::Outcome::Applied)
            out << i;
    return out;
}

QList<UpgradeItem> UpgradeReport::failures() const {
    QList<UpgradeItem> out;
    for (const UpgradeItem& i : items)
        if (i.outcome == UpgradeItem::Outcome::Failed)
            out << i;
    return out;
}

UpgradeReport upgradeSchema(Database& db, const QString& homeRoot) {
    return Upgrader(db).run(homeRoot);
}

} // namespace cangshu
