#include "Commands.h"

#include <QFile>

namespace cangshu {

namespace {

const QString kSettings = QStringLiteral("系统设置");
const QString kManagement = QStringLiteral("系统管理");
const QString kBasic = QStringLiteral("基本操作");
const QString kQueries = QStringLiteral("系统查询");
const QString kToday = QStringLiteral("今日信息");
const QString kStatistics = QStringLiteral("排行统计");
const QString kPrinting = QStringLiteral("条码打印");
const QString kMaintenance = QStringLiteral("系统维护");
const QString kSkins = QStringLiteral("选择皮肤");
const QString kHelp = QStringLiteral("帮助");

struct Builder {
    QList<Command>& out;
    QString menu;

    // A window command: caption, gate, opening, window key, window title.
    Builder& add(const QString& text, Gate gate, Opening opening, const QString& windowKey,
                 const QString& title = {}, bool corner = false, int fkey = 0) {
        Command c;
        c.id = text;
        c.menu = menu;
        c.text = text;
        c.gate = gate;
        c.opening = opening;
        c.windowKey = windowKey;
        c.windowTitle = title;
        c.moveToCorner = corner;
        c.functionKey = fkey;
        out.append(c);
        return *this;
    }
    Builder& action(const QString& text, Gate gate = Gate::None) {
        return add(text, gate, Opening::Action, {});
    }
    Builder& sub(const QString& subMenu, const QStringList& items, const QString& windowKey,
                 const QString& title) {
        for (const QString& item : items) {
            Command c;
            c.id = subMenu + u'/' + item;
            c.menu = menu;
            c.subMenu = subMenu;
            c.text = item;
            c.gate = Gate::Statistics; // the sub-menus carry the right themselves
            c.opening = Opening::Modal;
            c.windowKey = windowKey;
            c.windowTitle = title;
            out.append(c);
        }
        return *this;
    }
};

constexpr auto M = Opening::Modal;
constexpr auto L = Opening::Modeless; // beside the main window

} // namespace

CommandTable::CommandTable() {
    m_menus = {
        {kSettings, QStringLiteral("系统设置(&S)"), Gate::SystemSettings},
        {kManagement, QStringLiteral("系统管理(&M)"), Gate::Management},
        {kBasic, QStringLiteral("基本操作(&B)"), Gate::BasicOperations},
        {kQueries, QStringLiteral("系统查询(&Q)"), Gate::Queries},
        {kToday, QStringLiteral("今日信息(&T)"), Gate::None},
        {kStatistics, QStringLiteral("排行统计(&R)"), Gate::Statistics},
        {kPrinting, QStringLiteral("条码打印(&P)"), Gate::Printing},
        {kMaintenance, QStringLiteral("系统维护(&W)"), Gate::None},
        {kSkins, QStringLiteral("选择皮肤(&K)"), Gate::None},
        {kHelp, QStringLiteral("帮助(&H)"), Gate::None},
    };

    const Gate S = Gate::SystemSettings, G = Gate::Management, B = Gate::BasicOperations,
               Q = Gate::Queries, T = Gate::Statistics, P = Gate::Printing, N = Gate::None;

    Builder b{m_commands, kSettings};
    b.add(QStringLiteral("系统参数设置"), S, M, QStringLiteral("SystemParameters"),
          QStringLiteral("系统参数设置"))
        .add(QStringLiteral("编号宽度设置"), S, M, QStringLiteral("NumberSettings"),
             QStringLiteral("设置编号宽度"))
        .add(QStringLiteral("数据字典设置"), S, M, QStringLiteral("Dictionaries"),
             QStringLiteral("设置数据字典"), true)
        .add(QStringLiteral("读者类型设置"), S, M, QStringLiteral("ReaderTypes"))
        .add(QStringLiteral("图书类型设置"), S, M, QStringLiteral("BookClasses"),
             QStringLiteral("图书类型设置"), true)
        .add(QStringLiteral("音像制品、电子资料、物品分类"), S, M, QStringLiteral("MediaClasses"))
        .add(QStringLiteral("出版社内容设置"), S, M, QStringLiteral("Publishers"))
        .add(QStringLiteral("图书馆名称设置"), S, M, QStringLiteral("LibraryName"),
             QStringLiteral("图书馆名称设置"))
        .add(QStringLiteral("预约天数设置"), S, M, QStringLiteral("ReservationDays"),
             QStringLiteral("预约天数设置"))
        .add(QStringLiteral("图书管理员设置"), S, M, QStringLiteral("Operators"),
             QStringLiteral("管理员设置"))
        .action(QStringLiteral("退出本系统"));

    b.menu = kManagement;
    b.add(QStringLiteral("书籍资料管理"), G, M, QStringLiteral("Books"),
          QStringLiteral("书籍资料管理"))
        .add(QStringLiteral("期刊资料管理"), G, M, QStringLiteral("Periodicals"),
             QStringLiteral("期刊资料管理"))
        .add(QStringLiteral("音像制品、电子资料、物品管理"), G, M, QStringLiteral("Media"))
        .add(QStringLiteral("书籍预编管理"), G, M, QStringLiteral("Precataloguing"),
             QStringLiteral("书籍预编管理"))
        .add(QStringLiteral("读者资料管理"), G, M, QStringLiteral("Readers"),
             QStringLiteral("读者资料管理"))
        .add(QStringLiteral("读者充扣押金管理"), G, M, QStringLiteral("DepositList"))
        .add(QStringLiteral("书籍注销管理"), G, M, QStringLiteral("BookWithdrawals"))
        .add(QStringLiteral("期刊注销管理"), G, M, QStringLiteral("PeriodicalWithdrawals"))
        .add(QStringLiteral("书籍发放管理"), G, M, QStringLiteral("Distributions"))
        .add(QStringLiteral("丢失罚款管理"), G, M, QStringLiteral("FineList"),
             QStringLiteral("丢失罚款管理"))
        .add(QStringLiteral("导入Excel数据"), G, M, QStringLiteral("ExcelImport"),
             QStringLiteral("数据导入"))
        .add(QStringLiteral("导入Marc_图书数据"), G, M, QStringLiteral("MarcImport"),
             QStringLiteral("导入图书marc数据"))
        .add(QStringLiteral("导入Marc_期刊数据"), G, M, QStringLiteral("MarcImportPeriodicals"),
             QStringLiteral("导入期刊Marc数据"))
        .add(QStringLiteral("查看读者预定"), G, M, QStringLiteral("Reservations"),
             QStringLiteral("查看读者预定"));

    b.menu = kBasic;
    b.add(QStringLiteral("书籍借阅"), B, L, QStringLiteral("BookLend"), {}, true, 1)
        .add(QStringLiteral("书籍续借"), B, L, QStringLiteral("BookRenew"), {}, true, 2)
        .add(QStringLiteral("书籍归还"), B, L, QStringLiteral("BookReturn"), {}, true, 3)
        .add(QStringLiteral("期刊借阅"), B, L, QStringLiteral("PeriodicalLend"), {}, true, 4)
        .add(QStringLiteral("期刊续借"), B, L, QStringLiteral("PeriodicalRenew"), {}, true, 5)
        .add(QStringLiteral("期刊归还"), B, L, QStringLiteral("PeriodicalReturn"), {}, true, 6)
        .add(QStringLiteral("音像物品借阅"), B, L, QStringLiteral("MediaLend"),
             QStringLiteral("音像、资料、物品借阅"), true)
        .add(QStringLiteral("音像物品归还"), B, L, QStringLiteral("MediaReturn"),
             QStringLiteral("音像、资料、物品归还"), true)
        .add(QStringLiteral("新增书籍"), B, M, QStringLiteral("BookEditor"),
             QStringLiteral("添加新书籍资料"), false, 7)
        .add(QStringLiteral("新增期刊"), B, M, QStringLiteral("PeriodicalEditor"),
             QStringLiteral("添加新期刊资料"), false, 8)
        .add(QStringLiteral("新增读者"), B, M, QStringLiteral("ReaderEditor"),
             QStringLiteral("添加新读者"), false, 9)
        .add(QStringLiteral("充扣押金"), B, M, QStringLiteral("Deposit"),
             QStringLiteral("读者充扣押金"))
        .add(QStringLiteral("读者挂失"), B, M, QStringLiteral("ReaderLoss"),
             QStringLiteral("读者挂失"))
        .add(QStringLiteral("读者注销"), B, M, QStringLiteral("ReaderCancel"),
             QStringLiteral("读者注销"))
        .add(QStringLiteral("读者退卡"), B, M, QStringLiteral("ReaderRefund"),
             QStringLiteral("读者退卡"))
        .add(QStringLiteral("书籍注销"), B, M, QStringLiteral("BookWithdraw"),
             QStringLiteral("书籍注销"), true, 10)
        .add(QStringLiteral("期刊注销"), B, M, QStringLiteral("PeriodicalWithdraw"),
             QStringLiteral("期刊注销"), true, 11)
        .add(QStringLiteral("书籍发放"), B, M, QStringLiteral("Distribute"),
             QStringLiteral("书籍发放"), true)
        .add(QStringLiteral("丢失罚款"), B, M, QStringLiteral("Fine"), QStringLiteral("丢失罚款"),
             true, 12);

    b.menu = kQueries;
    b.add(QStringLiteral("书籍资料查询"), Q, M, QStringLiteral("BookFind"),
          QStringLiteral("书籍资料查询"))
        .add(QStringLiteral("书籍借阅查询"), Q, M, QStringLiteral("BookLendFind"),
             QStringLiteral("书籍借阅查询"))
        .add(QStringLiteral("书籍归还查询"), Q, M, QStringLiteral("BookReturnFind"),
             QStringLiteral("书籍归还查询"))
        .add(QStringLiteral("书籍未还超期查询"), Q, L, QStringLiteral("BookOverdue"),
             QStringLiteral("书籍未还超期查询"))
        .add(QStringLiteral("期刊资料查询"), Q, M, QStringLiteral("PeriodicalFind"),
             QStringLiteral("期刊资料查询"))
        .add(QStringLiteral("期刊借阅查询"), Q, M, QStringLiteral("PeriodicalLendFind"),
             QStringLiteral("期刊借阅查询"))
        .add(QStringLiteral("期刊归还查询"), Q, M, QStringLiteral("PeriodicalReturnFind"),
             QStringLiteral("期刊归还查询"))
        .add(QStringLiteral("期刊未还超期查询"), Q, L, QStringLiteral("PeriodicalOverdue"),
             QStringLiteral("期刊未还超期查询"))
        .add(QStringLiteral("音像制品、电子资料、物品查询"), Q, M, QStringLiteral("Media"))
        .add(QStringLiteral("音像制品、电子资料、物品借出查询"), Q, M,
             QStringLiteral("MediaLendFind"), QStringLiteral("音像、资料、物品借出查询"))
        .add(QStringLiteral("音像制品、电子资料、物品归还查询"), Q, M,
             QStringLiteral("MediaReturnFind"), QStringLiteral("音像、资料、物品归还查询"))
        .add(QStringLiteral("读者资料查询"), Q, M, QStringLiteral("ReaderFind"),
             QStringLiteral("读者资料查询"))
        // Sits among the queries but follows the management right.
        .add(QStringLiteral("读者充押扣金查询"), G, M, QStringLiteral("DepositList"))
        .add(QStringLiteral("读者借阅证到期查询"), Q, M, QStringLiteral("ReaderFind"),
             QStringLiteral("读者借阅证到期查询"))
        .add(QStringLiteral("书籍注销查询"), Q, M, QStringLiteral("BookWithdrawals"))
        .add(QStringLiteral("期刊注销查询"), Q, M, QStringLiteral("PeriodicalWithdrawals"))
        .add(QStringLiteral("书籍发放查询"), Q, M, QStringLiteral("Distributions"));

    b.menu = kToday;
    for (const char16_t* t : {u"今日入库书籍", u"今日入库期刊", u"今日登记读者", u"今日借出图书",
                              u"今日归还图书", u"今日借出期刊", u"今日归还期刊"})
        b.add(QString::fromUtf16(t), Q, M, QStringLiteral("Today:") + QString::fromUtf16(t),
              QString::fromUtf16(t));

    b.menu = kStatistics;
    b.add(QStringLiteral("书籍借出次数排行榜"), T, M, QStringLiteral("BookRanking"),
          QStringLiteral("书籍借阅排行榜"), true)
        .add(QStringLiteral("期刊借出次数排行榜"), T, M, QStringLiteral("PeriodicalRanking"),
             QStringLiteral("期刊借阅排行榜"), true)
        .add(QStringLiteral("读者借阅排行榜"), T, M, QStringLiteral("ReaderRanking"),
             QStringLiteral("读者借阅排行榜"), true)
        .add(QStringLiteral("读者类型借阅排行榜"), T, M, QStringLiteral("ReaderTypeRanking"),
             QStringLiteral("读者类型借阅排行榜"), true)
        .add(QStringLiteral("读者部门借阅排行榜"), T, M, QStringLiteral("ReaderDepartmentRanking"),
             QStringLiteral("读者部门借阅排行榜"), true)
        // No right of its own: reachable whenever the group is open.
        .add(QStringLiteral("书籍类型统计"), N, M, QStringLiteral("BookClassStatistics"),
             QStringLiteral("书籍分类统计"))
        .sub(QStringLiteral("书籍资料分类统计"),
             {QStringLiteral("按书籍名称统计"), QStringLiteral("按作者信息统计"),
              QStringLiteral("按图书分类统计"), QStringLiteral("按出版社名统计"),
              QStringLiteral("按存放位置统计"), QStringLiteral("按书籍开本统计"),
              QStringLiteral("按所属语种统计"), QStringLiteral("按印刷版面统计")},
             QStringLiteral("BookGrouping"), QStringLiteral("书籍资料分类统计"))
        .sub(QStringLiteral("期刊资料分类统计"),
             {QStringLiteral("按期刊名称统计"), QStringLiteral("按主编信息统计"),
              QStringLiteral("按期刊分类统计"), QStringLiteral("按出版社名统计"),
              QStringLiteral("按存放位置统计"), QStringLiteral("按期刊刊期统计"),
              QStringLiteral("按期刊开本统计"), QStringLiteral("按所属语种统计")},
             QStringLiteral("PeriodicalGrouping"), QStringLiteral("期刊资料分类统计"))
        .sub(QStringLiteral("读者资料分类统计"),
             {QStringLiteral("按读者性别统计"), QStringLiteral("按读者类型统计"),
              QStringLiteral("按单位部门统计")},
             QStringLiteral("ReaderGrouping"), QStringLiteral("读者资料分类统计"))
        .add(QStringLiteral("音像制品、电子出版物分类统计"), T, M, QStringLiteral("MediaGrouping"),
             QStringLiteral("音像制品分类统计"))
        .add(QStringLiteral("租金罚款统计分析"), T, M, QStringLiteral("FineStatistics"),
             QStringLiteral("租金罚款统计"), true);

    b.menu = kPrinting;
    b.add(QStringLiteral("打印书籍条形码、书标"), P, M, QStringLiteral("BookLabels"),
          QStringLiteral("书籍条码书标打印"), true)
        .add(QStringLiteral("打印期刊资料条形码"), P, M, QStringLiteral("PeriodicalLabels"),
             QStringLiteral("打印期刊条形码"), true)
        .add(QStringLiteral("打印读者资料条形码、读者借阅证"), P, M, QStringLiteral("ReaderCards"),
             QStringLiteral("打印读者条形码、读者借阅证"), true)
        .add(QStringLiteral("自定义条形码打印"), N, M, QStringLiteral("CustomBarcodes"),
             QStringLiteral("自定义条码打印"));

    b.menu = kMaintenance;
    b.action(QStringLiteral("备份数据库"))
        .action(QStringLiteral("还原数据库"))
        .add(QStringLiteral("旧数据清理"), G, M, QStringLiteral("ClearHistory"),
             QStringLiteral("旧数据清理"))
        .add(QStringLiteral("管理员密码修改"), N, M, QStringLiteral("ChangePassword"),
             QStringLiteral(" 管理员密码修改"))
        .action(QStringLiteral("更改背景图片"))
        .add(QStringLiteral("视频照相"), N, L, QStringLiteral("Camera"), QStringLiteral("照相机"))
        .action(QStringLiteral("记事本"))
        .action(QStringLiteral("计算器"));

    b.menu = kSkins;
    for (const Skin& s : skins())
        b.action(s.item);
    b.action(noSkinItem());

    b.menu = kHelp;
    b.action(QStringLiteral("软件使用手册")).action(QStringLiteral("升级程序"));

    // Reached from the tool bar only.
    b.menu.clear();
    b.add(QStringLiteral("今日数据"), Q, M, QStringLiteral("Today"), QStringLiteral("今日数据"));
    b.action(QStringLiteral("退出软件"));

    auto one = [](const QString& caption, const QString& command) {
        return ToolBarEntry{caption, {command}};
    };
    m_toolBar = {
        one(QStringLiteral("书籍管理"), QStringLiteral("书籍资料管理")),
        one(QStringLiteral("期刊管理"), QStringLiteral("期刊资料管理")),
        one(QStringLiteral("读者管理"), QStringLiteral("读者资料管理")),
        one(QStringLiteral("书籍查询"), QStringLiteral("书籍资料查询")),
        one(QStringLiteral("读者查询"), QStringLiteral("读者资料查询")),
        one(QStringLiteral("借阅查询"), QStringLiteral("书籍借阅查询")),
        one(QStringLiteral("超期查询"), QStringLiteral("书籍未还超期查询")),
        one(QStringLiteral("充扣押金"), QStringLiteral("充扣押金")),
        one(QStringLiteral("读者挂失"), QStringLiteral("读者挂失")),
        one(QStringLiteral("读者注销"), QStringLiteral("读者注销")),
        one(QStringLiteral("今日数据"), QStringLiteral("今日数据")),
        one(QStringLiteral("资金汇总"), QStringLiteral("租金罚款统计分析")),
        {QStringLiteral("借阅排行"),
         {QStringLiteral("书籍借出次数排行榜"), QStringLiteral("期刊借出次数排行榜"),
          QStringLiteral("读者借阅排行榜"), QStringLiteral("读者类型借阅排行榜"),
          QStringLiteral("读者部门借阅排行榜")}},
        one(QStringLiteral("视频照相"), QStringLiteral("视频照相")),
        one(QStringLiteral("退出软件"), QStringLiteral("退出软件")),
    };
}

const CommandTable& CommandTable::instance() {
    static const CommandTable table;
    return table;
}

QList<const Command*> CommandTable::inMenu(const QString& menu) const {
    QList<const Command*> out;
    for (const Command& c : m_commands)
        if (c.menu == menu)
            out << &c;
    return out;
}

QStringList CommandTable::subMenus(const QString& menu) const {
    QStringList out;
    for (const Command& c : m_commands)
        if (c.menu == menu && !c.subMenu.isEmpty() && !out.contains(c.subMenu))
            out << c.subMenu;
    return out;
}

const Command* CommandTable::find(const QString& id) const {
    for (const Command& c : m_commands)
        if (c.id == id)
            return &c;
    return nullptr;
}

const Command* CommandTable::forFunctionKey(int n) const {
    for (const Command& c : m_commands)
        if (c.functionKey == n)
            return &c;
    return nullptr;
}

QStringList CommandTable::skinCommands() const {
    QStringList out;
    for (const Command* c : inMenu(kSkins))
        out << c->id;
    return out;
}

bool gateOpen(Gate gate, const Rights& r) {
    switch (gate) {
    case Gate::None:
        return true;
    case Gate::SystemSettings:
        return r.systemSettings;
    case Gate::Management:
        return r.management;
    case Gate::BasicOperations:
        return r.basicOperations;
    case Gate::Queries:
        return r.queries;
    case Gate::Statistics:
        return r.statistics;
    case Gate::Printing:
        return r.printing;
    }
    return false;
}

const QList<Skin>& skins() {
    static const QList<Skin> list = {
        {QStringLiteral("办公模式"), QStringLiteral("DiamondBlue.ssk")},
        {QStringLiteral("春"), QStringLiteral("mdd_spring.ssk")},
        {QStringLiteral("夏"), QStringLiteral("mdd_summer.ssk")},
        {QStringLiteral("秋"), QStringLiteral("mdd_autum.ssk")},
        {QStringLiteral("冬"), QStringLiteral("mdd_winter.ssk")},
        {QStringLiteral("橄榄绿"), QStringLiteral("SportsGreen.ssk")},
        {QStringLiteral("橘红色"), QStringLiteral("SportsOrange.ssk")},
    };
    return list;
}

QString noSkinItem() {
    return QStringLiteral("不用皮肤");
}
QString noSkinValue() {
    return QStringLiteral("无");
}

QString skinItemForFile(const QString& file) {
    for (const Skin& s : skins())
        if (s.file.compare(file, Qt::CaseInsensitive) == 0)
            return s.item;
    return {};
}

QString loadSkinStyleSheet(const QString& skinFolder, const QString& configuredFile) {
    const QString name = configuredFile.trimmed();
    if (name.isEmpty() || name == noSkinValue() || name.contains(u'/') || name.contains(u'\\'))
        return {};
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot > 0 ? name.left(dot) : name;
    for (const QString& path : {skinFolder + u'/' + base + QStringLiteral(".qss"),
                                QStringLiteral(":/skin/") + base + QStringLiteral(".qss")}) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            return QString::fromUtf8(f.readAll());
    }
    return {};
}

} // namespace cangshu
