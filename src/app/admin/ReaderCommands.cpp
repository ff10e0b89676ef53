// The reader status operations: reader lose|found|cancel|refund NUMBER.
#include "Commands.h"

#include "readers/ReaderStatus.h"

namespace cangshu::admin {

int cmdReader(AdminContext& ctx, const QStringList& args) {
    const QStringList rest = ArgReader(args).positional();
    static const QList<std::pair<QString, StatusOperation>> operations{
        {QStringLiteral("lose"), StatusOperation::Lose},
        {QStringLiteral("found"), StatusOperation::Found},
        {QStringLiteral("cancel"), StatusOperation::Cancel},
        {QStringLiteral("refund"), StatusOperation::Refund},
    };
    const auto op = std::find_if(operations.cbegin(), operations.cend(), [&](const auto& o) {
        return rest.size() == 2 && o.first == rest[0];
    });
    if (op == operations.cend())
        throw CommandError{Usage, QStringLiteral("usage: reader lose|found|cancel|refund NUMBER")};

    Database& db = ctx.library();
    // As the window: look the reader up, then act on what the lookup showed.
    const ReaderCheck found = lookupReaderForStatus(db, rest[1]);
    if (!found.passed())
        throw CommandError{Refused, found.outcome.message};
    const Reader& reader = *found.reader;
    const Money deposit = reader.deposit;
    const Outcome done =
        applyStatusOperation(db, op->second, reader.number, reader.name, reader.type);
    if (!done.ok)
        throw CommandError{Refused, done.message};
    QJsonObject json{{"reader", reader.number},
                     {"name", reader.name},
                     {"operation", op->first},
                     {"message", done.message}};
    QString text = done.message;
    if (op->second == StatusOperation::Refund) {
        json.insert(QStringLiteral("deposit"), deposit.toString());
        text += QStringLiteral("\n退还押金：%1").arg(deposit.toString());
    }
    ctx.print(json, text);
    return Done;
}

} // namespace cangshu::admin
