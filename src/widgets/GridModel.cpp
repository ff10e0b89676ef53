#include "GridModel.h"

#include "queries/CellText.h"
#include "queries/SafeSelect.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QSqlError>
#include <QSqlRecord>

namespace cangshu {

namespace {
const QString kMarkField = QStringLiteral("选中");
quint64 editKey(int row, int column) {
    return (quint64(quint32(row)) << 32) | quint32(column);
}
} // namespace

QString lookText(ColumnLook look, const QVariant& value) {
    if (look == ColumnLook::Money || look == ColumnLook::RedMoney)
        return moneyText(value);
    return cellText(value);
}

GridModel::GridModel(Database& db, QObject* parent) : QAbstractTableModel(parent), m_db(db) {}

void GridModel::setColumns(const QList<GridColumn>& columns) {
    beginResetModel();
    m_columns = columns;
    m_declared = !columns.isEmpty();
    endResetModel();
}

void GridModel::applyLayout(const QList<ColumnLayout>& layout) {
    beginResetModel();
    QList<GridColumn> ordered;
    QList<GridColumn> rest = m_columns;
    for (const ColumnLayout& saved : layout) {
        for (int i = 0; i < rest.size(); ++i) {
            if (rest.at(i).field.compare(saved.field, Qt::CaseInsensitive) == 0) {
                GridColumn c = rest.takeAt(i);
                c.title = saved.title.isEmpty() ? c.title : saved.title;
                c.width = saved.width;
                c.visible = saved.visible;
                ordered << c;
                break;
            }
        }
    }
    m_columns = ordered + rest;
    endResetModel();
}

QList<ColumnLayout> GridModel::layout() const {
    QList<ColumnLayout> out;
    for (const GridColumn& c : m_columns)
        out.append({c.field, c.title, c.width, c.visible});
    return out;
}

void GridModel::setEditable(const QString& table, const QString& keyColumn) {
    beginResetModel();
    m_table = table;
    m_keyColumn = keyColumn;
    endResetModel();
}

QString GridModel::orderTerms() const {
    if (m_sortField.isEmpty())
        return m_source.orderBy;
    return QStringLiteral("[%1]%2").arg(
        m_sortField, m_sortOrder == Qt::DescendingOrder ? QStringLiteral(" DESC") : QString());
}

QString GridModel::currentSql() const {
    const QString order = orderTerms();
    return order.isEmpty() ? m_source.select
                           : m_source.select + QStringLiteral(" order by ") + order;
}

QString GridModel::blockSql() const {
    QString order = orderTerms();
    if (!m_tieBreak.isEmpty())
        order = order.isEmpty() ? m_tieBreak : order + QStringLiteral(", ") + m_tieBreak;
    QString sql = m_source.select;
    if (!order.isEmpty())
        sql += QStringLiteral(" order by ") + order;
    return sql + QStringLiteral(" limit ? offset ?");
}

QString GridModel::tieBreakFor(const QSqlRecord& record) {
    // Blocks read by separate queries must agree on the order of rows that tie on the
    // list's order: the key decides, else every column that can be compared. Output
    // columns are named by their position, which no join can make ambiguous.
    QStringList positions;
    for (int i = 0; i < record.count(); ++i) {
        if (record.fieldName(i).compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
            return QString::number(i + 1);
        if (record.field(i).metaType().id() != QMetaType::QByteArray)
            positions << QString::number(i + 1);
    }
    return positions.join(QStringLiteral(", "));
}

void GridModel::load(const GridSource& source) {
    m_source = source;
    m_sortField.clear();
    reload();
}

void GridModel::reload() {
    QSqlRecord record;
    QSqlQuery query;
    if (m_db.isPostgres()) {
        // The fields first (no rows), for the order that the blocks share.
        m_tieBreak = tieBreakFor(
            runSelect(m_db, currentSql() + QStringLiteral(" limit 0"), m_source.params, true)
                .record());
        query = runSelect(m_db, blockSql(), m_source.params + QVariantList{kBlockRows, 0}, true);
    } else {
        query = runSelect(m_db, currentSql(), m_source.params, true);
    }
    record = query.record();
    beginResetModel();
    m_edits.clear();
    m_rows.clear();
    m_record = record;
    m_query = std::move(query);
    m_atEnd = false;
    if (!m_declared) {
        // A grid without declared columns shows every column of the list by its name.
        QList<GridColumn> all;
        for (int i = 0; i < m_record.count(); ++i)
            all.append({m_record.fieldName(i), m_record.fieldName(i)});
        m_columns = all;
    }
    m_rows = readBlock();
    endResetModel();
    emit reloaded();
}

QList<QList<QVariant>> GridModel::readBlock() {
    QList<QList<QVariant>> block;
    if (m_atEnd)
        return block;
    if (m_db.isPostgres() && !m_query.isActive()) {
        // The next block, in the list's order, after the rows already read.
        m_query =
            runSelect(m_db, blockSql(),
                      m_source.params + QVariantList{kBlockRows, qint64(m_rows.size())}, true);
    }
    const int fields = m_record.count();
    while (block.size() < kBlockRows && m_query.next()) {
        QList<QVariant> row;
        row.reserve(fields);
        for (int i = 0; i < fields; ++i)
            row.append(m_query.value(i));
        block.append(std::move(row));
    }
    if (m_db.isPostgres() || block.size() < kBlockRows)
        m_query = QSqlQuery();
    m_atEnd = block.size() < kBlockRows;
    return block;
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

bool GridModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !m_atEnd;
}

void GridModel::fetchMore(const QModelIndex& parent) {
    if (parent.isValid() || m_atEnd)
        return;
    QList<QList<QVariant>> block;
    try {
        block = readBlock();
    } catch (const DatabaseError& e) {
        m_atEnd = true;
        emit failed(e.message());
        return;
    }
    if (block.isEmpty())
        return;
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + block.size()) - 1);
    m_rows.append(std::move(block));
    endInsertRows();
}

void GridModel::clear() {
    beginResetModel();
    m_edits.clear();
    m_rows.clear();
    m_record = QSqlRecord();
    m_query = QSqlQuery();
    m_atEnd = true;
    endResetModel();
}

GridModel::Totals GridModel::totals() const {
    Totals t;
    QStringList sums;
    QStringList fields;
    for (const GridColumn& c : m_columns) {
        if (c.footer == FooterKind::Sum) {
            sums << QStringLiteral("sum([%1])").arg(c.field);
            fields << c.field;
        }
    }
    if (!m_source.totals.isEmpty()) {
        QSqlQuery q = runSelect(m_db, m_source.totals, m_source.params, true);
        if (q.next()) {
            t.rows = q.value(0).toLongLong();
            const QSqlRecord r = q.record();
            for (const QString& field : fields)
                if (const int i = r.indexOf(field); i >= 0)
                    t.sums.insert(field, q.value(i).toDouble());
        }
        return t;
    }
    const QString sql =
        QStringLiteral("select count(*)%1 from (%2) as grid")
            .arg(sums.isEmpty() ? QString() : u',' + sums.join(u','), m_source.select);
    QSqlQuery q = runSelect(m_db, sql, m_source.params, true);
    if (q.next()) {
        t.rows = q.value(0).toLongLong();
        for (int i = 0; i < fields.size(); ++i)
            t.sums.insert(fields.at(i), q.value(i + 1).toDouble());
    }
    return t;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

int GridModel::recordIndex(int column) const {
    if (column < 0 || column >= m_columns.size())
        return -1;
    return m_record.indexOf(m_columns.at(column).field);
}

int GridModel::columnOfField(const QString& field) const {
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant GridModel::fieldValue(int row, const QString& field) const {
    const int column = columnOfField(field);
    if (column >= 0) {
        const auto edit = m_edits.constFind(editKey(row, column));
        if (edit != m_edits.constEnd())
            return *edit;
    }
    const int r = m_record.indexOf(field);
    if (r < 0 || row < 0 || row >= m_rows.size())
        return {};
    return m_rows.at(row).value(r);
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::BackgroundRole) {
        // Rows with an odd record number (the first, third, ...) are light cyan.
        if (index.row() % 2 == 0)
            return QBrush(QColor(233, 251, 254));
        return {};
    }
    const ColumnLook look =
        index.column() < m_columns.size() ? m_columns.at(index.column()).look : ColumnLook::Plain;
    if (role == Qt::ForegroundRole) {
        if (look == ColumnLook::Red || look == ColumnLook::RedMoney)
            return QBrush(Qt::red);
        if (look == ColumnLook::Blue)
            return QBrush(Qt::blue);
        return {};
    }
    if (role == Qt::FontRole) {
        if (look == ColumnLook::Plain || look == ColumnLook::Money)
            return {};
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::CheckStateRole &&
        role != Qt::TextAlignmentRole)
        return {};
    const int r = recordIndex(index.column());
    if (r < 0)
        return {};
    QVariant value;
    const auto edit = m_edits.constFind(editKey(index.row(), index.column()));
    if (edit != m_edits.constEnd())
        value = *edit;
    else if (index.row() < m_rows.size())
        value = m_rows.at(index.row()).value(r);
    const bool isMark = m_columns.at(index.column()).field == kMarkField;
    if (isMark) {
        if (role == Qt::CheckStateRole)
            return value.toBool() ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    if (role == Qt::CheckStateRole)
        return {};
    if (role == Qt::TextAlignmentRole) {
        // Amounts and counts line up on the right.
        if (look == ColumnLook::Money || look == ColumnLook::RedMoney)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Double:
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        default:
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    if (role == Qt::EditRole)
        return cellText(value);
    return lookText(look, value);
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && section >= 0 && section < m_columns.size()) {
        if (role == Qt::DisplayRole)
            return m_columns.at(section).title;
        if (role == Qt::InitialSortOrderRole)
            return int(Qt::AscendingOrder);
        return {};
    }
    // The row numbers: the list's "序号" column where a grid shows them.
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (!isEditable())
        return f;
    const QString& field = m_columns.at(index.column()).field;
    if (field == kMarkField)
        return f | Qt::ItemIsUserCheckable;
    if (field.compare(m_keyColumn, Qt::CaseInsensitive) != 0 &&
        record().field(field).metaType().id() != QMetaType::QByteArray)
        return f | Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || !isEditable())
        return false;
    const QString field = m_columns.at(index.column()).field;
    QVariant stored;
    if (field == kMarkField && role == Qt::CheckStateRole)
        stored = value.toInt() == Qt::Checked;
    else if (field != kMarkField && role == Qt::EditRole)
        stored = value.toString().isEmpty() ? QVariant() : value;
    else
        return false;
    const QVariant key = fieldValue(index.row(), m_keyColumn);
    if (!key.isValid() || key.isNull())
        return false;
    QString error;
    if (!m_db.tryExecute(
            QStringLiteral("update [%1] set [%2]=? where [%3]=?").arg(m_table, field, m_keyColumn),
            {stored, key}, &error)) {
        emit failed(error);
        return false;
    }
    m_edits.insert(editKey(index.row(), index.column()), stored);
    emit dataChanged(index, index);
    return true;
}

void GridModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= m_columns.size() || m_source.select.isEmpty())
        return;
    const QString field = m_columns.at(column).field;
    // Only a column the list really has may name the order.
    if (record().indexOf(field) < 0)
        return;
    m_sortField = field;
    m_sortOrder = order;
    try {
        reload();
    } catch (const DatabaseError& e) {
        emit failed(e.message());
    }
}

} // namespace cangshu
