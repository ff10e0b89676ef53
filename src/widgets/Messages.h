#pragma once
#include <QString>

class QWidget;

namespace cangshu {

// The system's message boxes: notices titled "提示" with a warning icon, success notices
// with an information icon, Yes/No questions titled "确认" or "提示确认".
void showNotice(QWidget* parent, const QString& text);
void showSuccess(QWidget* parent, const QString& text);
void showError(QWidget* parent, const QString& text);
// Yes/No with a warning (exclamation) icon; true on Yes.
bool askYesNo(QWidget* parent, const QString& text, const QString& title = QStringLiteral("确认"));
// Yes/No with an information icon, title "提示确认".
bool askInformation(QWidget* parent, const QString& text);

} // namespace cangshu
