#pragma once
#include "DesignerItem.h"
#include "report/ReportData.h"
#include "report/ReportTemplate.h"

#include <QDialog>

class QDoubleSpinBox;
class QGraphicsPixmapItem;
class QGraphicsScene;
class QGraphicsView;
class QLabel;
class QSpinBox;
class QStackedWidget;

namespace cangshu::report {

class PropertyPanel;

// "报表设计": the operator places the items of a template by dragging them on the label
// (or the list's bands), edits their properties in the side panel, sees the result over
// the current rows at once, and saves the template file.
class ReportDesigner : public QDialog {
    Q_OBJECT
public:
    explicit ReportDesigner(QWidget* parent = nullptr);

    bool openTemplate(const QString& path, QString* error);
    // A template not yet in a file (a shipped one or a new one) to be saved at the path.
    void setTemplate(const ReportTemplate& tpl, const QString& path);
    void setRows(const QList<QVariantMap>& rows);

    bool save(QString* error);
    bool isModified() const { return m_modified; }
    const ReportTemplate& currentTemplate() const { return m_tpl; }
    QString path() const { return m_path; }

    QGraphicsView* canvas() const { return m_view; }
    QList<DesignerItem*> designerItems() const;
    PropertyPanel* properties() const { return m_panel; }
    void select(Section section, int index);
    void addItem(ItemKind kind);
    void removeSelected();

    // Opens the designer on the named template of the folder, over the rows of the
    // calling window; false (after telling the operator) when the file cannot be read.
    static bool design(QWidget* parent, const QString& folder, const QString& name,
                       const QList<QVariantMap>& rows);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;

private:
    void buildUi();
    QWidget* buildLayoutPanel();
    QList<ReportItem>& itemsOf(Section section);
    QRectF areaOf(Section section) const;
    void rebuildScene();
    void refreshBackground();
    void fitCanvas();
    void loadLayoutFields();
    void readLayoutFields();
    void markModified();
    void showPreview();
    void onSelectionChanged();
    void onItemMoved(DesignerItem* item, QPointF delta);
    void onItemEdited(const ReportItem& item);

    ReportTemplate m_tpl;
    QString m_path;
    QList<QVariantMap> m_rows;
    bool m_modified = false;
    bool m_rebuilding = false;
    bool m_editingInPanel = false;
    Section m_currentSection = Section::Label;
    int m_currentIndex = -1;

    QGraphicsScene* m_scene = nullptr;
    QGraphicsView* m_view = nullptr;
    QGraphicsPixmapItem* m_background = nullptr;
    PropertyPanel* m_panel = nullptr;
    QSpinBox* m_rowBox = nullptr;
    QLabel* m_status = nullptr;
    QStackedWidget* m_layoutStack = nullptr;
    QSpinBox *m_columns = nullptr, *m_gridRows = nullptr;
    QDoubleSpinBox *m_labelWidth = nullptr, *m_labelHeight = nullptr, *m_hgap = nullptr,
                   *m_vgap = nullptr, *m_marginLeft = nullptr, *m_marginTop = nullptr;
    QDoubleSpinBox *m_headerHeight = nullptr, *m_detailHeight = nullptr, *m_footerHeight = nullptr;
};

} // namespace cangshu::report
