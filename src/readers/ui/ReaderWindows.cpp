#include "ReaderWindows.h"

#include "CameraWindow.h"
#include "ReaderStatusWindow.h"
#include "ReaderTypesWindow.h"
#include "ReaderWindow.h"

#include <QPointer>

namespace cangshu {

namespace {

ReadersUiContext readersContext(ShellContext& c, QWidget* parent) {
    ReadersUiContext r;
    r.db = c.db();
    r.home = c.home();
    ShellContext* shell = &c;
    r.cardYears = [shell] { return shell->session.cardYears; };
    r.cards = &workstationCardDevices(c.home());
    const Home home = c.home();
    QPointer<QWidget> owner = parent;
    r.camera = [home, owner] { return sharedCameraWindow(home, owner); };
    r.viewMode = c.config().pass;
    if (const ReaderLoansViewer& viewer = readerLoansViewer()) {
        Database* db = c.db();
        r.showBookLoans = [viewer, db, home](const QString& number, bool returned, QWidget* owner) {
            viewer(*db, home, number, returned, owner);
        };
    }
    return r;
}

WindowFactory statusWindow(StatusWindowKind kind) {
    return {[kind](ShellContext& c, QWidget* parent) -> QWidget* {
                return c.db() ? new ReaderStatusWindow(*c.db(), kind, parent) : nullptr;
            },
            {}};
}

} // namespace

namespace {
ReaderLoansViewer& registeredLoansViewer() {
    static ReaderLoansViewer viewer;
    return viewer;
}
} // namespace

void setReaderLoansViewer(ReaderLoansViewer viewer) {
    registeredLoansViewer() = std::move(viewer);
}

const ReaderLoansViewer& readerLoansViewer() {
    return registeredLoansViewer();
}

CardDevices& workstationCardDevices(const Home& home) {
    static CardDevices devices = cardDevicesFromConfig(home);
    return devices;
}

CameraWindow* sharedCameraWindow(const Home& home, QWidget* parent) {
    static QPointer<CameraWindow> camera;
    if (!camera)
        camera = new CameraWindow(home, parent);
    return camera;
}

void addReaderWindows(WindowFactories& factories) {
    factories.add(QStringLiteral("Readers"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       return c.db() ? new ReaderWindow(readersContext(c, parent), parent)
                                     : nullptr;
                   },
                   {}});
    factories.add(QStringLiteral("ReaderEditor"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       return c.db() ? newReaderEditor(readersContext(c, parent), parent) : nullptr;
                   },
                   [](ShellContext&, QWidget* window, const Command&) {
                       static_cast<ReaderEditor*>(window)->startNew();
                   }});
    factories.add(QStringLiteral("ReaderTypes"),
                  {[](ShellContext& c, QWidget* parent) -> QWidget* {
                       return c.db() ? new ReaderTypesWindow(*c.db(), parent) : nullptr;
                   },
                   [](ShellContext&, QWidget* window, const Command&) {
                       static_cast<ReaderTypesWindow*>(window)->setChooser(false);
                   }});
    factories.add(QStringLiteral("ReaderLoss"), statusWindow(StatusWindowKind::Loss));
    factories.add(QStringLiteral("ReaderCancel"), statusWindow(StatusWindowKind::Cancel));
    factories.add(QStringLiteral("ReaderRefund"), statusWindow(StatusWindowKind::Refund));
    factories.add(
        QStringLiteral("Camera"),
        {[](ShellContext& c, QWidget* parent) -> QWidget* {
             return sharedCameraWindow(c.home(), parent);
         },
         [](ShellContext&, QWidget* window, const Command&) {
             static_cast<CameraWindow*>(window)->setCaller({CameraUse::Plain, {}, {}, {}});
         }});
}

} // namespace cangshu
