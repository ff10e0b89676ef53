#pragma once

namespace cangshu {

// The MARC format a record follows, told by its directory (200 = CNMARC, 245 = USMARC).
enum class MarcType { Unknown, CnMarc, UsMarc };

// What the lengths and positions of a record count: GBK bytes, or characters.
enum class MarcCode { Unknown, Bytes, Characters };

} // namespace cangshu
