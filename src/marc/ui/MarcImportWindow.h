#pragma once
#include "marc/MarcImport.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

namespace cangshu {

class Database;
class MarcPreviewModel;
class MarcRecordView;

// "导入图书marc数据" (books, into 书籍资料 or 书籍预编) and "导入期刊Marc数据" (periodicals,
// into 期刊资料): opens a MARC file, previews its records as the columns of the mapping
// table, shows the current record field by field, and imports the preview.
class MarcImportWindow : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Books, Periodicals };
    MarcImportWindow(Database& db, Kind kind, QWidget* parent = nullptr);
    ~MarcImportWindow() override;

    Kind kind() const { return m_kind; }

    // "打开Marc数据" with the file already chosen; an empty path is a cancelled dialog.
    bool openFile(const QString& path);
    // "预览Marc数据".
    bool preview();
    // "导入Marc数据到数据库" and "导入Marc数据到预编库" (books only).
    bool importToCatalogue();
    bool importToPreCatalogue();

    QTableView* previewList() const { return m_previewList; }
    MarcRecordView* recordView() const { return m_recordView; }
    QLabel* totalLabel() const { return m_total; }
    QLabel* previewedLabel() const { return m_previewed; }
    QLabel* stateLabel() const { return m_state; }
    QCheckBox* priceBox() const { return m_price; }
    QCheckBox* callNumberBox() const { return m_callNumber; } // null for periodicals
    QCheckBox* numberBox() const { return m_number; }
    QPushButton* preCatalogueButton() const { return m_toPreCatalogue; } // null for periodicals
    const MarcImportOutcome& lastOutcome() const { return m_lastOutcome; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void browse();
    void loadMappings();
    void setCounts(qsizetype total, qsizetype previewed);
    void showCurrentRecord();
    bool runImport(MarcImportTarget target, const QString& question, const QString& progressText);

    Database& m_db;
    Kind m_kind;
    QList<MarcMapping> m_mappings;
    QString m_mappingError;
    QList<QByteArray> m_records;
    MarcPreview m_preview;
    MarcImportOutcome m_lastOutcome;

    QLabel* m_file;
    QLabel* m_total;
    QLabel* m_previewed;
    QLabel* m_state;
    QCheckBox* m_price;
    QCheckBox* m_callNumber = nullptr;
    QCheckBox* m_number;
    QPushButton* m_toPreCatalogue = nullptr;
    QTableView* m_previewList;
    MarcPreviewModel* m_model;
    MarcRecordView* m_recordView;
};

} // namespace cangshu
