#include "ReportDesigner.h"

#include "PropertyPanel.h"
#include "ReportPreviewWindow.h"
#include "report/PrintJob.h"
#include "report/ReportRenderer.h"
#include "report/TemplateFiles.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsView>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace cangshu::report {

namespace {

constexpr double kCanvasPxPerMm = 8; // resolution of the rendered background
constexpr double kBandGap = 0;

QDoubleSpinBox* lengthBox(QWidget* parent, double min, double max) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(min, max);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" mm"));
    return box;
}

QString sectionCaption(Section s) {
    switch (s) {
    case Section::Header:
        return QStringLiteral("页眉");
    case Section::Detail:
        return QStringLiteral("明细");
    case Section::Footer:
        return QStringLiteral("页脚");
    case Section::Label:
        break;
    }
    return QStringLiteral("标签");
}

ReportItem newItem(ItemKind kind, const QRectF& area) {
    ReportItem item;
    item.kind = kind;
    item.fontFamily = defaultFontFamily();
    const double w = std::max(2.0, std::min(20.0, area.width() - 2));
    const double h = std::max(2.0, std::min(6.0, area.height() - 2));
    item.rect = QRectF(1, 1, w, h);
    switch (kind) {
    case ItemKind::Text:
        item.text = QStringLiteral("文字");
        break;
    case ItemKind::Barcode:
        item.text = QStringLiteral("[编号]");
        item.fontSize = 7;
        item.rect.setHeight(std::max(2.0, std::min(12.0, area.height() - 2)));
        break;
    case ItemKind::Picture:
        item.rect.setSize(
            QSizeF(std::min(15.0, w), std::max(2.0, std::min(20.0, area.height() - 2))));
        item.frame = true;
        break;
    case ItemKind::Line:
        item.rect.setHeight(0);
        item.lineWidth = 0.3;
        break;
    case ItemKind::Box:
        item.lineWidth = 0.3;
        break;
    }
    return item;
}

} // namespace

ReportDesigner::ReportDesigner(QWidget* parent) : QDialog(parent) {
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    buildUi();
    resize(1200, 720);
}

void ReportDesigner::buildUi() {
    auto* toolBar = new QToolBar(this);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QStyle* s = style();
    toolBar->addAction(QStringLiteral("文字"), this, [this] { addItem(ItemKind::Text); });
    toolBar->addAction(QStringLiteral("条码"), this, [this] { addItem(ItemKind::Barcode); });
    toolBar->addAction(QStringLiteral("图片"), this, [this] { addItem(ItemKind::Picture); });
    toolBar->addAction(QStringLiteral("直线"), this, [this] { addItem(ItemKind::Line); });
    toolBar->addAction(QStringLiteral("方框"), this, [this] { addItem(ItemKind::Box); });
    toolBar->addSeparator();
    QAction* remove =
        toolBar->addAction(s->standardIcon(QStyle::SP_TrashIcon), QStringLiteral("删除"), this,
                           [this] { removeSelected(); });
    remove->setShortcut(QKeySequence::Delete);
    toolBar->addSeparator();
    QAction* saveAction = toolBar->addAction(
        s->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("保存"), this, [this] {
            QString error;
            if (!save(&error))
                QMessageBox::warning(this, QStringLiteral("提示"), error);
        });
    saveAction->setShortcut(QKeySequence::Save);
    QAction* previewAction =
        toolBar->addAction(s->standardIcon(QStyle::SP_FileDialogContentsView),
                           QStringLiteral("预览"), this, [this] { showPreview(); });
    previewAction->setShortcut(QKeySequence(Qt::Key_F9));
    toolBar->addSeparator();
    toolBar->addWidget(new QLabel(QStringLiteral(" 数据行："), toolBar));
    m_rowBox = new QSpinBox(toolBar);
    m_rowBox->setRange(0, 0);
    m_rowBox->setToolTip(QStringLiteral("画布上显示第几行数据"));
    toolBar->addWidget(m_rowBox);
    connect(m_rowBox, &QSpinBox::valueChanged, this, [this] { refreshBackground(); });
    toolBar->addSeparator();
    toolBar->addAction(s->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("关闭"), this,
                       &QDialog::reject);

    m_scene = new QGraphicsScene(this);
    m_view = new QGraphicsView(m_scene, this);
    m_view->setBackgroundBrush(QColor(160, 160, 168));
    m_view->setRenderHint(QPainter::SmoothPixmapTransform);
    m_view->setDragMode(QGraphicsView::NoDrag);
    connect(m_scene, &QGraphicsScene::selectionChanged, this, &ReportDesigner::onSelectionChanged);

    m_panel = new PropertyPanel(this);
    connect(m_panel, &PropertyPanel::itemEdited, this, &ReportDesigner::onItemEdited);
    auto* itemGroup = new QGroupBox(QStringLiteral("属性"), this);
    (new QVBoxLayout(itemGroup))->addWidget(m_panel);
    auto* layoutGroup = new QGroupBox(QStringLiteral("版面"), this);
    (new QVBoxLayout(layoutGroup))->addWidget(buildLayoutPanel());

    auto* side = new QWidget(this);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(itemGroup);
    sideLayout->addWidget(layoutGroup);
    sideLayout->addStretch(1);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(side);
    scroll->setWidgetResizable(true);
    scroll->setMinimumWidth(330);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_view);
    splitter->addWidget(scroll);
    splitter->setStretchFactor(0, 1);

    m_status = new QLabel(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(toolBar);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_status);
}

QWidget* ReportDesigner::buildLayoutPanel() {
    m_layoutStack = new QStackedWidget(this);
    auto* labels = new QWidget(m_layoutStack);
    auto* lf = new QFormLayout(labels);
    m_columns = new QSpinBox(labels);
    m_columns->setRange(1, 50);
    m_gridRows = new QSpinBox(labels);
    m_gridRows->setRange(1, 100);
    m_labelWidth = lengthBox(labels, 1, 500);
    m_labelHeight = lengthBox(labels, 1, 500);
    m_hgap = lengthBox(labels, 0, 100);
    m_vgap = lengthBox(labels, 0, 100);
    m_marginLeft = lengthBox(labels, 0, 200);
    m_marginTop = lengthBox(labels, 0, 200);
    lf->addRow(QStringLiteral("每行标签数："), m_columns);
    lf->addRow(QStringLiteral("每页行数："), m_gridRows);
    lf->addRow(QStringLiteral("标签宽度："), m_labelWidth);
    lf->addRow(QStringLiteral("标签高度："), m_labelHeight);
    lf->addRow(QStringLiteral("水平间距："), m_hgap);
    lf->addRow(QStringLiteral("垂直间距："), m_vgap);
    lf->addRow(QStringLiteral("左页边距："), m_marginLeft);
    lf->addRow(QStringLiteral("上页边距："), m_marginTop);
    auto* list = new QWidget(m_layoutStack);
    auto* bf = new QFormLayout(list);
    m_headerHeight = lengthBox(list, 0, 300);
    m_detailHeight = lengthBox(list, 1, 300);
    m_footerHeight = lengthBox(list, 0, 300);
    bf->addRow(QStringLiteral("页眉高度："), m_headerHeight);
    bf->addRow(QStringLiteral("明细高度："), m_detailHeight);
    bf->addRow(QStringLiteral("页脚高度："), m_footerHeight);
    m_layoutStack->addWidget(labels);
    m_layoutStack->addWidget(list);
    for (QDoubleSpinBox* b : {m_labelWidth, m_labelHeight, m_hgap, m_vgap, m_marginLeft,
                              m_marginTop, m_headerHeight, m_detailHeight, m_footerHeight})
        connect(b, &QDoubleSpinBox::valueChanged, this, [this] { readLayoutFields(); });
    for (QSpinBox* b : {m_columns, m_gridRows})
        connect(b, &QSpinBox::valueChanged, this, [this] { readLayoutFields(); });
    return m_layoutStack;
}

bool ReportDesigner::openTemplate(const QString& path, QString* error) {
    const LoadedTemplate loaded = loadTemplateFile(path);
    if (!loaded) {
        *error = loaded.error;
        return false;
    }
    setTemplate(*loaded.tpl, path);
    return true;
}

void ReportDesigner::setTemplate(const ReportTemplate& tpl, const QString& path) {
    m_tpl = tpl;
    m_path = path;
    m_modified = false;
    m_currentIndex = -1;
    setWindowTitle(QStringLiteral("报表设计 - %1").arg(QFileInfo(path).fileName()));
    loadLayoutFields();
    rebuildScene();
    m_status->setText(path);
}

void ReportDesigner::setRows(const QList<QVariantMap>& rows) {
    m_rows = rows;
    QStringList columns;
    for (const QVariantMap& row : rows)
        for (auto it = row.cbegin(); it != row.cend(); ++it)
            if (!columns.contains(it.key()))
                columns.append(it.key());
    m_panel->setColumns(columns);
    m_rowBox->setRange(rows.isEmpty() ? 0 : 1, int(rows.size()));
    m_rowBox->setValue(rows.isEmpty() ? 0 : 1);
    refreshBackground();
}

QList<ReportItem>& ReportDesigner::itemsOf(Section section) {
    switch (section) {
    case Section::Header:
        return m_tpl.list.header.items;
    case Section::Detail:
        return m_tpl.list.detail.items;
    case Section::Footer:
        return m_tpl.list.footer.items;
    case Section::Label:
        break;
    }
    return m_tpl.labelItems;
}

QRectF ReportDesigner::areaOf(Section section) const {
    if (m_tpl.isLabels())
        return QRectF(QPointF(), m_tpl.labels->labelSize);
    const double width = m_tpl.page.contentRect().width();
    const ListBands& b = m_tpl.list;
    switch (section) {
    case Section::Header:
        return QRectF(0, 0, width, b.header.height);
    case Section::Detail:
        return QRectF(0, b.header.height + kBandGap, width, b.detail.height);
    case Section::Footer:
    case Section::Label:
        break;
    }
    return QRectF(0, b.header.height + b.detail.height + 2 * kBandGap, width, b.footer.height);
}

QList<DesignerItem*> ReportDesigner::designerItems() const {
    QList<DesignerItem*> items;
    for (QGraphicsItem* g : m_scene->items(Qt::AscendingOrder))
        if (auto* d = dynamic_cast<DesignerItem*>(g))
            items.append(d);
    return items;
}

void ReportDesigner::rebuildScene() {
    m_rebuilding = true;
    m_scene->clear();
    m_background = m_scene->addPixmap(QPixmap());
    m_background->setZValue(-1);
    m_background->setTransformationMode(Qt::SmoothTransformation);
    m_background->setScale(1 / kCanvasPxPerMm);
    const QList<Section> sections =
        m_tpl.isLabels() ? QList<Section>{Section::Label}
                         : QList<Section>{Section::Header, Section::Detail, Section::Footer};
    QRectF all;
    for (Section section : sections) {
        const QRectF area = areaOf(section);
        all |= area;
        if (!m_tpl.isLabels()) {
            auto* caption = m_scene->addSimpleText(sectionCaption(section));
            caption->setBrush(Qt::white);
            caption->setScale(0.35);
            caption->setPos(area.left() - 9, area.top());
            QPen pen(QColor(255, 255, 255, 180), 0, Qt::DashLine);
            m_scene->addLine(QLineF(area.bottomLeft(), area.bottomRight()), pen)->setZValue(0.5);
        }
        const QList<ReportItem>& items = itemsOf(section);
        for (int i = 0; i < items.size(); ++i) {
            auto* item = new DesignerItem(section, i, items[i], area);
            item->setZValue(1 + i * 0.001);
            item->onMoved = [this](DesignerItem* d, QPointF delta) { onItemMoved(d, delta); };
            m_scene->addItem(item);
            if (section == m_currentSection && i == m_currentIndex)
                item->setSelected(true);
        }
    }
    m_scene->setSceneRect(all.adjusted(-10, -3, 3, 3));
    m_rebuilding = false;
    refreshBackground();
    if (!m_editingInPanel)
        onSelectionChanged();
    fitCanvas();
}

void ReportDesigner::refreshBackground() {
    if (!m_background)
        return;
    // The real renderer draws one label (or the bands once) with the chosen row.
    ReportTemplate single = m_tpl;
    single.page.landscape = false;
    single.page.margins = QMarginsF(0, 0, 0, 0);
    if (m_tpl.isLabels()) {
        single.page.size = m_tpl.labels->labelSize;
        single.labels = LabelGrid{1, 1, m_tpl.labels->labelSize, QSizeF(0, 0), true};
    } else {
        const ListBands& b = m_tpl.list;
        single.page.size = QSizeF(m_tpl.page.contentRect().width(),
                                  b.header.height + b.detail.height + b.footer.height);
    }
    const int row = m_rowBox->value() - 1;
    QList<QVariantMap> rows{row >= 0 && row < m_rows.size() ? m_rows.at(row) : QVariantMap()};
    const ReportRenderer renderer(single, dataForTemplate(m_tpl.name, rows));
    m_background->setPixmap(QPixmap::fromImage(renderer.pageImage(0, kCanvasPxPerMm * 25.4)));
    const QStringList problems = renderer.problems();
    m_status->setText(problems.isEmpty() ? m_path : problems.join(QStringLiteral("；")));
}

void ReportDesigner::fitCanvas() {
    if (m_view->isVisible())
        m_view->fitInView(m_scene->sceneRect(), Qt::KeepAspectRatio);
}

void ReportDesigner::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fitCanvas();
}

void ReportDesigner::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    fitCanvas();
}

void ReportDesigner::loadLayoutFields() {
    const QSignalBlocker blockers[] = {
        QSignalBlocker(m_columns),      QSignalBlocker(m_gridRows),
        QSignalBlocker(m_labelWidth),   QSignalBlocker(m_labelHeight),
        QSignalBlocker(m_hgap),         QSignalBlocker(m_vgap),
        QSignalBlocker(m_marginLeft),   QSignalBlocker(m_marginTop),
        QSignalBlocker(m_headerHeight), QSignalBlocker(m_detailHeight),
        QSignalBlocker(m_footerHeight)};
    m_layoutStack->setCurrentIndex(m_tpl.isLabels() ? 0 : 1);
    if (m_tpl.isLabels()) {
        const LabelGrid& g = *m_tpl.labels;
        m_columns->setValue(g.columns);
        m_gridRows->setValue(g.rows);
        m_labelWidth->setValue(g.labelSize.width());
        m_labelHeight->setValue(g.labelSize.height());
        m_hgap->setValue(g.gap.width());
        m_vgap->setValue(g.gap.height());
        m_marginLeft->setValue(m_tpl.page.margins.left());
        m_marginTop->setValue(m_tpl.page.margins.top());
    } else {
        m_headerHeight->setValue(m_tpl.list.header.height);
        m_detailHeight->setValue(m_tpl.list.detail.height);
        m_footerHeight->setValue(m_tpl.list.footer.height);
    }
}

void ReportDesigner::readLayoutFields() {
    if (m_tpl.isLabels()) {
        LabelGrid& g = *m_tpl.labels;
        g.columns = m_columns->value();
        g.rows = m_gridRows->value();
        g.labelSize = QSizeF(m_labelWidth->value(), m_labelHeight->value());
        g.gap = QSizeF(m_hgap->value(), m_vgap->value());
        m_tpl.page.margins.setLeft(m_marginLeft->value());
        m_tpl.page.margins.setTop(m_marginTop->value());
    } else {
        m_tpl.list.header.height = m_headerHeight->value();
        m_tpl.list.detail.height = m_detailHeight->value();
        m_tpl.list.footer.height = m_footerHeight->value();
    }
    markModified();
    rebuildScene();
}

void ReportDesigner::markModified() {
    m_modified = true;
    setWindowTitle(QStringLiteral("报表设计 - %1 *").arg(QFileInfo(m_path).fileName()));
}

void ReportDesigner::select(Section section, int index) {
    for (DesignerItem* d : designerItems())
        d->setSelected(d->section() == section && d->index() == index);
}

void ReportDesigner::onSelectionChanged() {
    if (m_rebuilding)
        return;
    DesignerItem* selected = nullptr;
    for (QGraphicsItem* g : m_scene->selectedItems())
        if ((selected = dynamic_cast<DesignerItem*>(g)))
            break;
    if (!selected) {
        m_currentIndex = -1;
        m_panel->showItem(nullptr);
        return;
    }
    m_currentSection = selected->section();
    m_currentIndex = selected->index();
    selected->setFocus();
    m_panel->showItem(&itemsOf(m_currentSection)[m_currentIndex]);
}

void ReportDesigner::onItemMoved(DesignerItem* item, QPointF delta) {
    if (m_rebuilding)
        return;
    ReportItem& model = itemsOf(item->section())[item->index()];
    model.rect.translate(delta);
    markModified();
    refreshBackground();
    if (item->section() == m_currentSection && item->index() == m_currentIndex)
        m_panel->showItem(&model);
}

void ReportDesigner::onItemEdited(const ReportItem& edited) {
    if (m_currentIndex < 0)
        return;
    itemsOf(m_currentSection)[m_currentIndex] = edited;
    markModified();
    // Rebuild the outlines without disturbing the field being typed in.
    m_editingInPanel = true;
    rebuildScene();
    m_editingInPanel = false;
}

void ReportDesigner::addItem(ItemKind kind) {
    const Section section = m_tpl.isLabels() ? Section::Label : Section::Detail;
    QRectF area = areaOf(section);
    area.moveTo(0, 0);
    itemsOf(section).append(newItem(kind, area));
    m_currentSection = section;
    m_currentIndex = int(itemsOf(section).size()) - 1;
    markModified();
    rebuildScene();
}

void ReportDesigner::removeSelected() {
    if (m_currentIndex < 0)
        return;
    itemsOf(m_currentSection).removeAt(m_currentIndex);
    m_currentIndex = -1;
    markModified();
    rebuildScene();
}

bool ReportDesigner::save(QString* error) {
    // The same checks as loading: a template saved here always opens again.
    QString problem;
    if (!fromJson(toJson(m_tpl), &problem)) {
        *error = QStringLiteral("报表模板无法保存：%1").arg(problem);
        return false;
    }
    if (!saveTemplateFile(m_tpl, m_path, error))
        return false;
    m_modified = false;
    setWindowTitle(QStringLiteral("报表设计 - %1").arg(QFileInfo(m_path).fileName()));
    return true;
}

void ReportDesigner::showPreview() {
    QString problem;
    if (!fromJson(toJson(m_tpl), &problem)) {
        QMessageBox::warning(this, QStringLiteral("提示"), problem);
        return;
    }
    ReportPreviewWindow preview(this);
    preview.setReport(m_tpl, dataForTemplate(m_tpl.name, m_rows));
    preview.exec();
}

void ReportDesigner::reject() {
    if (m_modified) {
        const auto answer = QMessageBox::question(
            this, QStringLiteral("提示确认"), QStringLiteral("报表模板已修改，是否保存？"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel)
            return;
        if (answer == QMessageBox::Yes) {
            QString error;
            if (!save(&error)) {
                QMessageBox::warning(this, QStringLiteral("提示"), error);
                return;
            }
        }
    }
    QDialog::reject();
}

bool ReportDesigner::design(QWidget* parent, const QString& folder, const QString& name,
                            const QList<QVariantMap>& rows) {
    ReportDesigner designer(parent);
    const QString existing = findTemplateFile(folder, name);
    if (!existing.isEmpty()) {
        QString error;
        if (!designer.openTemplate(existing, &error)) {
            QMessageBox::warning(parent, QStringLiteral("提示"), error);
            return false;
        }
    } else {
        const QString base = QFileInfo(name).completeBaseName();
        const QString path = QDir(folder).filePath(base + QLatin1String(kTemplateSuffix));
        const LoadedTemplate shipped = parseTemplate(shippedTemplate(base), path);
        ReportTemplate tpl;
        if (shipped) {
            tpl = *shipped.tpl;
        } else {
            tpl.name = base;
            tpl.labels = LabelGrid{};
        }
        designer.setTemplate(tpl, path);
        designer.markModified();
    }
    designer.setRows(rows);
    designer.exec();
    return true;
}

} // namespace cangshu::report
