#include "BookEditSession.h"

#include "Publishers.h"
#include "core/Numbering.h"
#include "core/TextRoutines.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

namespace cangshu {

namespace {

const QString kNumber = QStringLiteral("书籍编号");
const QString kTitle = QStringLiteral("书籍名称");
const QString kClass = QStringLiteral("中图分类");
const QString kSequence = QStringLiteral("种次号");
const QString kCallNumber = QStringLiteral("索书号");
const QString kTotal = QStringLiteral("藏书总量");
const QString kOnShelf = QStringLiteral("馆内剩余");
const QString kStatus = QStringLiteral("在馆状态");
const QString kAdded = QStringLiteral("入库时间");
const QString kCover = QStringLiteral("bookimage");
const QString kCoverFile = QStringLiteral("图片");
const QString kVolume = QStringLiteral("当前本数");

const QStringList kCopiedFromBook{
    QStringLiteral("书籍名称"), QStringLiteral("拼音"),     QStringLiteral("标准ISBN"),
    QStringLiteral("作者信息"), QStringLiteral("书籍价格"), QStringLiteral("中图分类"),
    QStringLiteral("分类名称"), QStringLiteral("出版社名"), QStringLiteral("出版地点"),
    QStringLiteral("出版日期"), QStringLiteral("书籍页码"), QStringLiteral("存放位置"),
    QStringLiteral("密级"),     QStringLiteral("当前本数"), QStringLiteral("书籍开本"),
    QStringLiteral("所属语种"), QStringLiteral("配送物品"), QStringLiteral("书籍版次"),
    QStringLiteral("所属丛书"), QStringLiteral("印刷版面"), QStringLiteral("备注信息"),
    QStringLiteral("内容简介"), QStringLiteral("图片"),     QStringLiteral("bookimage"),
    QStringLiteral("藏书总量"), QStringLiteral("馆内剩余"), QStringLiteral("索书号"),
    QStringLiteral("种次号")};

// The 种次号 a step further on, when it is a plain number; unchanged otherwise.
QString sequenceAfter(const QString& sequence, int steps) {
    bool ok = false;
    const qint64 n = sequence.trimmed().toLongLong(&ok);
    return ok ? QString::number(n + steps) : sequence;
}

} // namespace

BookEditSession::BookEditSession(Database& db, bool oneToOne, QString kindCondition)
    : m_db(db), m_oneToOne(oneToOne), m_kindCondition(std::move(kindCondition)),
      m_columns(db.columns(QStringLiteral("书籍资料"))) {}

void BookEditSession::beginInsert() {
    m_values.clear();
    m_values.insert(kAdded, m_db.today());
    m_values.insert(kStatus, QStringLiteral("在馆"));
    m_values.insert(kTotal, 1);
    m_values.insert(kOnShelf, 1);
    m_issued.clear();
    m_saved = false;
    m_storedIds.clear();
    m_state = State::Insert;
}

bool BookEditSession::beginEdit(qint64 id) {
    const auto r = m_db.row(QStringLiteral("select * from [书籍资料] where [ID]=?"), {id});
    if (!r)
        return false;
    m_values = recordMap(*r);
    m_issued.clear();
    m_saved = false;
    m_storedIds.clear();
    m_state = State::Edit;
    return true;
}

void BookEditSession::cancel() {
    m_state = State::Browse;
    m_issued.clear();
}

void BookEditSession::setValue(const QString& column, const QVariant& value) {
    m_values.insert(column, value);
    if (column == kTitle)
        m_values.insert(QStringLiteral("拼音"), pinyinInitials(value.toString()));
}

QString BookEditSession::issueNumber() {
    m_issued = Numbering(m_db).nextNumber(NumberKind::Book);
    m_values.insert(kNumber, m_issued);
    return m_issued;
}

bool BookEditSession::fillPublisherFromIsbn(const QString& isbn, bool alsoSetIsbn) {
    const auto p = publisherOfIsbn(m_db, isbn);
    if (!p)
        return false;
    setPublisher(p->name, p->place);
    if (alsoSetIsbn)
        m_values.insert(QStringLiteral("标准ISBN"), isbn);
    return true;
}

void BookEditSession::setPublisher(const QString& name, const QString& place) {
    m_values.insert(QStringLiteral("出版社名"), name);
    m_values.insert(QStringLiteral("出版地点"), place);
}

QList<QVariantMap> BookEditSession::recallCandidates(RecallBy by, const QString& table) const {
    const QString value = text(by == RecallBy::Isbn ? QStringLiteral("标准ISBN") : kTitle);
    if (value.isEmpty())
        return {};
    return cangshu::recallCandidates(m_db, by, value, table);
}

void BookEditSession::applyRecall(const QVariantMap& source, RecallBy by) {
    cangshu::applyRecall(m_values, source, by);
    if (by == RecallBy::Title)
        return;
    // The recalled title brings its pinyin along.
    m_values.insert(QStringLiteral("拼音"), pinyinInitials(text(kTitle)));
}

bool BookEditSession::completeClass(const QString& classText) {
    const auto m = lookupClass(m_db, classText, m_kindCondition);
    if (!m)
        return false;
    m_values.insert(kClass, m->number);
    m_values.insert(QStringLiteral("分类名称"), m->name);
    m_values.insert(kSequence, m->sequence);
    m_values.insert(kCallNumber, m->callNumber);
    return true;
}

void BookEditSession::chooseClass(const QString& number, const QString& name) {
    m_values.insert(kClass, number);
    m_values.insert(QStringLiteral("分类名称"), name);
    const QString sequence = nextSequenceNumber(m_db, number, m_kindCondition);
    m_values.insert(kSequence, sequence);
    m_values.insert(kCallNumber, callNumber(number, sequence));
}

void BookEditSession::recomputeCallNumber() {
    m_values.insert(kCallNumber, callNumber(text(kClass), text(kSequence)));
}

void BookEditSession::copyFrom(const QVariantMap& book) {
    m_values.insert(kAdded, m_db.today());
    m_values.insert(kStatus, QStringLiteral("在馆"));
    for (const QString& column : kCopiedFromBook)
        if (book.contains(column))
            m_values.insert(column, book.value(column));
    // A new record starts with every copy on the shelf, whatever the source has lent.
    m_values.insert(kOnShelf, m_values.value(kTotal));
}

Outcome BookEditSession::setCoverFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Outcome::refused(QStringLiteral("照片格式不对！"));
    return setCoverImage(file.readAll(), QFileInfo(path).fileName());
}

Outcome BookEditSession::setCoverImage(const QByteArray& imageBytes, const QString& fileName) {
    QImage image;
    if (!image.loadFromData(imageBytes) || image.isNull())
        return Outcome::refused(QStringLiteral("照片格式不对！"));
    // Every reader of the cover decodes JPEG, whatever format the file had.
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPG", 90))
        return Outcome::refused(QStringLiteral("照片格式不对！"));
    if (m_state == State::Browse)
        m_state = State::Edit;
    m_values.insert(kCover, jpeg);
    if (!fileName.isEmpty())
        m_values.insert(kCoverFile, fileName);
    return Outcome::done();
}

void BookEditSession::clearCover() {
    if (m_state == State::Browse)
        m_state = State::Edit;
    if (!hasCover())
        return;
    m_values.insert(kCover, QVariant(QMetaType(QMetaType::QByteArray)));
    m_values.insert(kCoverFile, QString());
}

bool BookEditSession::hasCover() const {
    const QVariant v = m_values.value(kCover);
    return !v.isNull() && !v.toByteArray().isEmpty();
}

QList<QVariantMap> BookEditSession::expand(const SaveOptions& options) const {
    QVariantMap base = m_values;
    QList<QVariantMap> rows;
    QStringList volumes;
    switch (options.kind) {
    case SaveOptions::Kind::Copies: {
        const int n = std::max(options.count, 1);
        if (!m_oneToOne) {
            base.insert(kTotal, n);
            base.insert(kOnShelf, n);
            return {base};
        }
        for (int i = 0; i < n; ++i)
            rows.append(base);
        break;
    }
    case SaveOptions::Kind::Volumes:
        for (int i = 1; i <= std::max(options.count, 1); ++i)
            volumes << QStringLiteral("第%1%2").arg(i).arg(options.unit);
        break;
    case SaveOptions::Kind::TwoParts:
        volumes << QStringLiteral("上册") << QStringLiteral("下册");
        break;
    case SaveOptions::Kind::ThreeParts:
        volumes << QStringLiteral("上册") << QStringLiteral("中册") << QStringLiteral("下册");
        break;
    case SaveOptions::Kind::Single:
    case SaveOptions::Kind::CopyThis:
        return {base};
    }
    for (const QString& v : volumes) {
        QVariantMap row = base;
        row.insert(kVolume, v);
        rows.append(row);
    }
    if (options.incrementSequence) {
        for (int i = 1; i < rows.size(); ++i) {
            const QString seq = sequenceAfter(base.value(kSequence).toString(), i);
            rows[i].insert(kSequence, seq);
            if (!base.value(kClass).toString().isEmpty())
                rows[i].insert(kCallNumber, callNumber(base.value(kClass).toString(), seq));
        }
    }
    return rows;
}

QVariantList BookEditSession::boundValues(const QStringList& columns,
                                          const QVariantMap& row) const {
    QVariantList out;
    for (const QString& c : columns) {
        const QVariant v = row.value(c);
        if (c == QStringLiteral("书籍价格")) {
            bool ok = false;
            const double d = v.toString().trimmed().toDouble(&ok);
            out << (ok ? QVariant(d) : QVariant(QMetaType(QMetaType::Double)));
        } else if (c == kTotal || c == kOnShelf || c == QStringLiteral("借出次数") ||
                   c == QStringLiteral("收藏次数")) {
            bool ok = false;
            const qint64 n = v.toString().trimmed().toLongLong(&ok);
            out << (ok ? QVariant(n) : QVariant(QMetaType(QMetaType::LongLong)));
        } else if (c == kAdded) {
            QDate d = v.toDate();
            if (!d.isValid())
                d = QDate::fromString(v.toString(), Qt::ISODate);
            out << (d.isValid() ? QVariant(d) : QVariant(QMetaType(QMetaType::QDate)));
        } else if (c == QStringLiteral("选中")) {
            out << QVariant(v.toBool());
        } else if (c == kCover) {
            out << (v.isNull() ? QVariant(QMetaType(QMetaType::QByteArray))
                               : QVariant(v.toByteArray()));
        } else {
            out << (v.isNull() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(v.toString()));
        }
    }
    return out;
}

qint64 BookEditSession::insertRow(const QVariantMap& row) const {
    QStringList columns;
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        if (it.key() != QStringLiteral("ID") && m_columns.contains(it.key(), Qt::CaseInsensitive))
            columns << it.key();
    QStringList bracketed, marks;
    for (const QString& c : columns) {
        bracketed << u'[' + c + u']';
        marks << QStringLiteral("?");
    }
    return m_db.insert(QStringLiteral("insert into [书籍资料] (%1) values (%2)")
                           .arg(bracketed.join(u','), marks.join(u',')),
                       boundValues(columns, row), QStringLiteral("ID"));
}

void BookEditSession::updateRow(const QVariantMap& row) const {
    QStringList columns, sets;
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        if (it.key() != QStringLiteral("ID") && m_columns.contains(it.key(), Qt::CaseInsensitive)) {
            columns << it.key();
            sets << u'[' + it.key() + QStringLiteral("]=?");
        }
    QVariantList params = boundValues(columns, row);
    params << row.value(QStringLiteral("ID"));
    m_db.execute(QStringLiteral("update [书籍资料] set %1 where [ID]=?").arg(sets.join(u',')),
                 params);
}

Outcome BookEditSession::post(const SaveOptions& options) {
    if (text(kNumber).trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("请输入书籍编号！"), kNumber);
    if (text(kTitle).trimmed().isEmpty())
        return Outcome::refused(QStringLiteral("请输入书籍名称！"), kTitle);
    m_storedIds.clear();
    if (m_state == State::Edit) {
        updateRow(m_values);
        m_storedIds << m_values.value(QStringLiteral("ID")).toLongLong();
        m_saved = true;
        m_state = State::Browse;
        return Outcome::done();
    }
    if (m_state != State::Insert)
        return Outcome::refused(QString());

    const bool issued = !m_issued.isEmpty() && text(kNumber) == m_issued;
    QList<QVariantMap> rows = expand(options);
    Numbering numbering(m_db);
    {
        Transaction tx(m_db);
        for (int i = 0; i < rows.size(); ++i) {
            if (issued && i > 0)
                rows[i].insert(kNumber, numbering.nextNumber(NumberKind::Book));
            m_storedIds << insertRow(rows[i]);
            if (issued)
                numbering.advance(NumberKind::Book);
        }
        tx.commit();
    }
    m_saved = true;
    if (options.kind != SaveOptions::Kind::CopyThis) {
        m_state = State::Browse;
        m_issued.clear();
        return Outcome::done();
    }
    // The data stays for the next book: a number of its own, today's date, on the shelf.
    m_values.insert(kAdded, m_db.today());
    m_values.insert(kStatus, QStringLiteral("在馆"));
    m_values.insert(kOnShelf, m_values.value(kTotal));
    if (issued)
        issueNumber();
    else
        m_values.insert(kNumber, QString());
    if (options.incrementSequence && !text(kSequence).isEmpty()) {
        m_values.insert(kSequence, sequenceAfter(text(kSequence), 1));
        if (!text(kClass).isEmpty())
            recomputeCallNumber();
    }
    return Outcome::done();
}

} // namespace cangshu
