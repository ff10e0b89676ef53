#pragma once
#include "shell/ui/WindowFactories.h"

#include <functional>

namespace cangshu {

struct CardDevices;
class CameraWindow;

// Connects the reader windows to the main window's commands: reader management, new reader
// (F9), reader types, loss report, cancellation, refund and the camera.
void addReaderWindows(WindowFactories& factories);

// The card devices of this workstation, made from the configuration the first time.
CardDevices& workstationCardDevices(const Home& home);

// How the reader window shows a reader's book loans (open or returned); the loan query windows
// register it, since they are built on top of the reader windows.
using ReaderLoansViewer = std::function<void(
    Database& db, const Home& home, const QString& readerNumber, bool returned, QWidget* parent)>;
void setReaderLoansViewer(ReaderLoansViewer viewer);
const ReaderLoansViewer& readerLoansViewer();

// The one camera window that the editors and the main window share.
CameraWindow* sharedCameraWindow(const Home& home, QWidget* parent);

} // namespace cangshu
