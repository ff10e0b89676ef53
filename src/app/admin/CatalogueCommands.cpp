// The cataloguing commands: callno.
#include "Commands.h"

#include "catalogue/CatalogueLookups.h"

namespace cangshu::admin {

int cmdCallno(AdminContext& ctx, const QStringList& args) {
    if (args.size() != 1 || args[0].trimmed().isEmpty())
        throw CommandError{Usage, QStringLiteral("usage: callno CLASS")};
    const QString classNumber = args[0].trimmed();
    Database& db = ctx.library();
    const QString sequence = nextSequenceNumber(db, classNumber, storedKindCondition(db));
    const QString call = callNumber(classNumber, sequence);
    ctx.print({{"class", classNumber}, {"sequence", sequence}, {"callNumber", call}},
              sequence + u'\t' + call);
    return Done;
}

} // namespace cangshu::admin
