#pragma once
#include "AdminContext.h"

namespace cangshu::admin {

using CommandFn = int (*)(AdminContext&, const QStringList& args);

struct Command {
    const char* name;
    CommandFn run; // null: the command's logic is not built yet
    const char* usage;
};

// Every command of the contract, in the order the help lists them.
const QList<Command>& commands();

// The commands of each area, defined beside their logic's callers.
int cmdInit(AdminContext&, const QStringList&);
int cmdUpgrade(AdminContext&, const QStringList&);
int cmdStartup(AdminContext&, const QStringList&);
int cmdIsbn(AdminContext&, const QStringList&);
int cmdPinyin(AdminContext&, const QStringList&);
int cmdNumber(AdminContext&, const QStringList&);
int cmdGenerate(AdminContext&, const QStringList&);
int cmdExport(AdminContext&, const QStringList&);
int cmdImportExcel(AdminContext&, const QStringList&);
int cmdImportMarc(AdminContext&, const QStringList&);
int cmdPrint(AdminContext&, const QStringList&);
int cmdBarcodes(AdminContext&, const QStringList&);
int cmdBackup(AdminContext&, const QStringList&);
int cmdRestore(AdminContext&, const QStringList&);
int cmdReader(AdminContext&, const QStringList&);
int cmdLend(AdminContext&, const QStringList&);
int cmdReturn(AdminContext&, const QStringList&);
int cmdRenew(AdminContext&, const QStringList&);
int cmdDeposit(AdminContext&, const QStringList&);
int cmdFine(AdminContext&, const QStringList&);
int cmdCallno(AdminContext&, const QStringList&);

} // namespace cangshu::admin
