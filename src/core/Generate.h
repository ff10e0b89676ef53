#pragma once
#include "Database.h"

#include <QString>
#include <functional>

namespace cangshu {

struct GenerateOptions {
    qint64 books = 0;
    qint64 readers = 0;
    qint64 loans = 0;   // open loans, each on a different generated book
    qint64 history = 0; // return-history rows
    quint64 seed = 1;   // the same seed gives the same data
};

struct GenerateSummary {
    qint64 books = 0;
    qint64 readers = 0;
    int readerTypes = 0; // types the readers were spread over
    qint64 loans = 0;
    qint64 overdueLoans = 0;
    qint64 history = 0;
};

// Called now and then with the table being filled and how far it got.
using GenerateProgress = std::function<void(const QString& table, qint64 done, qint64 total)>;

// Why the options cannot be generated (for example more loans than books), or empty.
QString checkGenerateOptions(const GenerateOptions& options);

// Synthetic data for benchmarks: readers of the reader types, books (lent ones marked so,
// with their counts), open loans and return history, numbered from the counters of 系统信息,
// which are advanced past what was used. Seeds the database first when needed. One
// transaction; rows go in batches through one prepared multi-row statement per table.
// Throws std::invalid_argument when checkGenerateOptions objects and DatabaseError when a
// statement fails (then nothing is kept).
GenerateSummary generateData(Database& db, const GenerateOptions& options,
                             const GenerateProgress& progress = {});

} // namespace cangshu
