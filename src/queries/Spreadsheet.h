#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace cangshu {

// The first worksheet of a workbook as text: row 0 is the title row. Every row has
// columnCount cells; rows and columns end at the last cell that holds a value.
struct Sheet {
    QList<QStringList> rows;
    int columnCount = 0;
};

// Reads .xlsx (zip + XML) or .xls (BIFF) by the file's content. A date cell becomes
// "yyyy-mm-dd", a whole number its plain digits, other numbers up to 15 significant digits.
// False with a reason when the file cannot be read.
bool readSpreadsheet(const QString& file, Sheet* sheet, QString* error);

bool readXlsx(const QString& file, Sheet* sheet, QString* error);
bool readXls(const QString& file, Sheet* sheet, QString* error);

// Excel serial day number (1900 or 1904 system) as a date text "yyyy-mm-dd".
QString excelSerialDate(double serial, bool system1904);

} // namespace cangshu
