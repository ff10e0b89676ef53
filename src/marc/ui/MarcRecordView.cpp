#include "MarcRecordView.h"

#include <QHeaderView>

namespace cangshu {

namespace {

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

MarcRecordView::MarcRecordView(QWidget* parent) : QTableWidget(parent) {
    setColumnCount(ColumnCount);
    setHorizontalHeaderLabels({QStringLiteral("字段"), QStringLiteral("字段名称"),
                               QStringLiteral("指示符"), QStringLiteral("子字段"),
                               QStringLiteral("数据")});
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    auto* header = horizontalHeader();
    header->setSectionResizeMode(TagColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(NameColumn, QHeaderView::Interactive);
    header->setSectionResizeMode(IndicatorColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(CodeColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(ValueColumn, QHeaderView::Stretch);
    header->resizeSection(NameColumn,
                          fontMetrics().horizontalAdvance(QStringLiteral("题名与责任说明")) + 24);
}

QString MarcRecordView::displayContent(QStringView content) {
    QString shown = content.toString();
    shown.replace(QChar(0x1F), u'$');
    return shown;
}

void MarcRecordView::setRecord(const MarcRecord& record) {
    m_record = record;
    clearSpans();
    clearContents();
    setRowCount(0);
    if (!record.hasFields()) {
        if (record.isSet())
            addMessageRow(QStringLiteral("无法读取该记录：") + record.problemText());
        return;
    }
    for (const auto& field : record.fields()) {
        addFieldRow(field);
        for (const auto& subfield : field.subfields)
            addSubfieldRow(subfield);
    }
}

void MarcRecordView::addFieldRow(const MarcField& field) {
    const int row = rowCount();
    insertRow(row);
    auto* tag = cell(field.tag.toString());
    QFont bold = font();
    bold.setBold(true);
    tag->setFont(bold);
    tag->setToolTip(field.fullName());
    setItem(row, TagColumn, tag);
    auto* name = cell(field.name());
    name->setToolTip(field.fullName());
    setItem(row, NameColumn, name);
    QString indicators = field.indicators.toString();
    indicators.replace(u' ', u'_');
    setItem(row, IndicatorColumn, cell(field.control ? QString() : indicators));
    setItem(row, CodeColumn, cell(QString()));
    setItem(row, ValueColumn, cell(displayContent(field.content)));
}

void MarcRecordView::addSubfieldRow(const MarcSubfield& subfield) {
    const int row = rowCount();
    insertRow(row);
    const QBrush shade(QColor(233, 251, 254));
    for (int column = 0; column < ColumnCount; ++column) {
        QString text;
        if (column == NameColumn)
            text = subfield.name();
        else if (column == CodeColumn)
            text = QStringLiteral("$") + subfield.code;
        else if (column == ValueColumn)
            text = subfield.value().toString();
        auto* item = cell(text);
        item->setBackground(shade);
        setItem(row, column, item);
    }
    item(row, NameColumn)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void MarcRecordView::addMessageRow(const QString& text) {
    insertRow(0);
    setItem(0, TagColumn, cell(text));
    setSpan(0, 0, 1, ColumnCount);
}

} // namespace cangshu
