#include "MarcWindows.h"

#include "MarcImportWindow.h"

namespace cangshu {

namespace {

WindowFactory importWindow(MarcImportWindow::Kind kind) {
    return {[kind](ShellContext& c, QWidget* parent) -> QWidget* {
                return c.db() ? new MarcImportWindow(*c.db(), kind, parent) : nullptr;
            },
            {}};
}

} // namespace

void addMarcWindows(WindowFactories& factories) {
    factories.add(QStringLiteral("MarcImport"), importWindow(MarcImportWindow::Kind::Books));
    factories.add(QStringLiteral("MarcImportPeriodicals"),
                  importWindow(MarcImportWindow::Kind::Periodicals));
}

} // namespace cangshu
