#pragma once
#include "shell/ui/WindowFactories.h"

namespace cangshu {

struct CardDevices;
class CameraWindow;

// Connects the reader windows to the main window's commands: reader management, new reader
// (F9), reader types, loss report, cancellation, refund and the camera.
void addReaderWindows(WindowFactories& factories);

// The card devices of this workstation, made from the configuration the first time.
CardDevices& workstationCardDevices(const Home& home);

// The one camera window that the editors and the main window share.
CameraWindow* sharedCameraWindow(const Home& home, QWidget* parent);

} // namespace cangshu
