#pragma once

class QWidget;

namespace cangshu {

class Home;
class IcCardDevice;

// Opens the IC-card reader each time the login window is shown, when the configuration asks
// for it (read afresh, so that a change of the setting counts at the next login). A failure
// is shown over the login window and the login goes on.
void openCardReaderWithLogin(QWidget* login, const Home& home, IcCardDevice* device);

} // namespace cangshu
