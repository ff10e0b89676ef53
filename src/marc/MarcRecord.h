#pragma once
#include "MarcText.h"
#include "MarcTypes.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace cangshu {

struct MarcFieldDefinition;
struct MarcSubfieldDefinition;

// Every text a record answers is a view into the record's own decoded text, valid while the
// record (or a copy of it) lives: reading a record decodes it once and copies no values.
class MarcSubfield {
public:
    QChar code;

    QStringView value() const { return m_value; }
    // The entry of the format's field table; null when the table does not know the code.
    const MarcSubfieldDefinition* definition() const;
    // From the field table; empty when the table does not know it.
    QString name() const;

private:
    friend class MarcRecord;
    QStringView m_value;
    const MarcFieldDefinition* m_field = nullptr; // names are looked up when asked
};

// The subfields of one field, in order.
class MarcSubfieldList {
public:
    MarcSubfieldList() = default;
    MarcSubfieldList(const MarcSubfield* first, qsizetype count) : m_first(first), m_count(count) {}
    const MarcSubfield* begin() const { return m_first; }
    const MarcSubfield* end() const { return m_first + m_count; }
    qsizetype size() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    const MarcSubfield& operator[](qsizetype i) const { return m_first[i]; }

private:
    const MarcSubfield* m_first = nullptr;
    qsizetype m_count = 0;
};

struct MarcField {
    QStringView tag; // "hdr" for the leader
    // The entry of the format's field table; null for a tag the table does not have.
    const MarcFieldDefinition* definition = nullptr;
    QString name() const;     // "非标准字段" for a tag the table does not have
    QString fullName() const; // likewise
    QStringView indicators;   // two characters, blanks for control fields and the leader
    // A control field's whole data; a data field's data from its first subfield delimiter
    // on (delimiters kept). Never the field terminator.
    QStringView content;
    // What stands before the first subfield delimiter: the indicators of a data field, the
    // whole data of a control field.
    QStringView leadingText;
    bool control = false;
    MarcSubfieldList subfields;

private:
    friend class MarcRecord;
    quint64 m_tagKey = 0; // the tag packed for quick look-ups
};

// Why a record gave no fields.
enum class MarcProblem {
    None,
    Empty,          // no bytes at all
    ShortLeader,    // fewer than 24 characters
    BadBaseAddress, // not a number, zero, inside the leader or past the end
    MissingDirectoryTerminator,
    BadDirectory,      // not a whole number of 12-character entries
    BadDirectoryEntry, // a length or starting position that is not a number
    FieldOutOfRange,   // a field that reaches past the end of the record
    MissingFieldTerminator,
    SplitCharacter, // a field that starts inside a double-byte character
};

QString describeMarcProblem(MarcProblem problem);

// One MARC record in ISO 2709 form, parsed from its bytes. A malformed record never throws
// and never reads outside its bytes: it ends with no fields and a problem saying why, so
// that every look-up answers one empty text.
class MarcRecord {
public:
    MarcRecord() = default;
    // The bytes of one record as read from a file or a server (GBK, or UTF-8 for a USMARC
    // record whose leader says so). The record terminator may be present or not.
    static MarcRecord fromBytes(const QByteArray& bytes);
    // A record held as text; it is parsed from its GBK form.
    static MarcRecord fromText(const QString& text);

    bool isSet() const { return m_set; }
    bool hasFields() const { return !m_fields.isEmpty(); }
    MarcProblem problem() const { return m_problem; }
    // The index of the directory entry the problem was found at, -1 when not one.
    int problemEntry() const { return m_problemEntry; }
    QString problemText() const;

    MarcType type() const { return m_type; }
    // Re-parses the record with the other format's names and control fields; views taken
    // from the record before are no longer valid.
    void setType(MarcType type);
    MarcCode code() const { return m_code; }
    MarcCharset charset() const { return m_charset; }
    QString id() const { return m_id.toString(); }
    QString leader() const;
    const QByteArray& bytes() const { return m_bytes; }

    // The leader entry first, then one entry per directory entry in order.
    const QList<MarcField>& fields() const { return m_fields; }

    // Contents of every field with that tag, in record order; one empty text when none
    // matches, an empty list when no record was set.
    QStringList fieldValues(QStringView tag) const;
    // Values of that subfield in every field with that tag, in record order; always at
    // least one element (one empty text when nothing matches).
    QStringList subfieldValues(QStringView tag, QChar code) const;
    QString firstSubfield(QStringView tag, QChar code) const;
    // The same without a copy; valid while the record lives.
    QStringView firstSubfieldView(QStringView tag, QChar code) const;

    // The control-field tags of a format (none for records of unknown type).
    static bool isControlTag(MarcType type, QStringView tag);

private:
    // Cuts the record; a given type overrides the one its directory tells.
    void parse(std::optional<MarcType> forcedType);
    void clear();

    QByteArray m_bytes;
    bool m_set = false;
    MarcProblem m_problem = MarcProblem::None;
    int m_problemEntry = -1;
    MarcType m_type = MarcType::Unknown;
    MarcCode m_code = MarcCode::Unknown;
    MarcCharset m_charset = MarcCharset::Gbk;
    // The decoded leader, tags, indicators and field data the views point into. The lists
    // are shared by copies of the record and never change once cut, so views stay put.
    QString m_text;
    QList<MarcSubfield> m_subfields;
    QList<MarcField> m_fields;
    QStringView m_id;
};

} // namespace cangshu
