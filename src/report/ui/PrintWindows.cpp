#include "PrintWindows.h"

#include "CustomBarcodeWindow.h"
#include "LabelPrintWindow.h"

namespace cangshu::report {

namespace {

WindowFactory labelWindow(LabelPrintSpec (*definition)()) {
    return {[definition](ShellContext& c, QWidget* parent) -> QWidget* {
                return c.db() ? new LabelPrintWindow(*c.db(), c.home(), definition(), parent)
                              : nullptr;
            },
            {}};
}

} // namespace

void addPrintWindows(WindowFactories& factories) {
    factories.add(QStringLiteral("BookLabels"), labelWindow(&LabelPrintSpec::books));
    factories.add(QStringLiteral("PeriodicalLabels"), labelWindow(&LabelPrintSpec::periodicals));
    factories.add(QStringLiteral("ReaderCards"), labelWindow(&LabelPrintSpec::readers));
    factories.add(QStringLiteral("CustomBarcodes"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       return c.db() ? new CustomBarcodeWindow(*c.db(), c.home(), parent) : nullptr;
                   },
                   {}});
}

} // namespace cangshu::report
