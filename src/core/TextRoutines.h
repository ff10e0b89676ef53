#pragma once
#include <QString>
#include <QStringList>

namespace cangshu {

// A hyphenated ISBN-10 (13 characters) or ISBN-13 (17 characters) as 13 digits without
// hyphens; any other text comes back unchanged.
QString normalizeIsbn(const QString& text);

// Upper-case pinyin initials of a text by the GB2312 zone table: level-1 characters give
// their initial, other double-byte characters vanish, single bytes are kept.
QString pinyinInitials(const QString& text);

// Splits at every occurrence of a one-character separator; the text after the last
// separator is the last piece (so "a,b," gives "a", "b", "").
QStringList splitAt(const QString& text, QChar separator);

} // namespace cangshu
