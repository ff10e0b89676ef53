// The circulation desk's commands: lend, return, renew, deposit, fine.
#include "Commands.h"

#include "circulation/Deposits.h"
#include "circulation/Fines.h"
#include "circulation/LendingDesk.h"
#include "circulation/RenewalDesk.h"
#include "circulation/ReturnDesk.h"

#include <QJsonArray>

namespace cangshu::admin {

namespace {

QString requiredReader(ArgReader& reader, const char* usage) {
    const QString number = reader.option(QStringLiteral("--reader"));
    if (number.trimmed().isEmpty())
        throw CommandError{Usage, QStringLiteral("usage: %1").arg(QString::fromUtf8(usage))};
    return number;
}

// "--reader NUMBER BOOKNO...": the reader and at least one book, else the usage.
std::pair<QString, QStringList> readerAndBooks(const QStringList& args, const char* usage) {
    ArgReader reader(args);
    const QString number = requiredReader(reader, usage);
    const QStringList books = reader.positional();
    if (books.isEmpty())
        throw CommandError{Usage, QStringLiteral("usage: %1").arg(QString::fromUtf8(usage))};
    return {number, books};
}

void refuseUnless(const Outcome& outcome) {
    if (!outcome.ok)
        throw CommandError{Refused, outcome.message};
}

QString dateText(const QDate& d) {
    return d.toString(Qt::ISODate);
}

// A loan as the commands print it, with what the command adds.
QJsonObject loanJson(qint64 key, const ItemRow& item, const QDate& lent, const QDate& due,
                     std::initializer_list<std::pair<QString, QJsonValue>> more = {}) {
    QJsonObject o{{"key", key},
                  {"book", item.number},
                  {"title", item.title},
                  {"lent", dateText(lent)},
                  {"due", dateText(due)}};
    for (const auto& [name, value] : more)
        o.insert(name, value);
    return o;
}

// Picks the loan lines named by item number, one line per mention (two copies of a title
// named twice are two lines); an item the reader does not hold is refused.
template <typename Line>
QList<int> linesNamed(const QList<Line>& lines, const QStringList& numbers,
                      const QString& refusal) {
    QList<int> chosen;
    for (const QString& number : numbers) {
        int hit = -1;
        for (int i = 0; i < lines.size() && hit < 0; ++i)
            if (lines[i].item.number == number && !chosen.contains(i))
                hit = i;
        if (hit < 0)
            throw CommandError{Refused, QStringLiteral("%1：%2").arg(number, refusal)};
        chosen << hit;
    }
    return chosen;
}

} // namespace

int cmdLend(AdminContext& ctx, const QStringList& args) {
    const auto [number, books] = readerAndBooks(args, "lend --reader NUMBER BOOKNO...");

    Database& db = ctx.library();
    LendingDesk desk(db, ItemKind::books(), loadDeskSettings(db, ctx.operatorName()));
    refuseUnless(desk.identifyReader(number));
    for (const QString& book : books) {
        LendingDesk::AddResult added = desk.addItem(ItemSearch::ByNumber, book);
        // Several copies share the number: the first one that may be lent.
        for (const ItemRow& candidate : std::as_const(added.candidates)) {
            added.outcome = desk.addChosen(candidate.id);
            if (added.outcome.ok)
                break;
        }
        if (!added.outcome.ok)
            throw CommandError{Refused, added.outcome.message.isEmpty()
                                            ? ItemKind::books().messages.notFoundByNumber
                                            : added.outcome.message};
    }
    const QString readerNumber = desk.reader()->number;
    const Outcome done = desk.commit();
    refuseUnless(done);

    QJsonArray loans;
    QStringList lines;
    for (const LoanRecord& l : desk.lastLoans()) {
        loans.append(loanJson(l.key, l.item, l.lentOn, l.due));
        lines << QStringLiteral("%1\t%2\t应还日期：%3")
                     .arg(l.item.number, l.item.title, dateText(l.due));
    }
    lines << done.message;
    ctx.print({{"reader", readerNumber}, {"loans", loans}, {"message", done.message}},
              lines.join(u'\n'));
    return Done;
}

int cmdReturn(AdminContext& ctx, const QStringList& args) {
    ArgReader reader(args);
    const QString number = requiredReader(reader, "return --reader NUMBER [BOOKNO...]");
    const QStringList books = reader.positional();

    Database& db = ctx.library();
    DeskSettings settings = loadDeskSettings(db, ctx.operatorName());
    settings.returnMode = 1; // list the reader's loans, then keep the named ones ticked
    ReturnDesk desk(db, ItemKind::books(), settings);
    refuseUnless(desk.identifyReader(number));
    if (!books.isEmpty()) {
        const QList<int> chosen =
            linesNamed(desk.lines(), books, ItemKind::books().messages.notOnLoan);
        desk.tickAll(false);
        for (int i : chosen)
            desk.setTicked(i, true);
    }
    const ReturnTotals totals = desk.totals();
    const QString readerNumber = desk.reader()->number;
    const Outcome done = desk.commit();
    refuseUnless(done);

    QJsonArray returned;
    QStringList lines;
    for (const ReturnLine& l : desk.lastReturned()) {
        returned.append(loanJson(l.loanKey, l.item, l.lentOn, l.due,
                                 {{"days", l.fee.daysLent},
                                  {"rent", l.fee.rent.toString()},
                                  {"overdue", l.fee.overdueText()},
                                  {"fine", l.fee.fine.toString()}}));
        lines << QStringLiteral("%1\t%2\t借出天数：%3\t租金金额：%4\t超期天数：%5\t罚款金额：%6")
                     .arg(l.item.number, l.item.title)
                     .arg(l.fee.daysLent)
                     .arg(l.fee.rent.toString(), l.fee.overdueText(), l.fee.fine.toString());
    }
    lines << QStringLiteral("应收罚款：%1\t应收租金：%2\t合计：%3")
                 .arg(totals.fines.toString(), totals.rents.toString(), totals.total().toString());
    lines << done.message;
    ctx.print({{"reader", readerNumber},
               {"returned", returned},
               {"fines", totals.fines.toString()},
               {"rents", totals.rents.toString()},
               {"total", totals.total().toString()},
               {"message", done.message}},
              lines.join(u'\n'));
    return Done;
}

int cmdRenew(AdminContext& ctx, const QStringList& args) {
    const auto [number, books] = readerAndBooks(args, "renew --reader NUMBER BOOKNO...");

    Database& db = ctx.library();
    RenewalDesk desk(db, ItemKind::books(), loadDeskSettings(db, ctx.operatorName()));
    refuseUnless(desk.identifyReader(number));
    if (desk.lines().isEmpty())
        throw CommandError{Refused, ItemKind::books().messages.renewEmptyList};
    for (int i : linesNamed(desk.lines(), books, ItemKind::books().messages.notOnLoan))
        desk.setTicked(i, true);
    const QString readerNumber = desk.reader()->number;
    const Outcome done = desk.commit();
    refuseUnless(done);

    QJsonArray renewed;
    QStringList lines;
    for (const RenewalLine& l : desk.lastRenewed()) {
        renewed.append(loanJson(l.loanKey, l.item, l.lentOn, l.due,
                                {{"granted", l.granted}, {"taken", l.taken}}));
        lines << QStringLiteral("%1\t%2\t应还日期：%3\t已经续借：%4/%5")
                     .arg(l.item.number, l.item.title, dateText(l.due))
                     .arg(l.taken)
                     .arg(l.granted);
    }
    lines << done.message;
    ctx.print({{"reader", readerNumber}, {"renewed", renewed}, {"message", done.message}},
              lines.join(u'\n'));
    return Done;
}

int cmdDeposit(AdminContext& ctx, const QStringList& args) {
    ArgReader reader(args);
    const QString number =
        requiredReader(reader, "deposit --reader NUMBER --amount AMOUNT [--note TEXT]");
    QString amount = reader.option(QStringLiteral("--amount")).trimmed();
    const QString note = reader.option(QStringLiteral("--note"));
    if (!reader.positional().isEmpty())
        throw CommandError{
            Usage, QStringLiteral("usage: deposit --reader NUMBER --amount AMOUNT [--note TEXT]")};

    Database& db = ctx.library();
    const ReaderCheck found = lookupReaderForDeposit(db, number);
    refuseUnless(found.outcome);
    DepositRequest request{found.reader->number, DepositDirection::PayIn, amount, {}, note,
                           ctx.operatorName()};
    if (amount.startsWith(u'-')) {
        request.direction = DepositDirection::Deduct;
        request.amountText = amount.mid(1);
    }
    const Outcome done = recordDeposit(db, request);
    refuseUnless(done);
    const Money balance = findReader(db, request.readerNumber)->deposit;
    ctx.print({{"reader", request.readerNumber},
               {"amount", Money::parse(amount).value_or(Money()).toString()},
               {"balance", balance.toString()},
               {"message", done.message}},
              QStringLiteral("读者押金：%1\n%2").arg(balance.toString(), done.message));
    return Done;
}

int cmdFine(AdminContext& ctx, const QStringList& args) {
    static const char* usage = "fine --reader NUMBER --amount AMOUNT --item TEXT [--note TEXT]";
    ArgReader reader(args);
    const QString number = requiredReader(reader, usage);
    const QString amount = reader.option(QStringLiteral("--amount"));
    const QString item = reader.option(QStringLiteral("--item"));
    const QString note = reader.option(QStringLiteral("--note"));
    if (!reader.positional().isEmpty() || item.isEmpty())
        throw CommandError{Usage, QStringLiteral("usage: %1").arg(QString::fromUtf8(usage))};

    Database& db = ctx.library();
    const ReaderCheck found = lookupReaderForFine(db, number);
    refuseUnless(found.outcome);
    const Outcome done = recordFine(db, {found.reader->number, amount, item, {}, note});
    refuseUnless(done);
    ctx.print({{"reader", found.reader->number},
               {"amount", Money::parse(amount).value_or(Money()).toString()},
               {"item", item},
               {"message", done.message}},
              done.message);
    return Done;
}

} // namespace cangshu::admin
