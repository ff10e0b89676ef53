#pragma once
#include <QDate>
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <optional>

namespace cangshu::report {

// What a template is printed over: the rows (one per label or list line) and the values
// the caller hands to named items.
struct ReportData {
    QList<QVariantMap> rows;

    // [name] placeholders that are not columns of the row.
    QHash<QString, QString> variables;
    // Text items by item name: the caller's text replaces the item's own ("Memo16").
    QHash<QString, QString> texts;
    // Picture items by item name, the same for every row ("Chart1").
    QHash<QString, QImage> pictures;
    // Asked for each picture item of each row; a returned image (a null one empties the
    // picture) takes precedence over the item's column and the named pictures.
    std::function<std::optional<QImage>(const QVariantMap& row, const QString& itemName)>
        rowPicture;

    // The date of [#date]; today when not set.
    QDate printDate;
};

// A column of the row by name; the name is matched exactly first, then without regard to
// case (PostgreSQL hands back ASCII column names in lower case).
QVariant columnValue(const QVariantMap& row, const QString& column);
bool hasColumn(const QVariantMap& row, const QString& column);

// A value as printed: dates as yyyy-MM-dd, whole numbers without decimals, null as empty.
QString printable(const QVariant& value);

// Replaces every [name] by the row's column of that name, else by the variable of that
// name. A name that is neither stays as typed, brackets included, so a misspelt column
// shows on the proof instead of vanishing; a null value prints as empty text.
QString expandPlaceholders(const QString& text, const QVariantMap& row,
                           const QHash<QString, QString>& variables);

// The hook that fills "Picture1" with the reader's photo: the JPEG bytes of the row's
// Image column, or an empty picture when the reader has none.
std::function<std::optional<QImage>(const QVariantMap&, const QString&)> readerPhotoHook();

} // namespace cangshu::report
