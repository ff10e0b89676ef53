#pragma once
#include "Database.h"

#include <QString>

namespace cangshu {

// Books, periodicals and readers get numbers "<prefix><zero-padded counter><suffix>" of a
// configured width, drawn from counters in the single row of 系统信息.
enum class NumberKind { Book, Periodical, Reader };

struct NumberShape {
    int width = 0;
    QString prefix;
    QString suffix;
    qint64 counter = 0;
};

class Numbering {
public:
    explicit Numbering(const Database& db) : m_db(db) {}

    NumberShape shape(NumberKind kind) const;  // a missing prefix/suffix column reads as empty
    int numLength(NumberKind kind) const;      // the width
    QString nextNumber(NumberKind kind) const; // asking does not advance the counter
    void advance(NumberKind kind) const;       // after a record with a generated number is stored

    // The number a shape gives: zeros are added while shorter than the width; never cut.
    static QString format(const NumberShape& shape);

private:
    const Database& m_db;
};

// The numbering settings as typed in the settings window, one group per kind.
struct NumberSettingsInput {
    QString width[3];
    QString prefix[3];
    QString suffix[3];
    QString counter[3];
};

// Which box a validation message points at.
enum class NumberField { Width, Prefix, Suffix, Counter };

struct NumberSettingsCheck {
    bool ok = true;
    QString message; // the system's message, e.g. "书籍编号宽度太小！"
    NumberKind kind = NumberKind::Book;
    NumberField field = NumberField::Width;
};

// Validates in the order the settings window checks, stopping at the first failure.
NumberSettingsCheck validateNumberSettings(const NumberSettingsInput& input);
// Accepts only what the box allows: digits for width and counter, letters A-Z/a-z for
// prefix and suffix.
bool isAllowedNumberSettingChar(NumberField field, QChar c);
// Loads the twelve values for the window and stores them back (trimmed) in one statement.
NumberSettingsInput loadNumberSettings(const Database& db);
void saveNumberSettings(const Database& db, const NumberSettingsInput& input);

} // namespace cangshu
