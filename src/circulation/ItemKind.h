#pragma once
#include "readers/LoanRules.h"

#include <QString>

namespace cangshu {

// One kind of lendable item (books now; periodicals and audio-visual items use the same
// desks with their own tables, columns and messages). Every name here is fixed text of the
// schema, never operator input, so it may stand in SQL text.
struct ItemKind {
    // The catalogue table and the columns the desks read.
    QString itemTable;       // 书籍资料
    QString numberColumn;    // 书籍编号: the number or barcode scanned at the desk
    QString titleColumn;     // 书籍名称
    QString volumeColumn;    // 当前本数, shown after the title; empty when the kind has none
    QString isbnColumn;      // 标准ISBN
    QString categoryColumn;  // 分类名称
    QString priceColumn;     // 书籍价格
    QString publisherColumn; // 出版社名
    QString locationColumn;  // 存放位置
    QString secrecyColumn;   // 密级
    QString statusColumn;    // 在馆状态: availability of one-to-one copies
    QString stockColumn;     // 馆内剩余: copies on the shelf of one-to-many titles
    QString lendCountColumn; // 借出次数

    // Circulation tables.
    QString loanTable;        // 书籍借阅清单
    QString historyTable;     // 书籍归还清单
    QString indexColumn;      // 书籍索引: the item's ID in both
    QString reservationTable; // 读者预定, keyed by indexColumn; empty when the kind has none

    RuleSet rules = RuleSet::Books;
    bool renewable = true; // the loan table has 允许续借 and 已经续借
    bool charged = true;   // the history table has 租金金额, 超期天数 and 罚款金额

    // The system's messages for this kind.
    struct Messages {
        QString limitReached;     // 借阅数量已经到达可借数量！
        QString notFoundByNumber; // 没有找到该书籍编号！
        QString notFound;         // 没有找到该书籍！
        QString reservedBy;       // 此书已经被%1号读者预定！
        QString notOnShelf;       // 此书不在馆内或者不允许借出！
        QString noStock;          // 此书馆内剩余不足！
        QString alreadyPending;   // a copy already in the pending list
        QString nothingPending;   // 请输入书籍信息！
        QString lent;             // 书籍借阅成功！
        QString noOpenLoans;      // 该读者还未借阅书籍！
        QString notOnLoan;        // 此书还没有借出！
        QString returnNoReader;   // 请先输入读者编号或书籍编号！
        QString returnEmptyList;  // 该读者没有借阅图书！
        QString returnNoneTicked; // 请选中要归还的书籍！
        QString alreadyListed;    // a loan already in the return list
        QString alreadyReturned;  // a listed loan that another desk took back meanwhile
        QString returned;         // 书籍归还成功！
        QString renewEmptyList;   // 该读者没有续借图书信息！
        QString renewNoneTicked; // 请选中要续借的书籍！达到续借次数的书籍将不能续借！
        QString renewGone; // a listed loan that was returned or renewed meanwhile
        QString renewed;   // 书籍续借成功！
    } messages;

    static const ItemKind& books();
};

// The library-wide circulation parameters and the operator at the desk.
struct DeskSettings {
    bool oneToOne = true; // 参数设置.一对一 = 1
    int returnMode = 1;   // 参数设置.还书: 1 lists all loans of a reader, 0 card then book
    QString operatorName;
};

// Reads 一对一 and 还书 from 参数设置 (还书 reads as 1 when missing or null).
DeskSettings loadDeskSettings(const Database& db, const QString& operatorName);

} // namespace cangshu
