#include "PropertyPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace cangshu::report {

namespace {

QDoubleSpinBox* millimetres(QWidget* parent, double min = -500) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(min, 500);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" mm"));
    return box;
}

QString kindCaption(ItemKind kind) {
    switch (kind) {
    case ItemKind::Text:
        return QStringLiteral("文字");
    case ItemKind::Barcode:
        return QStringLiteral("条码");
    case ItemKind::Picture:
        return QStringLiteral("图片");
    case ItemKind::Line:
        return QStringLiteral("直线");
    case ItemKind::Box:
        return QStringLiteral("方框");
    }
    return {};
}

} // namespace

PropertyPanel::PropertyPanel(QWidget* parent) : QWidget(parent) {
    m_form = new QFormLayout(this);
    m_form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_kind = new QLabel(this);
    m_name = new QLineEdit(this);
    m_x = millimetres(this);
    m_y = millimetres(this);
    m_width = millimetres(this);
    m_height = millimetres(this);
    m_text = new QLineEdit(this);
    m_insertColumn = new QComboBox(this);
    m_fontFamily = new QLineEdit(this);
    m_fontSize = new QDoubleSpinBox(this);
    m_fontSize->setRange(3, 72);
    m_fontSize->setDecimals(1);
    m_fontSize->setSingleStep(0.5);
    m_bold = new QCheckBox(QStringLiteral("粗体"), this);
    m_hAlign = new QComboBox(this);
    m_hAlign->addItem(QStringLiteral("左"), int(Qt::AlignLeft));
    m_hAlign->addItem(QStringLiteral("居中"), int(Qt::AlignHCenter));
    m_hAlign->addItem(QStringLiteral("右"), int(Qt::AlignRight));
    m_vAlign = new QComboBox(this);
    m_vAlign->addItem(QStringLiteral("上"), int(Qt::AlignTop));
    m_vAlign->addItem(QStringLiteral("居中"), int(Qt::AlignVCenter));
    m_vAlign->addItem(QStringLiteral("下"), int(Qt::AlignBottom));
    m_wrap = new QCheckBox(QStringLiteral("自动换行"), this);
    m_shrink = new QCheckBox(QStringLiteral("缩小字体以容纳文字"), this);
    m_symbology = new QComboBox(this);
    m_symbology->addItem(QStringLiteral("Code 128"), int(Symbology::Code128));
    m_symbology->addItem(QStringLiteral("Code 39"), int(Symbology::Code39));
    m_symbology->addItem(QStringLiteral("EAN-13"), int(Symbology::Ean13));
    m_showText = new QCheckBox(QStringLiteral("显示条码文字"), this);
    m_pictureColumn = new QComboBox(this);
    m_pictureColumn->setEditable(true);
    m_keepAspect = new QCheckBox(QStringLiteral("保持比例"), this);
    m_frame = new QCheckBox(QStringLiteral("边框"), this);
    m_lineWidth = millimetres(this, 0);
    m_lineWidth->setDecimals(2);
    m_lineWidth->setSingleStep(0.1);
    m_color = new QLineEdit(this);
    m_fill = new QLineEdit(this);
    m_fill->setPlaceholderText(QStringLiteral("不填充"));

    m_form->addRow(QStringLiteral("类型："), m_kind);
    m_form->addRow(QStringLiteral("名称："), m_name);
    m_form->addRow(QStringLiteral("左边距："), m_x);
    m_form->addRow(QStringLiteral("上边距："), m_y);
    m_form->addRow(QStringLiteral("宽度："), m_width);
    m_form->addRow(QStringLiteral("高度："), m_height);
    m_form->addRow(QStringLiteral("内容："), m_text);
    m_form->addRow(QStringLiteral("插入列："), m_insertColumn);
    m_form->addRow(QStringLiteral("条码类型："), m_symbology);
    m_form->addRow(QString(), m_showText);
    m_form->addRow(QStringLiteral("字体："), m_fontFamily);
    m_form->addRow(QStringLiteral("字号："), m_fontSize);
    m_form->addRow(QString(), m_bold);
    m_form->addRow(QStringLiteral("水平对齐："), m_hAlign);
    m_form->addRow(QStringLiteral("垂直对齐："), m_vAlign);
    m_form->addRow(QString(), m_wrap);
    m_form->addRow(QString(), m_shrink);
    m_form->addRow(QStringLiteral("图片列："), m_pictureColumn);
    m_form->addRow(QString(), m_keepAspect);
    m_form->addRow(QString(), m_frame);
    m_form->addRow(QStringLiteral("线宽："), m_lineWidth);
    m_form->addRow(QStringLiteral("颜色："), m_color);
    m_form->addRow(QStringLiteral("填充："), m_fill);

    const auto edited = [this] { readBack(); };
    for (QLineEdit* e : {m_name, m_text, m_fontFamily, m_color, m_fill})
        connect(e, &QLineEdit::textEdited, this, edited);
    for (QDoubleSpinBox* b : {m_x, m_y, m_width, m_height, m_fontSize, m_lineWidth})
        connect(b, &QDoubleSpinBox::valueChanged, this, edited);
    for (QCheckBox* c : {m_bold, m_wrap, m_shrink, m_showText, m_keepAspect, m_frame})
        connect(c, &QCheckBox::toggled, this, edited);
    for (QComboBox* c : {m_hAlign, m_vAlign, m_symbology})
        connect(c, &QComboBox::currentIndexChanged, this, edited);
    connect(m_pictureColumn, &QComboBox::currentTextChanged, this, edited);
    connect(m_insertColumn, &QComboBox::activated, this, [this](int index) {
        if (index <= 0)
            return;
        m_text->insert(u'[' + m_insertColumn->itemText(index) + u']');
        m_insertColumn->setCurrentIndex(0);
        readBack();
    });
    showItem(nullptr);
}

void PropertyPanel::setColumns(const QStringList& columns) {
    m_insertColumn->clear();
    m_insertColumn->addItem(QStringLiteral("（选择列）"));
    m_insertColumn->addItems(columns);
    const QString picture = m_pictureColumn->currentText();
    m_loading = true;
    m_pictureColumn->clear();
    m_pictureColumn->addItem(QString());
    m_pictureColumn->addItems(columns);
    m_pictureColumn->setCurrentText(picture);
    m_loading = false;
}

void PropertyPanel::showItem(const ReportItem* item) {
    setEnabled(item != nullptr);
    m_loading = true;
    m_item = item ? *item : ReportItem{};
    m_kind->setText(item ? kindCaption(m_item.kind) : QString());
    m_name->setText(m_item.name);
    m_x->setValue(m_item.rect.x());
    m_y->setValue(m_item.rect.y());
    m_width->setValue(m_item.rect.width());
    m_height->setValue(m_item.rect.height());
    m_text->setText(m_item.text);
    m_fontFamily->setText(m_item.fontFamily);
    m_fontSize->setValue(m_item.fontSize);
    m_bold->setChecked(m_item.bold);
    m_hAlign->setCurrentIndex(m_hAlign->findData(int(m_item.align & Qt::AlignHorizontal_Mask)));
    m_vAlign->setCurrentIndex(m_vAlign->findData(int(m_item.align & Qt::AlignVertical_Mask)));
    m_wrap->setChecked(m_item.wordWrap);
    m_shrink->setChecked(m_item.shrinkToFit);
    m_symbology->setCurrentIndex(m_symbology->findData(int(m_item.symbology)));
    m_showText->setChecked(m_item.showText);
    m_pictureColumn->setCurrentText(m_item.column);
    m_keepAspect->setChecked(m_item.keepAspect);
    m_frame->setChecked(m_item.frame);
    m_lineWidth->setValue(m_item.lineWidth);
    m_color->setText(m_item.color.name());
    m_fill->setText(m_item.fill.isValid() ? m_item.fill.name() : QString());
    m_loading = false;
    updateVisibleRows();
}

void PropertyPanel::updateVisibleRows() {
    const ItemKind k = m_item.kind;
    const bool text = k == ItemKind::Text, barcode = k == ItemKind::Barcode;
    const bool picture = k == ItemKind::Picture;
    m_form->setRowVisible(m_text, text || barcode);
    m_form->setRowVisible(m_insertColumn, text || barcode);
    m_form->setRowVisible(m_symbology, barcode);
    m_form->setRowVisible(m_showText, barcode);
    for (QWidget* w : {static_cast<QWidget*>(m_fontFamily), static_cast<QWidget*>(m_fontSize),
                       static_cast<QWidget*>(m_bold)})
        m_form->setRowVisible(w, text || barcode);
    for (QWidget* w : {static_cast<QWidget*>(m_hAlign), static_cast<QWidget*>(m_vAlign),
                       static_cast<QWidget*>(m_wrap), static_cast<QWidget*>(m_shrink)})
        m_form->setRowVisible(w, text);
    m_form->setRowVisible(m_pictureColumn, picture);
    m_form->setRowVisible(m_keepAspect, picture);
    m_form->setRowVisible(m_frame, text || picture);
    m_form->setRowVisible(m_lineWidth, !barcode);
    m_form->setRowVisible(m_fill, k == ItemKind::Box);
}

void PropertyPanel::readBack() {
    if (m_loading || !isEnabled())
        return;
    ReportItem& i = m_item;
    i.name = m_name->text().trimmed();
    i.rect = QRectF(m_x->value(), m_y->value(), m_width->value(), m_height->value());
    i.text = m_text->text();
    i.fontFamily = m_fontFamily->text().trimmed();
    i.fontSize = m_fontSize->value();
    i.bold = m_bold->isChecked();
    i.align = Qt::Alignment(m_hAlign->currentData().toInt() | m_vAlign->currentData().toInt());
    i.wordWrap = m_wrap->isChecked();
    i.shrinkToFit = m_shrink->isChecked();
    i.symbology = Symbology(m_symbology->currentData().toInt());
    i.showText = m_showText->isChecked();
    i.column = m_pictureColumn->currentText().trimmed();
    i.keepAspect = m_keepAspect->isChecked();
    i.frame = m_frame->isChecked();
    i.lineWidth = m_lineWidth->value();
    const QColor color(m_color->text().trimmed());
    if (color.isValid())
        i.color = color;
    i.fill = m_fill->text().trimmed().isEmpty() ? QColor() : QColor(m_fill->text().trimmed());
    emit itemEdited(i);
}

} // namespace cangshu::report
