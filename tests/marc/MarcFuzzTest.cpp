#include "MarcTestSupport.h"

#include "marc/MarcRecord.h"
#include "support/TestDatabase.h"

#include <random>

using namespace cangshu;
using namespace cangshu::test;

namespace {

// Touches everything a caller can read, so that a bad cut shows up under the sanitizers.
qsizetype readAll(const MarcRecord& r) {
    qsizetype n = r.id().size() + r.problemText().size();
    for (const auto& f : r.fields()) {
        n += f.tag.size() + f.content.size() + f.indicators.size() + f.leadingText.size();
        for (const auto& s : f.subfields)
            n += s.value().size() + s.name().size();
    }
    n += r.subfieldValues(QStringLiteral("200"), u'a').size();
    return n;
}

QList<QByteArray> seeds() {
    QList<QByteArray> records = allFixtureRecords();
    records << chineseBook().toIso2709() << chineseBook().toIso2709(MarcWriter::Unit::Characters);
    return records;
}

} // namespace

// Every truncation and many random byte changes of real records: each is read to the end
// or refused, never read past its bytes.
TEST(MarcFuzzTest, TruncationsAndByteFlipsNeverCrash) {
    std::mt19937 random(20261211);
    const char interesting[] = {'\x1d', '\x1e', '\x1f', '0', '9', ' ', '\xb0', '\xa1', '\xff', 'a'};
    qsizetype touched = 0;
    int refused = 0;
    for (const QByteArray& seed : seeds()) {
        for (qsizetype n = 0; n < seed.size(); ++n) {
            const MarcRecord r = MarcRecord::fromBytes(seed.left(n));
            touched += readAll(r);
            refused += r.hasFields() ? 0 : 1;
        }
        std::uniform_int_distribution<qsizetype> position(0, seed.size() - 1);
        for (int round = 0; round < 200; ++round) {
            QByteArray mutated = seed;
            const int flips = 1 + round % 4;
            for (int i = 0; i < flips; ++i) {
                const qsizetype at = round % 3 == 0 ? position(random) % 120 : position(random);
                mutated[at] =
                    round % 2 ? interesting[random() % sizeof interesting] : char(random() & 0xff);
            }
            touched += readAll(MarcRecord::fromBytes(mutated));
        }
    }
    EXPECT_GT(touched, 0);
    EXPECT_GT(refused, 0);
}
