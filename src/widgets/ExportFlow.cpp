#include "ExportFlow.h"

#include "DataGrid.h"
#include "Messages.h"
#include "ProgressWindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

namespace cangshu {

QString exportFileName(const QString& chosen, ExportFormat format) {
    const QString ext = exportFormatInfo(format).extension;
    if (chosen.endsWith(ext, Qt::CaseInsensitive))
        return chosen;
    return chosen + ext;
}

QString exportGrid(QWidget* parent, const DataGrid& grid, ExportFormat format) {
    const ExportFormatInfo& info = exportFormatInfo(format);
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(info.filter);
    // The overwrite question is ours, with the system's words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDirectory(QDir::homePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString file = exportFileName(dialog.selectedFiles().first(), format);
    if (QFileInfo::exists(file) &&
        !askYesNo(
            parent,
            QStringLiteral("已经存在此文件【%1】，是否替换？").arg(QDir::toNativeSeparators(file))))
        return {};

    ExportOutcome outcome;
    {
        ProgressWindow progress(parent);
        progress.start(QStringLiteral("系统正在导出数据......"));
        try {
            auto rows = grid.rowSource();
            outcome = exportRows(format, file, *rows, &progress);
        } catch (const DatabaseError& e) {
            outcome.ok = false;
            outcome.error = e.message();
        }
        progress.finish();
    }
    if (!outcome.ok) {
        showError(parent, outcome.error);
        return {};
    }
    if (askInformation(parent, QStringLiteral("文件导出成功！路径为【%1】是否现在打开此文件？")
                                   .arg(QDir::toNativeSeparators(file))))
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    return file;
}

} // namespace cangshu
