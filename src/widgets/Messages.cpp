#include "Messages.h"

#include <QMessageBox>

namespace cangshu {

namespace {
int run(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return box.exec();
}
} // namespace

void showNotice(QWidget* parent, const QString& text) {
    run(parent, QMessageBox::Warning, QStringLiteral("提示"), text, QMessageBox::Ok,
        QMessageBox::Ok);
}

void showSuccess(QWidget* parent, const QString& text) {
    run(parent, QMessageBox::Information, QStringLiteral("提示"), text, QMessageBox::Ok,
        QMessageBox::Ok);
}

void showError(QWidget* parent, const QString& text) {
    run(parent, QMessageBox::Critical, QStringLiteral("错误"), text, QMessageBox::Ok,
        QMessageBox::Ok);
}

bool askYesNo(QWidget* parent, const QString& text, const QString& title) {
    return run(parent, QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No,
               QMessageBox::No) == QMessageBox::Yes;
}

bool askInformation(QWidget* parent, const QString& text) {
    return run(parent, QMessageBox::Information, QStringLiteral("提示确认"), text,
               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
}

} // namespace cangshu
