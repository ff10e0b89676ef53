#pragma once
#include "catalogue/BookEditSession.h"
#include "core/Home.h"

#include <QDialog>
#include <QHash>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace cangshu {

// What the editor needs to know of the session and the configuration.
struct BookEditorSettings {
    bool masterLookup = false; // "超强版" buttons shown
    bool titleSearch = false;  // the cover search button shown
    QString kindCondition = QStringLiteral("书籍名称,出版社名,作者信息,标准ISBN");
};

// The book editor: one record of 书籍资料 through a BookEditSession that the caller has put
// into insert ("添加新书籍资料") or edit ("修改书籍资料") state. Keyboard first: Enter moves on
// through the fields doing each field's lookup on the way.
class BookEditor : public QDialog {
    Q_OBJECT
public:
    BookEditor(Database& db, const Home& home, BookEditSession& session,
               BookEditorSettings settings, QWidget* parent = nullptr);

    static QString addTitle() { return QStringLiteral("添加新书籍资料"); }
    static QString changeTitle() { return QStringLiteral("修改书籍资料"); }

    // The editing widget of a column (QLineEdit, QComboBox, QPlainTextEdit or QDateEdit).
    QWidget* field(const QString& column) const { return m_fields.value(column); }
    QLineEdit* isbnSearchBox() const { return m_isbnSearch; }
    QWidget* optionsPanel() const { return m_options; }
    QCheckBox* option(const QString& caption) const;
    QRadioButton* sequenceRising() const { return m_rising; }
    QRadioButton* sequenceSame() const { return m_same; }
    QSpinBox* copiesCount() const { return m_copies; }
    bool saved() const { return m_session.saved(); }
    BookEditSession& session() { return m_session; }
    // "设置编号宽度", which the shell provides.
    void setNumberSettingsOpener(std::function<void(QWidget*)> open) {
        m_openNumberSettings = std::move(open);
    }

    // The commands, for the buttons, the keys and tests.
    bool save();
    void issueNumber();
    void pickClass();
    void pickPublisher();
    void copyExistingBook();
    void chooseCover();
    void clearCover();
    void enlargeCover();
    SaveOptions saveOptions() const;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFields(QWidget* box);
    QWidget* buildSearchGroup();
    QWidget* buildOptions();
    QWidget* buildCover();
    void fillDictionaries();
    void loadFields();
    void storeField(const QString& column);
    void focusField(const QString& column);
    void enterPressed(const QString& column);
    void optionToggled(QCheckBox* box, bool checked);
    void showCover();
    bool recall(RecallBy by);

    Database& m_db;
    Home m_home;
    BookEditSession& m_session;
    BookEditorSettings m_settings;
    QHash<QString, QWidget*> m_fields;
    QHash<QObject*, QString> m_columnOf;
    bool m_loading = false;
    QLineEdit* m_isbnSearch = nullptr;
    QLineEdit* m_titleSearch = nullptr;
    QCheckBox* m_recallIsbn = nullptr;
    QCheckBox* m_recallTitle = nullptr;
    QWidget* m_options = nullptr;
    QList<QCheckBox*> m_optionBoxes;
    QSpinBox* m_copies = nullptr;
    QSpinBox* m_volumes = nullptr;
    QComboBox* m_unit = nullptr;
    QRadioButton* m_rising = nullptr;
    QRadioButton* m_same = nullptr;
    QLabel* m_cover = nullptr;
    QList<QWidget*> m_masterButtons;
    QPushButton* m_coverSearch = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    std::function<void(QWidget*)> m_openNumberSettings;
};

} // namespace cangshu
