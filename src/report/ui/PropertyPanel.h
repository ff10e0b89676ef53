#pragma once
#include "report/ReportTemplate.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QLineEdit;

namespace cangshu::report {

// The designer's side panel: the properties of the selected item. Every edit is handed
// back at once as the whole changed item, so that the canvas shows it live.
class PropertyPanel : public QWidget {
    Q_OBJECT
public:
    explicit PropertyPanel(QWidget* parent = nullptr);

    // The columns offered for [column] placeholders and picture columns.
    void setColumns(const QStringList& columns);
    void showItem(const ReportItem* item); // nullptr: nothing selected
    ReportItem item() const { return m_item; }

    QDoubleSpinBox* xBox() const { return m_x; }
    QDoubleSpinBox* yBox() const { return m_y; }
    QLineEdit* textEdit() const { return m_text; }

signals:
    void itemEdited(const ReportItem& item);

private:
    void readBack();
    void updateVisibleRows();

    ReportItem m_item;
    bool m_loading = false;
    QFormLayout* m_form;
    QLabel* m_kind;
    QLineEdit* m_name;
    QDoubleSpinBox *m_x, *m_y, *m_width, *m_height;
    QLineEdit* m_text;
    QComboBox* m_insertColumn;
    QLineEdit* m_fontFamily;
    QDoubleSpinBox* m_fontSize;
    QCheckBox* m_bold;
    QComboBox *m_hAlign, *m_vAlign;
    QCheckBox *m_wrap, *m_shrink;
    QComboBox* m_symbology;
    QCheckBox* m_showText;
    QComboBox* m_pictureColumn;
    QCheckBox *m_keepAspect, *m_frame;
    QDoubleSpinBox* m_lineWidth;
    QLineEdit *m_color, *m_fill;
};

} // namespace cangshu::report
