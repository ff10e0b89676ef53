// libFuzzer entry for the MARC reader: any bytes, cut into records, each read to the end.
#include "marc/MarcFile.h"
#include "marc/MarcRecord.h"

#include <cstddef>
#include <cstdint>

using namespace cangshu;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QByteArray> records = splitMarcRecords(bytes);
    records.append(bytes); // the input as one record, unsplit
    qsizetype touched = 0;
    for (const QByteArray& r : records) {
        MarcRecord record = MarcRecord::fromBytes(r);
        for (const auto& field : record.fields()) {
            touched += field.content.size() + field.leadingText.size() + field.indicators.size();
            for (const auto& subfield : field.subfields)
                touched += subfield.value().size();
        }
        touched += record.subfieldValues(QStringLiteral("200"), u'a').size();
        if (record.type() == MarcType::CnMarc)
            record.setType(MarcType::UsMarc);
        touched += record.id().size();
    }
    return touched < 0 ? 1 : 0;
}
