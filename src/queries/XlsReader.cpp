#include "CellText.h"
#include "Spreadsheet.h"

#include <QFile>
#include <freexl.h>

namespace cangshu {

bool readXls(const QString& file, Sheet* sheet, QString* error) {
    *sheet = Sheet();
    const void* handle = nullptr;
    if (freexl_open(QFile::encodeName(file).constData(), &handle) != FREEXL_OK) {
        if (handle)
            freexl_close(handle);
        *error = QStringLiteral("不是有效的Excel文件：%1").arg(file);
        return false;
    }
    unsigned int rowCount = 0;
    unsigned short colCount = 0;
    if (freexl_select_active_worksheet(handle, 0) != FREEXL_OK ||
        freexl_worksheet_dimensions(handle, &rowCount, &colCount) != FREEXL_OK) {
        freexl_close(handle);
        *error = QStringLiteral("Excel文件中没有工作表：%1").arg(file);
        return false;
    }
    int lastRow = 0, lastCol = 0;
    for (unsigned int r = 0; r < rowCount; ++r) {
        QStringList row;
        for (unsigned short c = 0; c < colCount; ++c) {
            FreeXL_CellValue v;
            QString text;
            if (freexl_get_cell_value(handle, r, c, &v) == FREEXL_OK) {
                switch (v.type) {
                case FREEXL_CELL_INT:
                    text = QString::number(v.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    text = numberText(v.value.double_value);
                    break;
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                case FREEXL_CELL_TIME:
                    text = QString::fromUtf8(v.value.text_value);
                    break;
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                    text = QString::fromUtf8(v.value.text_value).left(10);
                    break;
                default:
                    break;
                }
            }
            row << text;
            if (!text.isEmpty()) {
                lastRow = int(r) + 1;
                lastCol = qMax(lastCol, int(c) + 1);
            }
        }
        sheet->rows << row;
    }
    freexl_close(handle);
    sheet->rows.resize(lastRow);
    for (QStringList& row : sheet->rows)
        row.resize(lastCol);
    sheet->columnCount = lastCol;
    return true;
}

} // namespace cangshu
