#include "ReportPreviewWindow.h"

#include "report/PrintJob.h"
#include "report/TemplateFiles.h"

#include <QMessageBox>
#include <QVBoxLayout>

namespace cangshu::report {

ReportPreviewWindow::ReportPreviewWindow(QWidget* parent)
    : QDialog(parent), m_widget(new ReportPreviewWidget(this)) {
    setWindowTitle(QStringLiteral("打印预览"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_widget);
    connect(m_widget, &ReportPreviewWidget::closeRequested, this, &QDialog::accept);
    resize(1100, 700);
}

void ReportPreviewWindow::setReport(const ReportTemplate& tpl, const ReportData& data) {
    m_widget->setReport(tpl, data);
    m_widget->applyZoom(QStringLiteral("100%"));
}

bool ReportPreviewWindow::showTemplate(QWidget* parent, const QString& templateFolder,
                                       const QString& templateName,
                                       const QList<QVariantMap>& rows) {
    const LoadedTemplate loaded = loadTemplate(templateFolder, templateName);
    if (!loaded) {
        QMessageBox::warning(parent, QStringLiteral("提示"), loaded.error);
        return false;
    }
    ReportPreviewWindow window(parent);
    window.setReport(*loaded.tpl, dataForTemplate(templateName, rows));
    window.exec();
    return true;
}

} // namespace cangshu::report
