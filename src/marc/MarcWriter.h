#pragma once
#include "MarcText.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace cangshu {

// Builds ISO 2709 records: the leader's lengths and base address, the directory and the
// terminators are computed; the rest of the leader comes from a template.
class MarcWriter {
public:
    enum class Unit { Bytes, Characters };
    using Subfields = QList<QPair<QChar, QString>>;

    // Positions 5-9 and 17-23 of the template are kept (for example "nam0 " and
    // "   450 " for a CNMARC monograph).
    explicit MarcWriter(const QString& leaderTemplate = QStringLiteral("     nam0 22     i  450 "));

    MarcWriter& controlField(const QString& tag, const QString& data);
    MarcWriter& dataField(const QString& tag, const QString& indicators,
                          const Subfields& subfields);

    // Lengths and positions count bytes of the charset's encoding, or characters.
    // Throws std::length_error when a field or the record is too long for the directory.
    QByteArray toIso2709(Unit unit = Unit::Bytes, MarcCharset charset = MarcCharset::Gbk) const;

private:
    QString m_leader;
    QList<QPair<QString, QString>> m_fields; // tag, field text without its terminator
};

} // namespace cangshu
