#include "Commands.h"

namespace cangshu::admin {

const QList<Command>& commands() {
    static const QList<Command> list{
        {"init", cmdInit, "init [--demo] [--server]"},
        {"upgrade", cmdUpgrade, "upgrade"},
        {"startup", cmdStartup, "startup"},
        {"isbn", cmdIsbn, "isbn TEXT"},
        {"pinyin", cmdPinyin, "pinyin TEXT"},
        {"number", cmdNumber, "number book|periodical|reader [--advance]"},
        {"callno", cmdCallno, "callno CLASS"},
        {"reader", cmdReader, "reader lose|found|cancel|refund NUMBER"},
        {"lend", cmdLend, "lend --reader NUMBER BOOKNO..."},
        {"return", cmdReturn, "return --reader NUMBER [BOOKNO...]"},
        {"renew", cmdRenew, "renew --reader NUMBER BOOKNO..."},
        {"deposit", cmdDeposit, "deposit --reader NUMBER --amount AMOUNT [--note TEXT]"},
        {"fine", cmdFine, "fine --reader NUMBER --amount AMOUNT --item TEXT [--note TEXT]"},
        {"import-excel", cmdImportExcel, "import-excel FILE --table TABLE"},
        {"import-marc", cmdImportMarc,
         "import-marc FILE --into book|precat|periodical [--auto-number] [--auto-callno]"},
        {"export", cmdExport,
         "export (--table TABLE | --sql SELECT) --format xlsx|rtf|txt|htm --out FILE"},
        {"print", cmdPrint, "print --template NAME (--table TABLE | --sql SELECT) --pdf FILE"},
        {"barcodes", cmdBarcodes,
         "barcodes generate --width W --start S --count N [--prefix P] [--suffix X] [--top T] "
         "[--bottom B] | barcodes clear"},
        {"backup", cmdBackup, "backup"},
        {"restore", cmdRestore, "restore FILE"},
        {"generate", cmdGenerate,
         "generate --books N --readers N --loans N --history N [--seed S]"},
    };
    return list;
}

} // namespace cangshu::admin
