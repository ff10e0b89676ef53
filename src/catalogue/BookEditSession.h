#pragma once
#include "CatalogueLookups.h"
#include "core/Database.h"
#include "core/Outcome.h"

#include <QByteArray>
#include <QVariantMap>

namespace cangshu {

// How a new record is stored, chosen in the editor's options panel.
struct SaveOptions {
    enum class Kind {
        Single,     // one record; the editor closes
        Copies,     // 书籍为复本: `count` copies of the title
        CopyThis,   // 复制本书: store, then keep the data for the next book
        Volumes,    // 书籍为卷或集: `count` records 第1<unit> .. 第n<unit>
        TwoParts,   // 书籍为上、下册录入: 上册, 下册
        ThreeParts, // 书籍为上、中、下册录入: 上册, 中册, 下册
    };
    Kind kind = Kind::Single;
    int count = 2;
    QString unit = QStringLiteral("卷");
    // 种次号 "递增": every further record gets the next 种次号 (and call number);
    // "不变": they share it.
    bool incrementSequence = true;
};

// The record-edit session behind the book editor: one row of 书籍资料 being inserted or
// changed, with the cataloguing aids that fill it. The editor window, the camera and the
// cover search all write through it; only post() touches the table.
class BookEditSession {
public:
    enum class State { Browse, Insert, Edit };

    BookEditSession(Database& db, bool oneToOne, QString kindCondition);

    State state() const { return m_state; }
    bool isAdding() const { return m_state == State::Insert; }
    bool oneToOne() const { return m_oneToOne; }
    // A new record with today's date, "在馆" and one copy on the shelf.
    void beginInsert();
    // The stored row; false when it is gone.
    bool beginEdit(qint64 id);
    void cancel();

    QVariant value(const QString& column) const { return m_values.value(column); }
    QString text(const QString& column) const { return m_values.value(column).toString(); }
    const QVariantMap& values() const { return m_values; }
    // A change of the title also renews 拼音.
    void setValue(const QString& column, const QVariant& value);

    // "自动编号": the next book number into 书籍编号. The counter moves only when a record
    // carrying an issued number is stored.
    QString issueNumber();
    QString issuedNumber() const { return m_issued; }

    // The publisher of an ISBN's prefix into 出版社名 and 出版地点 (and the text into 标准ISBN
    // when asked); false when none is found.
    bool fillPublisherFromIsbn(const QString& isbn, bool alsoSetIsbn);
    void setPublisher(const QString& name, const QString& place);
    // Recall: the candidates, then the one chosen.
    QList<QVariantMap> recallCandidates(RecallBy by,
                                        const QString& table = QStringLiteral("书籍资料")) const;
    void applyRecall(const QVariantMap& source, RecallBy by);
    // Class lookup by the typed class number; false when it is known nowhere.
    bool completeClass(const QString& classText);
    // A class taken from the picker: number, name, 种次号 and call number.
    void chooseClass(const QString& number, const QString& name);
    // Enter in 种次号: the call number from the class number and the 种次号 as typed.
    void recomputeCallNumber();
    // Copying an existing book: its data, a new number of its own (none), today's date,
    // "在馆" and all its copies on the shelf.
    void copyFrom(const QVariantMap& book);

    // Cover pictures, stored as JPEG. "照片格式不对！" when the file is no picture.
    Outcome setCoverFromFile(const QString& path);
    Outcome setCoverImage(const QByteArray& imageBytes, const QString& fileName = {});
    void clearCover();
    bool hasCover() const;

    // "保存信息(&S)". Checks the number and the title ("请输入书籍编号！" / "请输入书籍名称！"
    // with the field wanting the focus), stores the record(s) in one transaction and
    // returns to browse, or stays in insert with the next record's data for CopyThis.
    Outcome post(const SaveOptions& options = {});
    bool saved() const { return m_saved; }
    void resetSaved() { m_saved = false; }
    // IDs of the rows the last post stored.
    const QList<qint64>& storedIds() const { return m_storedIds; }

private:
    QList<QVariantMap> expand(const SaveOptions& options) const;
    qint64 insertRow(const QVariantMap& row) const;
    void updateRow(const QVariantMap& row) const;
    QVariantList boundValues(const QStringList& columns, const QVariantMap& row) const;

    Database& m_db;
    bool m_oneToOne;
    QString m_kindCondition;
    State m_state = State::Browse;
    QVariantMap m_values;
    QString m_issued;
    bool m_saved = false;
    QList<qint64> m_storedIds;
    QStringList m_columns; // of 书籍资料, as the engine names them
};

} // namespace cangshu
