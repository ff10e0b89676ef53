#pragma once
#include <QByteArray>
#include <QString>

namespace cangshu {

// GBK (a superset of GB2312) conversions through iconv. Characters that GBK cannot hold
// are dropped; undecodable bytes become U+FFFD.
QByteArray toGbk(const QString& text);
QString fromGbk(const QByteArray& bytes);

} // namespace cangshu
