#pragma once
#include "ReaderLookup.h"

#include <QVariantMap>

namespace cangshu {

// The rule columns of 读者类型 that the type editor fills, besides 类型名称.
const QStringList& readerTypeRuleColumns();

// The values of a new type: 0 in every rule column and "否" in 无限制.
QVariantMap newReaderTypeValues();

// Saves a type from the editor: a new one when `originalName` is empty, else the type of
// that name. An empty name is refused with "请输入读者类型名称！"; a name another type
// already has is refused. A rename carries over to the readers of the type in the same
// transaction, so that they keep their rules. Keys of `values` outside 类型名称 and the rule
// columns are ignored.
Outcome saveReaderType(Database& db, const QString& originalName, const QVariantMap& values);

// Deletes a type, refused while readers still use it (they would lose their limits).
Outcome deleteReaderType(Database& db, const QString& name);

} // namespace cangshu
