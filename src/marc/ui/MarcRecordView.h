#pragma once
#include "marc/MarcRecord.h"

#include <QTableWidget>

namespace cangshu {

// Shows a MARC record field by field: one row per field (tag, name, indicators, data) and
// below it one row per subfield (code, name, value). A record that could not be read shows
// why.
class MarcRecordView : public QTableWidget {
    Q_OBJECT
public:
    enum Column { TagColumn, NameColumn, IndicatorColumn, CodeColumn, ValueColumn, ColumnCount };

    explicit MarcRecordView(QWidget* parent = nullptr);

    void setRecord(const MarcRecord& record);
    const MarcRecord& record() const { return m_record; }

    // A data field's content as shown: each subfield delimiter as "$".
    static QString displayContent(QStringView content);

private:
    void addFieldRow(const MarcField& field);
    void addSubfieldRow(const MarcSubfield& subfield);
    void addMessageRow(const QString& text);

    MarcRecord m_record;
};

} // namespace cangshu
