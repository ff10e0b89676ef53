#pragma once
#include "core/Database.h"
#include "core/Home.h"
#include "core/Startup.h"

#include <QJsonObject>
#include <QStringList>
#include <memory>

namespace cangshu::admin {

// Exit statuses of the command line contract.
enum Exit { Done = 0, Refused = 1, Usage = 2, Failure = 3 };

// An error that ends the command with an exit status and a message on standard error.
struct CommandError {
    Exit status;
    QString message;
};

// What every command gets: the global options, the home, the output style and, on demand,
// the library database opened exactly as the windows would open it.
class AdminContext {
public:
    Home home;
    QDate today; // invalid: the system date
    QString operatorOption;
    bool json = false;

    // Runs the start-up (configuration, connections, reservation expiry) once.
    StartupState& startup();
    // The library database; a CommandError(Failure) when it cannot be opened.
    Database& library();
    // The operator written into 操作员 columns: --operator (which must exist) or the first one.
    QString operatorName();

    // One result: a JSON object per line with --json, else the text.
    void print(const QJsonObject& object, const QString& text) const;
    void printText(const QString& text) const;

private:
    std::unique_ptr<StartupState> m_startup;
    QString m_operator;
};

// Small helpers for the commands' own arguments.
class ArgReader {
public:
    explicit ArgReader(const QStringList& args) : m_args(args) {}
    // Takes "--name VALUE" (or --name=VALUE); empty when absent.
    QString option(const QString& name);
    bool flag(const QString& name);
    // What is left once the options were taken; unknown options are a usage error.
    QStringList positional();

private:
    QStringList m_args;
};

int parseInt(const QString& text, const QString& what);
double parseAmount(const QString& text, const QString& what);

} // namespace cangshu::admin
