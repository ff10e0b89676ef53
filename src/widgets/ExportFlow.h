#pragma once
#include "queries/Export.h"

class QWidget;

namespace cangshu {

class DataGrid;

// The export behind every "导出数据" button: save dialog, extension, overwrite question,
// the file written with a progress window, and the closing question whose Yes opens it.
// Returns the file written, or an empty text when cancelled or failed.
QString exportGrid(QWidget* parent, const DataGrid& grid, ExportFormat format);

// The name the export writes: the chosen name with the extension appended unless the
// operator already typed it.
QString exportFileName(const QString& chosen, ExportFormat format);

} // namespace cangshu
