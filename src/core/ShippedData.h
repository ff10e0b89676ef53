#pragma once
#include <QString>

namespace cangshu {

// The folder holding what the system ships for a new home (report templates, skins,
// pictures): $CANGSHU_DATA_DIR, else <executable>/../share/cangshu, else the source tree.
QString shippedDataDir();

} // namespace cangshu
