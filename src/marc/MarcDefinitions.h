#pragma once
#include "MarcTypes.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <array>

namespace cangshu {

struct MarcSubfieldDefinition {
    QChar code;
    bool mandatory = false;
    bool repeatable = false;
    QString name;
};

struct MarcFieldDefinition {
    QString tag;
    QString name;
    QString fullName;
    bool mandatory = false;
    bool repeatable = false;
    QString indicator1; // allowed values, "_" for blank
    QString indicator2;
    QList<MarcSubfieldDefinition> subfields;

    const MarcSubfieldDefinition* subfield(QChar code) const;
};

// The names of the fields and subfields of one MARC format, read from a line-per-tag table:
// tag,name,full name,flags,indicator 1 values,indicator 2 values,subfield items...,
// where a subfield item is code, mandatory flag, repeatable flag and name ("a00ISBN").
class MarcDefinitions {
public:
    static const MarcDefinitions& cnmarc();
    static const MarcDefinitions& usmarc();
    // CNMARC serves records of unknown type too.
    static const MarcDefinitions& forType(MarcType type);

    static MarcDefinitions parse(const QString& table);

    const MarcFieldDefinition* field(QStringView tag) const;
    // A tag of three digits given as its number (0..999).
    const MarcFieldDefinition* field(int number) const {
        return m_byNumber[number] < 0 ? nullptr : m_fields.constData() + m_byNumber[number];
    }
    const MarcFieldDefinition* field(QLatin1StringView tag) const;
    const QList<MarcFieldDefinition>& fields() const { return m_fields; }
    // The entry of the leader ("hdr"), asked for every record.
    const MarcFieldDefinition* leader() const { return m_leader; }

    // The name of a tag missing from the table.
    static QString nonStandardName();

private:
    QList<MarcFieldDefinition> m_fields;
    QHash<quint64, qsizetype> m_byTag; // tag packed by tagKey()
    const MarcFieldDefinition* m_leader = nullptr;
    // Numeric tags, the usual case, index a table directly (-1: not defined).
    std::array<qint16, 1000> m_byNumber = filled();
    static std::array<qint16, 1000> filled() {
        std::array<qint16, 1000> a;
        a.fill(-1);
        return a;
    }
};

} // namespace cangshu
