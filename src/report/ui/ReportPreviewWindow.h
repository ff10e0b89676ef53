#pragma once
#include "ReportPreviewWidget.h"

#include <QDialog>

namespace cangshu::report {

// "打印预览": one report shown modally; the operator prints or saves it from here.
class ReportPreviewWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReportPreviewWindow(QWidget* parent = nullptr);

    void setReport(const ReportTemplate& tpl, const ReportData& data);
    ReportPreviewWidget* previewWidget() const { return m_widget; }

    // Loads the template from the folder and shows it over the rows; on a template error
    // shows the message and returns false (nothing is previewed).
    static bool showTemplate(QWidget* parent, const QString& templateFolder,
                             const QString& templateName, const QList<QVariantMap>& rows);

private:
    ReportPreviewWidget* m_widget;
};

} // namespace cangshu::report
