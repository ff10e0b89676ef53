#include "MarcImport.h"

#include "catalogue/CatalogueLookups.h"
#include "core/Database.h"
#include "core/Numbering.h"
#include "core/Schema.h"
#include "core/TextRoutines.h"

#include <optional>

namespace cangshu {

namespace {

// What one target needs to know about its table.
struct TargetShape {
    QString table;
    QString numberColumn; // empty: the target gets no numbers
    NumberKind numberKind = NumberKind::Book;
    QString priceColumn;
    QString titleColumn;
    QStringList copyColumns; // set to 1 for a new row
    bool stockDefaults = false;
    bool callNumbers = false;
    QString missingNumberMessage;
};

TargetShape shapeOf(MarcImportTarget target) {
    switch (target) {
    case MarcImportTarget::Books:
        return {QStringLiteral("书籍资料"),
                QStringLiteral("书籍编号"),
                NumberKind::Book,
                QStringLiteral("书籍价格"),
                QStringLiteral("书籍名称"),
                {QStringLiteral("藏书总量"), QStringLiteral("馆内剩余")},
                true,
                true,
                QStringLiteral("系统没有检测到【书籍编号】字段，请选择 书籍自动编号！")};
    case MarcImportTarget::PreCatalogue:
        return {QStringLiteral("书籍预编"),
                QString(),
                NumberKind::Book,
                QStringLiteral("书籍价格"),
                QStringLiteral("书籍名称"),
                {},
                false,
                false,
                QString()};
    case MarcImportTarget::Periodicals:
        break;
    }
    return {QStringLiteral("期刊资料"),
            QStringLiteral("期刊编号"),
            NumberKind::Periodical,
            QStringLiteral("期刊价格"),
            QStringLiteral("期刊名称"),
            {QStringLiteral("馆藏总量"), QStringLiteral("馆内剩余")},
            true,
            false,
            QStringLiteral("系统没有检测到【期刊编号】字段，请选择 期刊自动编号！")};
}

QString mappingTable(MarcImportTarget target) {
    return target == MarcImportTarget::Periodicals ? QStringLiteral("marcqk")
                                                   : QStringLiteral("marc");
}

// The catalogue table whose columns a mapping may name.
QString catalogueTable(MarcImportTarget target) {
    return target == MarcImportTarget::Periodicals ? QStringLiteral("期刊资料")
                                                   : QStringLiteral("书籍资料");
}

bool containsColumn(const QStringList& columns, const QString& column) {
    return columns.contains(column, Qt::CaseInsensitive);
}

const ColumnDef* columnDef(const QString& table, const QString& column) {
    const TableDef* def = schemaTable(table);
    if (!def)
        return nullptr;
    for (const auto& c : def->columns) {
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

// A record that cannot be stored, with the reason shown to the operator.
struct RecordRefused {
    QString reason;
};

// A mapped text as the column's type wants it; refuses text that is no value of that type.
QVariant columnValue(const QString& table, const QString& column, const QString& text) {
    const ColumnDef* def = columnDef(table, column);
    const ColumnType type = def ? def->type : ColumnType::Text;
    const QString trimmed = text.trimmed();
    bool ok = true;
    QVariant value;
    switch (type) {
    case ColumnType::Integer:
        value = trimmed.isEmpty() ? QVariant() : QVariant(trimmed.toLongLong(&ok));
        break;
    case ColumnType::Money:
    case ColumnType::Number:
        value = trimmed.isEmpty() ? QVariant() : QVariant(trimmed.toDouble(&ok));
        break;
    case ColumnType::Date:
    case ColumnType::DateTime: {
        const QDate date = QDate::fromString(trimmed, Qt::ISODate);
        ok = trimmed.isEmpty() || date.isValid();
        value = trimmed.isEmpty() ? QVariant() : QVariant(date);
        break;
    }
    default:
        return text;
    }
    if (!ok)
        throw RecordRefused{QStringLiteral("【%1】的值“%2”无法导入").arg(column, text)};
    return value;
}

int indexOfColumn(const QList<MarcMapping>& mappings, const QString& column) {
    for (qsizetype i = 0; i < mappings.size(); ++i) {
        if (mappings[i].column.compare(column, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

} // namespace

MarcMappingLoad loadMarcMappings(Database& db, MarcImportTarget target) {
    const QString table = mappingTable(target);
    const QString catalogue = catalogueTable(target);
    const QString caption = target == MarcImportTarget::Periodicals ? QStringLiteral("期刊字段")
                                                                    : QStringLiteral("图书字段");
    const QStringList columns = db.columns(catalogue);
    MarcMappingLoad load;
    QStringList refused;
    const auto rows = db.rows(QStringLiteral("select * from [%1] order by [序号]").arg(table));
    Transaction tx(db);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        MarcMapping m;
        m.tag = row.value(QStringLiteral("marc字段")).toString().trimmed();
        m.code = row.value(QStringLiteral("标识")).toString().trimmed();
        m.caption = row.value(caption).toString();
        m.width = row.value(QStringLiteral("列宽")).toInt();
        m.column = row.value(QStringLiteral("导入数据库字段")).toString().trimmed();
        if (!m.column.isEmpty()) {
            const ColumnDef* def = columnDef(catalogue, m.column);
            const bool storable = def && def->type != ColumnType::Key &&
                                  def->type != ColumnType::Image && def->type != ColumnType::YesNo;
            if (!containsColumn(columns, m.column) || !storable)
                refused << m.column;
        }
        if (row.value(QStringLiteral("导入标识")).toInt() != i ||
            row.value(QStringLiteral("导入标识")).isNull())
            db.execute(QStringLiteral("update [%1] set [导入标识]=? where [ID]=?").arg(table),
                       {int(i), row.value(QStringLiteral("ID"))});
        load.mappings.append(m);
    }
    tx.commit();
    if (!refused.isEmpty()) {
        load.error =
            QStringLiteral("Marc对照表【%1】中的导入数据库字段【%2】在【%3】中不存在或不能导入！")
                .arg(table, refused.join(QStringLiteral("、")), catalogue);
    }
    return load;
}

QString marcMappingValue(const MarcRecord& record, const MarcMapping& mapping) {
    QString collected;
    bool any = false;
    auto add = [&](QStringView value) {
        if (!any) {
            collected = value.toString();
            any = true;
        } else if (value != collected) {
            collected += u',';
            collected += value;
        }
    };
    const bool leading = mapping.code == QStringLiteral("@");
    const QChar code = mapping.code.isEmpty() ? QChar() : mapping.code[0];
    for (const auto& field : record.fields()) {
        if (field.tag != mapping.tag)
            continue;
        if (leading) {
            add(field.leadingText);
            continue;
        }
        for (const auto& subfield : field.subfields) {
            if (subfield.code == code)
                add(subfield.value());
        }
    }
    return collected;
}

MarcPreview previewMarcRecords(const QList<QByteArray>& records, const QList<MarcMapping>& mappings,
                               ProgressSink* progress) {
    MarcPreview preview;
    if (progress)
        progress->setRange(int(records.size()));
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (progress) {
            progress->setLabel(QStringLiteral("系统正在进行数据分析预览... %1").arg(i + 1));
            progress->setValue(int(i + 1));
        }
        const MarcRecord record = MarcRecord::fromBytes(records[i]);
        if (!record.hasFields()) {
            preview.skipped.append({int(i), record.problemText()});
            continue;
        }
        MarcPreviewRow row;
        row.record = int(i);
        for (const auto& m : mappings)
            row.values << marcMappingValue(record, m);
        preview.rows.append(std::move(row));
    }
    return preview;
}

QString marcPriceDigits(const QString& text) {
    QString digits;
    for (const QChar c : text) {
        if (c == u',' || c == u';')
            break;
        if ((c >= u'0' && c <= u'9') || c == u'.')
            digits += c;
    }
    return digits;
}

MarcImportOutcome importMarcPreview(Database& db, const MarcPreview& preview,
                                    const QList<MarcMapping>& mappings,
                                    const MarcImportOptions& options, ProgressSink* progress) {
    MarcImportOutcome outcome;
    if (preview.rows.isEmpty()) {
        outcome.refused = true;
        outcome.message = QStringLiteral("请先预览Marc数据！");
        return outcome;
    }
    const TargetShape shape = shapeOf(options.target);
    const bool numbered = !shape.numberColumn.isEmpty();
    const bool autoNumber = numbered && options.autoNumber;
    const int numberAt = numbered ? indexOfColumn(mappings, shape.numberColumn) : -1;
    if (numbered && !autoNumber && numberAt < 0) {
        outcome.refused = true;
        outcome.message = shape.missingNumberMessage;
        return outcome;
    }
    const int priceAt = indexOfColumn(mappings, shape.priceColumn);
    const int classAt = indexOfColumn(mappings, QStringLiteral("中图分类"));
    const int sequenceAt = indexOfColumn(mappings, QStringLiteral("种次号"));
    const QStringList targetColumns = db.columns(shape.table);
    const bool pinyinMapped = indexOfColumn(mappings, QStringLiteral("拼音")) >= 0;
    const Numbering numbering(db);
    // Numbers are issued as the counter stands plus the advances made so far, sparing a read
    // of 系统信息 per record.
    NumberShape nextNumber = autoNumber ? numbering.shape(shape.numberKind) : NumberShape{};
    std::optional<SequenceNumbers> sequences;
    if (shape.callNumbers && options.autoCallNumber && classAt >= 0)
        sequences.emplace(db, storedKindCondition(db));

    if (progress)
        progress->setRange(int(preview.rows.size()));
    int done = 0;
    Transaction tx(db);
    for (const MarcPreviewRow& row : preview.rows) {
        if (progress) {
            ++done;
            progress->setLabel(QStringLiteral("系统正在将Marc数据导入数据库... %1").arg(done));
            progress->setValue(done);
        }
        auto value = [&row](int at) { return at >= 0 ? row.values.value(at) : QString(); };
        QString currentNumber;
        db.execute(QStringLiteral("savepoint marc_record"));
        try {
            // The copies: one with the next number, or one per number of the record's list
            // (created from the last to the first).
            QStringList copies;
            if (!numbered) {
                copies << QString();
            } else if (autoNumber) {
                copies << Numbering::format(nextNumber);
            } else {
                const QStringList pieces = splitAt(value(numberAt), u',');
                for (auto it = pieces.crbegin(); it != pieces.crend(); ++it) {
                    if (!it->trimmed().isEmpty())
                        copies << it->trimmed();
                }
                if (copies.isEmpty())
                    throw RecordRefused{QStringLiteral("没有【%1】").arg(shape.numberColumn)};
            }

            // Column values shared by the copies; a later mapping of the same column only
            // replaces an earlier one when it has a value.
            QStringList columns;
            QVariantList values;
            auto set = [&](const QString& column, const QVariant& v) {
                qsizetype at = -1;
                for (qsizetype i = 0; i < columns.size() && at < 0; ++i) {
                    if (columns[i].compare(column, Qt::CaseInsensitive) == 0)
                        at = i;
                }
                if (at < 0) {
                    columns << column;
                    values << v;
                } else if (!v.isNull() && !v.toString().isEmpty()) {
                    values[at] = v;
                }
            };
            for (qsizetype i = 0; i < mappings.size(); ++i) {
                const QString& column = mappings[i].column;
                if (column.isEmpty() || !containsColumn(targetColumns, column) ||
                    column.compare(shape.priceColumn, Qt::CaseInsensitive) == 0 ||
                    column.compare(QStringLiteral("书籍编号"), Qt::CaseInsensitive) == 0 ||
                    column.compare(QStringLiteral("期刊编号"), Qt::CaseInsensitive) == 0)
                    continue;
                set(column, columnValue(shape.table, column, value(int(i))));
            }
            if (containsColumn(targetColumns, shape.priceColumn)) {
                double price = 0;
                if (options.importPrice && priceAt >= 0) {
                    bool ok = false;
                    price = marcPriceDigits(value(priceAt)).toDouble(&ok);
                    if (!ok)
                        price = 0;
                }
                set(shape.priceColumn, price);
            }
            const int titleAt = indexOfColumn(mappings, shape.titleColumn);
            if (!pinyinMapped && titleAt >= 0 &&
                containsColumn(targetColumns, QStringLiteral("拼音")))
                set(QStringLiteral("拼音"), pinyinInitials(value(titleAt)));
            if (shape.stockDefaults) {
                set(QStringLiteral("入库时间"), db.today());
                set(QStringLiteral("在馆状态"), QStringLiteral("在馆"));
                for (const auto& c : shape.copyColumns)
                    set(c, 1);
            }
            // The call number: all copies of one record are one title and share it. A record
            // without a class gets none.
            const QString cls = value(classAt);
            if (shape.callNumbers && classAt >= 0 && !cls.trimmed().isEmpty()) {
                if (sequences) {
                    const QString sequence = sequences->next(cls);
                    set(QStringLiteral("种次号"), sequence);
                    set(QStringLiteral("索书号"), callNumber(cls, sequence));
                } else if (sequenceAt >= 0 && !value(sequenceAt).trimmed().isEmpty()) {
                    set(QStringLiteral("索书号"), callNumber(cls, value(sequenceAt)));
                }
            }

            if (numbered) {
                columns.prepend(shape.numberColumn);
                values.prepend(QVariant());
            }
            QStringList marks;
            QStringList bracketed;
            for (const auto& c : columns) {
                bracketed << u'[' + c + u']';
                marks << QStringLiteral("?");
            }
            const QString sql = QStringLiteral("insert into [%1] (%2) values (%3)")
                                    .arg(shape.table, bracketed.join(u','), marks.join(u','));
            QVariant lastId;
            for (const QString& number : copies) {
                currentNumber = number;
                if (numbered)
                    values[0] = number;
                lastId = db.insert(sql, values, QStringLiteral("ID"));
            }
            db.execute(QStringLiteral("release savepoint marc_record"));
            if (sequences && !cls.trimmed().isEmpty())
                sequences->stored(cls, lastId, columns, values);
            ++outcome.recordsImported;
            outcome.rowsWritten += int(copies.size());
        } catch (const RecordRefused& refusal) {
            db.execute(QStringLiteral("rollback to savepoint marc_record"));
            db.execute(QStringLiteral("release savepoint marc_record"));
            outcome.failures.append({row.record, currentNumber, refusal.reason});
        } catch (const DatabaseError& error) {
            db.execute(QStringLiteral("rollback to savepoint marc_record"));
            db.execute(QStringLiteral("release savepoint marc_record"));
            outcome.failures.append({row.record, currentNumber, error.message()});
        }
        // A number once issued is used up, whether or not its record could be stored.
        if (autoNumber) {
            numbering.advance(shape.numberKind);
            ++nextNumber.counter;
        }
    }
    tx.commit();

    if (outcome.failures.isEmpty())
        outcome.message = QStringLiteral("导入数据成功！");
    else
        outcome.message = QStringLiteral("导入数据完成：成功导入%1条记录，%2条记录导入失败！")
                              .arg(outcome.recordsImported)
                              .arg(outcome.failures.size());
    return outcome;
}

} // namespace cangshu
