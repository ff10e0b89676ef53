#pragma once
#include "report/ReportData.h"
#include "report/ReportRenderer.h"
#include "report/ReportTemplate.h"

#include <QWidget>
#include <memory>

class QPrinter;
class QPrintPreviewWidget;
class QToolBar;
class QToolButton;
class QAction;

namespace cangshu::report {

// A prepared report on screen with the preview's tool bar: zoom, page width, paging, open
// and save, find, printer setup and print. The print windows embed it; the preview window
// wraps it in a dialog.
class ReportPreviewWidget : public QWidget {
    Q_OBJECT
public:
    explicit ReportPreviewWidget(QWidget* parent = nullptr);
    ~ReportPreviewWidget() override;

    void setReport(const ReportTemplate& tpl, const ReportData& data);
    void clear();
    const ReportRenderer* renderer() const { return m_renderer.get(); }

    int pageCount() const;
    int currentPage() const; // 1-based; 0 without pages
    QString zoomCaption() const;
    QPrintPreviewWidget* preview() const { return m_preview; }
    QToolBar* toolBar() const { return m_toolBar; }
    QAction* action(const QString& caption) const; // a tool bar action by its caption

    // Zoom choices: "200%" ... "10%", "一页", "双页".
    void applyZoom(const QString& choice);
    void fitToWidth();
    void goToPage(int page);

    // Saves by the file's extension: .pdf, .crp (prepared report), .txt, .htm/.html.
    bool saveTo(const QString& path, QString* error);
    bool openPrepared(const QString& path, QString* error);
    // Goes to the next page (after the current one, wrapping round) that shows the text.
    bool findNext(const QString& text);
    // Prints through the preview's printer (no dialog); false without pages.
    bool printNow();

signals:
    void closeRequested();

private:
    void buildToolBar();
    void paintReport(QPrinter* printer);
    void onSave();
    void onOpen();
    void onFind();
    void onSetup();
    void onPrint();
    void showError(const QString& message);

    QToolBar* m_toolBar = nullptr;
    QToolButton* m_zoomButton = nullptr;
    QPrintPreviewWidget* m_preview = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<ReportRenderer> m_renderer;
    QString m_lastFind;
};

} // namespace cangshu::report
