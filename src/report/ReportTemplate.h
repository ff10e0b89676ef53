#pragma once
#include <QColor>
#include <QJsonObject>
#include <QList>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

namespace cangshu::report {

// Every length of a template is in millimetres; positions of items are relative to the
// top-left corner of their label (label layout) or band (list layout).

enum class ItemKind { Text, Barcode, Picture, Line, Box };

enum class Symbology { Code128, Code39, Ean13 };

struct ReportItem {
    ItemKind kind = ItemKind::Text;
    QString name; // lets the caller address the item ("Memo16", "Picture1")
    QRectF rect;  // a line runs from the top-left to the bottom-right corner of it
    QString text; // text, or barcode value, with [column] placeholders

    // Text and barcode human-readable text.
    QString fontFamily;
    double fontSize = 9; // points
    bool bold = false;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    bool wordWrap = false;
    bool shrinkToFit = false; // smaller font until the text fits the rectangle

    // Barcode.
    Symbology symbology = Symbology::Code128;
    bool showText = true;

    // Picture: JPEG (or any image) bytes of this column, unless the caller fills the
    // picture by the item's name.
    QString column;
    bool keepAspect = true;

    // Lines, boxes and frames.
    double lineWidth = 0.2;
    bool frame = false; // a box drawn around a text or picture
    QColor color = Qt::black;
    QColor fill; // invalid = no fill
};

struct PageSetup {
    QSizeF size{210, 297}; // portrait width and height
    bool landscape = false;
    QMarginsF margins{10, 10, 10, 10};

    QSizeF orientedSize() const { return landscape ? size.transposed() : size; }
    QRectF contentRect() const;
};

// Labels placed in a grid, filled row by row; one data row per label.
struct LabelGrid {
    int columns = 1;
    int rows = 1;
    QSizeF labelSize{50, 30};
    QSizeF gap{0, 0};     // horizontal and vertical distance between labels
    bool outline = false; // thin cutting outline around each label

    int perPage() const { return columns * rows; }
};

struct Band {
    double height = 0;
    QList<ReportItem> items;
};

// A list: header at the top of each page, one detail band per data row, footer after the
// last row.
struct ListBands {
    Band header;
    Band detail;
    Band footer;
};

struct ReportTemplate {
    QString name;
    QString title;
    PageSetup page;
    std::optional<LabelGrid> labels; // label layout when set, list layout otherwise
    QList<ReportItem> labelItems;    // contents of one label
    ListBands list;

    bool isLabels() const { return labels.has_value(); }
};

// The kind names and symbology names as the template files write them.
QString kindName(ItemKind kind);
std::optional<ItemKind> kindFromName(const QString& name);
QString symbologyName(Symbology s);
std::optional<Symbology> symbologyFromName(const QString& name);

// Conversion between a template and its JSON form. Parsing returns the first problem found
// as a message naming the item at fault.
QJsonObject toJson(const ReportTemplate& tpl);
std::optional<ReportTemplate> fromJson(const QJsonObject& json, QString* error);

// The default font family of templates: a CJK font that is installed with the system.
QString defaultFontFamily();

} // namespace cangshu::report
