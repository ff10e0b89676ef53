#pragma once
#include "core/Database.h"
#include "core/Home.h"
#include "readers/CardDevices.h"
#include "readers/ReaderRecord.h"

#include <QDialog>
#include <QHash>
#include <functional>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace cangshu {

class CameraWindow;

// What the reader windows share: the database, the home, the session's card validity in
// years, the workstation's card devices and the camera window.
struct ReadersUiContext {
    Database* db = nullptr;
    Home home;
    std::function<int()> cardYears = [] { return 0; };
    CardDevices* cards = nullptr;
    std::function<CameraWindow*()> camera; // the shared camera window, when there is one
    QString viewMode = QStringLiteral("61730");
    // Shows a reader's book loans, open or returned, in the loan query windows (modal); set
    // when those windows are part of the program.
    std::function<void(const QString& readerNumber, bool returned, QWidget* parent)> showBookLoans;
};

// "添加新读者" / "修改读者资料": one reader's record, keyboard first.
class ReaderEditor : public QDialog {
    Q_OBJECT
public:
    ReaderEditor(const ReadersUiContext& context, QWidget* parent = nullptr);

    // Starts a new reader with the defaults (caption "添加新读者").
    void startNew();
    // Starts changing the stored reader (caption "修改读者资料"); false when it is gone.
    bool startEdit(const QString& number);
    bool isNew() const { return m_new; }

    // The field of a column (读者编号, 读者姓名 ...), for keyboard focus and tests.
    QWidget* field(const QString& column) const { return m_fields.value(column); }
    QLineEdit* lineEdit(const QString& column) const;
    QComboBox* comboBox(const QString& column) const;
    QDateEdit* dateEdit(const QString& column) const;
    QPushButton* button(const QString& caption) const;
    QByteArray photo() const { return m_photo; }
    // The number of the reader stored last (for the caller to show it).
    QString savedNumber() const { return m_savedNumber; }

    // The commands, also callable from code.
    bool save();
    void issueNumber();
    void chooseType();
    void setUnlimitedCard(const QString& choice);
    bool choosePhotoFile(const QString& path);
    void clearPhoto();
    void setPhoto(const QByteArray& jpeg);
    void openCamera();
    bool readIdCard();
    bool readCard();
    bool writeCard();
    void openNumberSettings();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void buildUi();
    void fill(const ReaderRecord& record);
    ReaderRecord collect() const;
    void focusField(const QString& column);
    void closeCamera();

    ReadersUiContext m_context;
    ReaderRecord m_record; // what was loaded: keeps the row's ID and the ID-card photo path
    QByteArray m_photo;
    bool m_new = true;
    QString m_savedNumber;
    QHash<QString, QWidget*> m_fields;
    QHash<QWidget*, QPair<QWidget*, QWidget*>> m_arrows; // field → (up, down)
    QLabel* m_photoLabel = nullptr;
    QPlainTextEdit* m_remarks = nullptr;
};

} // namespace cangshu
