#pragma once
#include "Database.h"

#include <QDate>

namespace cangshu {

struct DemoSummary {
    int classes = 0;
    int publishers = 0;
    int books = 0;
    int readers = 0;
    int loans = 0;
    int overdueLoans = 0;
    int returns = 0;
    int deposits = 0;
    int reservations = 0;
};

// A small sample library around `today`: a class tree, publishers, about thirty books,
// readers of the seeded types, open loans (some overdue), returns, deposits and one
// reservation, with book status, counts and the numbering counters consistent. Seeds the
// database first when needed. Adds nothing and returns false when the library already
// holds books. One transaction.
bool addDemoLibrary(Database& db, const QDate& today, DemoSummary* summary = nullptr);

} // namespace cangshu
