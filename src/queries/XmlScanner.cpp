#include "XmlScanner.h"

#include <cstring>
#include <string_view>

namespace cangshu {

namespace {

std::string_view view(QByteArrayView v) {
    return {v.data(), size_t(v.size())};
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

QByteArrayView localName(QByteArrayView qualified) {
    const std::string_view v = view(qualified);
    const size_t colon = v.rfind(':');
    return colon == std::string_view::npos ? qualified : qualified.sliced(qsizetype(colon) + 1);
}

// "#65", "#x41", "lt" ... → the character(s); false when unknown.
bool appendEntity(std::string_view entity, QString* out) {
    if (entity == "lt")
        out->append(u'<');
    else if (entity == "gt")
        out->append(u'>');
    else if (entity == "amp")
        out->append(u'&');
    else if (entity == "quot")
        out->append(u'"');
    else if (entity == "apos")
        out->append(u'\'');
    else if (entity.size() > 1 && entity.front() == '#') {
        const bool hex = entity[1] == 'x' || entity[1] == 'X';
        const std::string_view digits = entity.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 8)
            return false;
        char32_t code = 0;
        for (const char c : digits) {
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (hex && c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return false;
            code = code * (hex ? 16 : 10) + char32_t(d);
        }
        if (code == 0 || code > 0x10FFFF)
            return false;
        out->append(QString::fromUcs4(&code, 1));
    } else {
        return false;
    }
    return true;
}

} // namespace

bool appendXmlText(QByteArrayView text, QString* out) {
    const std::string_view v = view(text);
    size_t from = 0;
    while (from < v.size()) {
        const size_t amp = v.find('&', from);
        const size_t plainEnd = amp == std::string_view::npos ? v.size() : amp;
        if (plainEnd > from) {
            if (out->isEmpty())
                *out = QString::fromUtf8(v.data() + from, qsizetype(plainEnd - from));
            else
                out->append(QString::fromUtf8(v.data() + from, qsizetype(plainEnd - from)));
        }
        if (amp == std::string_view::npos)
            break;
        const size_t semicolon = v.find(';', amp);
        if (semicolon == std::string_view::npos ||
            !appendEntity(v.substr(amp + 1, semicolon - amp - 1), out))
            return false;
        from = semicolon + 1;
    }
    return true;
}

XmlScanner::Token XmlScanner::fail(const QString& why) {
    if (m_error.isEmpty())
        m_error = QStringLiteral("%1 (byte %2)").arg(why).arg(m_pos);
    m_pos = m_data.size();
    m_open.clear();
    return Invalid;
}

bool XmlScanner::skipPast(QByteArrayView terminator) {
    const size_t at = view(m_data).find(view(terminator), size_t(m_pos));
    if (at == std::string_view::npos)
        return false;
    m_pos = qsizetype(at) + terminator.size();
    return true;
}

XmlScanner::Token XmlScanner::next() {
    if (!m_error.isEmpty())
        return Invalid;
    if (m_pendingEnd) {
        m_pendingEnd = false;
        m_open.removeLast();
        return EndElement;
    }
    for (;;) {
        if (m_pos >= m_data.size()) {
            if (!m_open.isEmpty())
                return fail(QStringLiteral("unexpected end of the document"));
            return EndOfDocument;
        }
        if (m_data[m_pos] != '<') {
            const size_t lt = view(m_data).find('<', size_t(m_pos));
            const qsizetype end = lt == std::string_view::npos ? m_data.size() : qsizetype(lt);
            m_text = m_data.sliced(m_pos, end - m_pos);
            m_textIsRaw = false;
            m_pos = end;
            return Text;
        }
        const std::string_view rest = view(m_data).substr(size_t(m_pos));
        if (rest.starts_with("<?")) {
            if (!skipPast("?>"))
                return fail(QStringLiteral("unterminated processing instruction"));
        } else if (rest.starts_with("<!--")) {
            if (!skipPast("-->"))
                return fail(QStringLiteral("unterminated comment"));
        } else if (rest.starts_with("<![CDATA[")) {
            const qsizetype start = m_pos + 9;
            m_pos = start;
            if (!skipPast("]]>"))
                return fail(QStringLiteral("unterminated CDATA section"));
            m_text = m_data.sliced(start, m_pos - 3 - start);
            m_textIsRaw = true;
            return Text;
        } else if (rest.starts_with("<!")) {
            if (!skipPast(">"))
                return fail(QStringLiteral("unterminated declaration"));
        } else {
            return readTag();
        }
    }
}

XmlScanner::Token XmlScanner::readTag() {
    const char* const data = m_data.data();
    const qsizetype size = m_data.size();
    qsizetype p = m_pos + 1;
    const bool closing = p < size && data[p] == '/';
    if (closing)
        ++p;
    const qsizetype nameStart = p;
    while (p < size && !isSpace(data[p]) && data[p] != '>' && data[p] != '/')
        ++p;
    const QByteArrayView qualified = m_data.sliced(nameStart, p - nameStart);
    if (qualified.isEmpty())
        return fail(QStringLiteral("tag without a name"));
    m_name = localName(qualified);
    if (closing) {
        while (p < size && isSpace(data[p]))
            ++p;
        if (p >= size || data[p] != '>')
            return fail(QStringLiteral("unterminated end tag"));
        if (m_open.isEmpty() || m_open.last() != qualified)
            return fail(QStringLiteral("mismatched end tag"));
        m_open.removeLast();
        m_pos = p + 1;
        return EndElement;
    }
    m_attributes.clear();
    for (;;) {
        while (p < size && isSpace(data[p]))
            ++p;
        if (p >= size)
            return fail(QStringLiteral("unterminated start tag"));
        if (data[p] == '>') {
            m_pos = p + 1;
            m_open.append(qualified);
            return StartElement;
        }
        if (data[p] == '/') {
            if (p + 1 >= size || data[p + 1] != '>')
                return fail(QStringLiteral("malformed empty tag"));
            m_pos = p + 2;
            m_open.append(qualified);
            m_pendingEnd = true;
            return StartElement;
        }
        const qsizetype attrStart = p;
        while (p < size && data[p] != '=' && !isSpace(data[p]) && data[p] != '>')
            ++p;
        const QByteArrayView attrName = m_data.sliced(attrStart, p - attrStart);
        while (p < size && isSpace(data[p]))
            ++p;
        if (p >= size || data[p] != '=')
            return fail(QStringLiteral("attribute without a value"));
        ++p;
        while (p < size && isSpace(data[p]))
            ++p;
        if (p >= size || (data[p] != '"' && data[p] != '\''))
            return fail(QStringLiteral("unquoted attribute value"));
        const char quote = data[p++];
        const void* close = std::memchr(data + p, quote, size_t(size - p));
        if (!close)
            return fail(QStringLiteral("unterminated attribute value"));
        const qsizetype valueEnd = static_cast<const char*>(close) - data;
        m_attributes.append({localName(attrName), m_data.sliced(p, valueEnd - p)});
        p = valueEnd + 1;
    }
}

QByteArrayView XmlScanner::rawAttribute(QByteArrayView name) const {
    for (const Attribute& a : m_attributes)
        if (a.name == name)
            return a.value;
    return {};
}

bool XmlScanner::hasAttribute(QByteArrayView name) const {
    for (const Attribute& a : m_attributes)
        if (a.name == name)
            return true;
    return false;
}

QString XmlScanner::attribute(QByteArrayView name) const {
    QString out;
    appendXmlText(rawAttribute(name), &out);
    return out;
}

int XmlScanner::intAttribute(QByteArrayView name) const {
    const QByteArrayView v = rawAttribute(name);
    if (v.isEmpty() || v.size() > 9)
        return 0;
    int n = 0;
    for (const char c : v) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

bool XmlScanner::appendText(QString* out) const {
    if (!m_textIsRaw)
        return appendXmlText(m_text, out);
    out->append(QString::fromUtf8(m_text));
    return true;
}

} // namespace cangshu
