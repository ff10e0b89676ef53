#pragma once
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace cangshu {

// A forward-only scanner over UTF-8 XML for the big parts of a workbook (the worksheet and
// its shared strings), where a general reader spends most of its time building strings that
// are thrown away. It reports start and end tags (a self-closing tag gives both) and text;
// names come without their namespace prefix. Comments, processing instructions and the
// document type are skipped; mismatched or unterminated markup and unknown entities stop it
// with an error.
class XmlScanner {
public:
    enum Token { StartElement, EndElement, Text, EndOfDocument, Invalid };

    explicit XmlScanner(QByteArrayView data) : m_data(data) {}

    Token next();

    // The element's local name, for StartElement and EndElement.
    QByteArrayView name() const { return m_name; }
    // Whether the element has this attribute; its value with entities resolved.
    bool hasAttribute(QByteArrayView name) const;
    QString attribute(QByteArrayView name) const;
    // A whole number attribute, 0 when absent or not a number.
    int intAttribute(QByteArrayView name) const;

    // Appends the current Text token, with entities resolved, to out; false on an unknown
    // entity.
    bool appendText(QString* out) const;

    QString errorString() const { return m_error; }

private:
    struct Attribute {
        QByteArrayView name;
        QByteArrayView value;
    };

    Token fail(const QString& why);
    Token readTag();
    bool skipPast(QByteArrayView terminator);
    QByteArrayView rawAttribute(QByteArrayView name) const;

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    QByteArrayView m_name;
    QByteArrayView m_text;
    bool m_textIsRaw = false;
    bool m_pendingEnd = false;
    QList<Attribute> m_attributes;
    QList<QByteArrayView> m_open;
    QString m_error;
};

// Appends XML character data with its entities resolved; false on an unknown entity.
bool appendXmlText(QByteArrayView text, QString* out);

} // namespace cangshu
