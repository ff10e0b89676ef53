#include "LoanRules.h"

namespace cangshu {

namespace {

struct RuleColumns {
    const char16_t* maxItems;
    const char16_t* loanDays;
    const char16_t* renewals;
    const char16_t* renewalDays;
    const char16_t* rent;
    const char16_t* fine;
};

const RuleColumns& columnsOf(RuleSet set) {
    static const RuleColumns books{u"书籍借出册数", u"书籍借出天数", u"书籍续借次数",
                                   u"书籍续借天数", u"书籍每日租金", u"书籍超期罚款"};
    // The periodical count and period carry 杂志 in their names.
    static const RuleColumns periodicals{u"杂志借出册数", u"杂志借出天数", u"期刊续借次数",
                                         u"期刊续借天数", u"期刊每日租金", u"期刊超期罚款"};
    return set == RuleSet::Periodicals ? periodicals : books;
}

int wholeNumber(const QSqlRecord& r, const QString& column) {
    const QVariant v = r.value(column);
    if (v.isNull())
        return 0;
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    return ok ? int(d) : 0;
}

} // namespace

LoanRules LoanRules::unlimitedRules() {
    LoanRules r;
    r.unlimited = true;
    r.maxItems = r.loanDays = r.renewals = r.renewalDays = Unlimited;
    return r;
}

LoanRules loanRules(const Database& db, const QString& typeName, RuleSet set) {
    if (set == RuleSet::None)
        return LoanRules::unlimitedRules();
    const auto row =
        db.row(QStringLiteral("select * from [读者类型] where [类型名称]=?"), {typeName});
    if (!row)
        return LoanRules::unlimitedRules();
    const RuleColumns& c = columnsOf(set);
    LoanRules r;
    r.typeFound = true;
    r.dailyRent = Money::fromVariant(row->value(QString::fromUtf16(c.rent)));
    r.overdueFine = Money::fromVariant(row->value(QString::fromUtf16(c.fine)));
    if (row->value(QStringLiteral("无限制")).toString() == QStringLiteral("是")) {
        r.unlimited = true;
        r.maxItems = r.loanDays = r.renewals = r.renewalDays = LoanRules::Unlimited;
        return r;
    }
    r.maxItems = wholeNumber(*row, QString::fromUtf16(c.maxItems));
    r.loanDays = wholeNumber(*row, QString::fromUtf16(c.loanDays));
    r.renewals = wholeNumber(*row, QString::fromUtf16(c.renewals));
    r.renewalDays = wholeNumber(*row, QString::fromUtf16(c.renewalDays));
    return r;
}

} // namespace cangshu
