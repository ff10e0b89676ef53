#pragma once
#include "Money.h"
#include "core/Database.h"
#include "core/Outcome.h"

#include <QByteArray>
#include <QDate>
#include <optional>

namespace cangshu {

// Field names that outcomes of the reader and circulation logic point the focus at.
namespace focus {
inline const QString reader = QStringLiteral("reader");
inline const QString item = QStringLiteral("item");
inline const QString amount = QStringLiteral("amount");
} // namespace focus

// One row of 读者资料 as the circulation windows show it.
struct Reader {
    QString number; // 读者编号, as stored
    QString name;
    QString gender;
    QString type;
    QString idNumber;
    QString status;        // "正常", "挂失", "注销"
    QString unlimitedCard; // 无限制: "否" = the card ends at 截止日期
    QDate expiry;
    Money deposit;
    QByteArray photo; // JPEG bytes or empty
    int lendCount = 0;

    // "否" with an end date before today; an end date of today is still valid.
    bool isExpired(const QDate& today) const;
};

Reader readerFromRecord(const QSqlRecord& record);
std::optional<Reader> findReader(const Database& db, const QString& number);
std::optional<Reader> findReaderByIdNumber(const Database& db, const QString& idNumber);

// The outcome of identifying a reader at a circulation desk, with the reader when found.
struct ReaderCheck {
    Outcome outcome;
    std::optional<Reader> reader;
    bool passed() const { return outcome.ok && reader.has_value(); }
};

enum class ExpiryRule { Checked, Ignored };

// The desk's reader lookup in its order: number given, reader found, not lost, not
// cancelled, and (unless ignored, as at return) card not expired. The number is trimmed.
ReaderCheck vetReader(const Database& db, const QString& numberText, ExpiryRule expiry);

} // namespace cangshu
