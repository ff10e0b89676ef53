#include "ReportPreviewWidget.h"

#include "report/PreparedReport.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSaveFile>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace cangshu::report {

namespace {

const QStringList kZoomChoices = {
    QStringLiteral("200%"), QStringLiteral("150%"), QStringLiteral("100%"),
    QStringLiteral("75%"),  QStringLiteral("50%"),  QStringLiteral("25%"),
    QStringLiteral("10%"),  QStringLiteral("一页"), QStringLiteral("双页")};

const QString kSaveFilters =
    QStringLiteral("PDF 文件 (*.pdf);;报表文件 (*.crp);;文本文件 (*.txt);;网页文件 (*.htm)");

QString extensionOfFilter(const QString& filter) {
    const qsizetype star = filter.indexOf(QLatin1String("*."));
    return star < 0 ? QString() : filter.mid(star + 1, filter.indexOf(u')', star) - star - 1);
}

} // namespace

ReportPreviewWidget::ReportPreviewWidget(QWidget* parent)
    : QWidget(parent), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    m_printer->setFullPage(true);
    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
            &ReportPreviewWidget::paintReport);
    buildToolBar();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_preview, 1);
}

ReportPreviewWidget::~ReportPreviewWidget() = default;

void ReportPreviewWidget::buildToolBar() {
    m_toolBar = new QToolBar(this);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QStyle* s = style();

    m_zoomButton = new QToolButton(m_toolBar);
    m_zoomButton->setObjectName(QStringLiteral("zoom"));
    m_zoomButton->setText(QStringLiteral("100%"));
    m_zoomButton->setIcon(s->standardIcon(QStyle::SP_FileDialogContentsView));
    m_zoomButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_zoomButton->setPopupMode(QToolButton::InstantPopup);
    auto* zoomMenu = new QMenu(m_zoomButton);
    for (const QString& choice : kZoomChoices)
        zoomMenu->addAction(choice, this, [this, choice] { applyZoom(choice); });
    m_zoomButton->setMenu(zoomMenu);
    m_toolBar->addWidget(m_zoomButton);

    const auto add = [&](const QString& caption, QStyle::StandardPixmap icon,
                         const QKeySequence& key, auto slot, const QString& hint = {}) {
        QAction* a = m_toolBar->addAction(s->standardIcon(icon), caption, this, slot);
        a->setObjectName(caption);
        if (!key.isEmpty())
            a->setShortcut(key);
        if (!hint.isEmpty())
            a->setToolTip(hint);
        return a;
    };
    add(QStringLiteral("页宽"), QStyle::SP_TitleBarMaxButton, QKeySequence(Qt::CTRL | Qt::Key_W),
        [this] { fitToWidth(); });
    m_toolBar->addSeparator();
    add(QStringLiteral("首页"), QStyle::SP_MediaSkipBackward, QKeySequence(Qt::Key_Home),
        [this] { goToPage(1); });
    add(QStringLiteral("上页"), QStyle::SP_MediaSeekBackward, QKeySequence(Qt::Key_PageUp),
        [this] { goToPage(currentPage() - 1); });
    add(QStringLiteral("下页"), QStyle::SP_MediaSeekForward, QKeySequence(Qt::Key_PageDown),
        [this] { goToPage(currentPage() + 1); });
    add(QStringLiteral("末页"), QStyle::SP_MediaSkipForward, QKeySequence(Qt::Key_End),
        [this] { goToPage(pageCount()); });
    m_toolBar->addSeparator();
    add(
        QStringLiteral("打开"), QStyle::SP_DialogOpenButton, QKeySequence::Open,
        [this] { onOpen(); }, QStringLiteral("打开保存的报表"));
    add(
        QStringLiteral("保存"), QStyle::SP_DialogSaveButton, QKeySequence::Save,
        [this] { onSave(); }, QStringLiteral("保存报表到PDF文件｜报表文件｜文本文件｜网页文件"));
    add(QStringLiteral("查找"), QStyle::SP_FileDialogContentsView, QKeySequence::Find,
        [this] { onFind(); });
    add(
        QStringLiteral("设置"), QStyle::SP_FileDialogDetailedView, QKeySequence(),
        [this] { onSetup(); }, QStringLiteral("设置打印机"));
    add(
        QStringLiteral("打印"), QStyle::SP_DialogApplyButton, QKeySequence::Print,
        [this] { onPrint(); }, QStringLiteral("开始打印"));
    m_toolBar->addSeparator();
    add(QStringLiteral("关闭"), QStyle::SP_DialogCloseButton, QKeySequence(),
        [this] { emit closeRequested(); });
}

QAction* ReportPreviewWidget::action(const QString& caption) const {
    for (QAction* a : m_toolBar->actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

void ReportPreviewWidget::setReport(const ReportTemplate& tpl, const ReportData& data) {
    m_renderer = std::make_unique<ReportRenderer>(tpl, data);
    m_printer->setPageLayout(m_renderer->pageLayout());
    m_printer->setDocName(tpl.title.isEmpty() ? tpl.name : tpl.title);
    m_preview->updatePreview();
}

void ReportPreviewWidget::clear() {
    m_renderer.reset();
    m_preview->updatePreview();
}

void ReportPreviewWidget::paintReport(QPrinter* printer) {
    if (!m_renderer || m_renderer->pageCount() == 0)
        return;
    QString error;
    if (!m_renderer->render(*printer, &error))
        showError(error);
}

int ReportPreviewWidget::pageCount() const {
    return m_renderer && m_renderer->pageCount() > 0 ? m_preview->pageCount() : 0;
}

int ReportPreviewWidget::currentPage() const {
    return pageCount() > 0 ? m_preview->currentPage() : 0;
}

QString ReportPreviewWidget::zoomCaption() const {
    return m_zoomButton->text();
}

void ReportPreviewWidget::applyZoom(const QString& choice) {
    if (choice == QStringLiteral("一页") || choice == QStringLiteral("双页")) {
        m_preview->setViewMode(choice == QStringLiteral("一页")
                                   ? QPrintPreviewWidget::SinglePageView
                                   : QPrintPreviewWidget::FacingPagesView);
        m_preview->fitInView();
    } else {
        const double percent = QString(choice).remove(u'%').toDouble();
        if (percent <= 0)
            return;
        m_preview->setViewMode(QPrintPreviewWidget::SinglePageView);
        m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
        m_preview->setZoomFactor(percent / 100.0);
    }
    m_zoomButton->setText(choice);
}

void ReportPreviewWidget::fitToWidth() {
    m_preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    m_preview->fitToWidth();
}

void ReportPreviewWidget::goToPage(int page) {
    if (pageCount() == 0)
        return;
    m_preview->setCurrentPage(std::clamp(page, 1, pageCount()));
}

bool ReportPreviewWidget::saveTo(const QString& path, QString* error) {
    if (!m_renderer || m_renderer->pageCount() == 0) {
        *error = QStringLiteral("没有要保存的报表。");
        return false;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("crp"))
        return savePreparedReport(*m_renderer, path, error);
    if (suffix == QLatin1String("txt"))
        return saveReportText(*m_renderer, path, error);
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("html"))
        return saveReportHtml(*m_renderer, path, error);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("无法写入文件 %1：%2").arg(path, file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setTitle(m_printer->docName());
        if (!m_renderer->render(writer, error))
            return false;
    }
    if (!file.commit()) {
        *error = QStringLiteral("无法写入文件 %1：%2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool ReportPreviewWidget::openPrepared(const QString& path, QString* error) {
    const std::optional<PreparedReport> report = loadPreparedReport(path, error);
    if (!report)
        return false;
    setReport(report->tpl, report->data);
    return true;
}

bool ReportPreviewWidget::findNext(const QString& text) {
    if (text.isEmpty() || !m_renderer)
        return false;
    const int pages = m_renderer->pageCount();
    const int start = currentPage(); // 1-based; search from the following page
    for (int step = 1; step <= pages; ++step) {
        const int page = (start - 1 + step) % pages; // 0-based
        for (const QString& t : m_renderer->pageTexts(page)) {
            if (t.contains(text, Qt::CaseInsensitive)) {
                goToPage(page + 1);
                return true;
            }
        }
    }
    return false;
}

bool ReportPreviewWidget::printNow() {
    if (pageCount() == 0)
        return false;
    m_preview->print();
    return true;
}

void ReportPreviewWidget::onSave() {
    if (pageCount() == 0)
        return;
    QString filter;
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("保存"), QString(),
                                                kSaveFilters, &filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += extensionOfFilter(filter);
    QString error;
    if (!saveTo(path, &error))
        showError(error);
}

void ReportPreviewWidget::onOpen() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("打开"), QString(),
                                                      QStringLiteral("报表文件 (*.crp)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!openPrepared(path, &error))
        showError(error);
}

void ReportPreviewWidget::onFind() {
    bool ok = false;
    const QString text =
        QInputDialog::getText(this, QStringLiteral("查找"), QStringLiteral("查找内容："),
                              QLineEdit::Normal, m_lastFind, &ok);
    if (!ok || text.isEmpty())
        return;
    m_lastFind = text;
    if (!findNext(text))
        QMessageBox::information(this, QStringLiteral("提示"),
                                 QStringLiteral("没有找到“%1”。").arg(text));
}

void ReportPreviewWidget::onSetup() {
    QPageSetupDialog dialog(m_printer.get(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_preview->updatePreview();
}

void ReportPreviewWidget::onPrint() {
    if (pageCount() == 0)
        return;
    QPrintDialog dialog(m_printer.get(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_preview->print();
}

void ReportPreviewWidget::showError(const QString& message) {
    QMessageBox::warning(this, QStringLiteral("提示"), message);
}

} // namespace cangshu::report
