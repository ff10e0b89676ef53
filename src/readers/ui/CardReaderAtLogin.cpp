#include "CardReaderAtLogin.h"

#include "core/Config.h"
#include "core/Home.h"
#include "readers/CardDevices.h"
#include "widgets/Messages.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace cangshu {

namespace {

class CardReaderOpener : public QObject {
public:
    CardReaderOpener(QWidget* login, Home home, IcCardDevice* device)
        : QObject(login), m_login(login), m_home(std::move(home)), m_device(device) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_login && event->type() == QEvent::Show && !event->spontaneous())
            open();
        return false;
    }

private:
    void open() {
        Config config = Config::defaults();
        Config::load(m_home.iniFile(), &config);
        const Outcome o = openIcCardAtLogin(m_device, config.openCardAtLogin, config.comPort);
        if (o.ok)
            return;
        // After the login window is on screen, so that the box stands over it.
        QTimer::singleShot(0, m_login, [login = QPointer<QWidget>(m_login), text = o.message] {
            if (login)
                showError(login, text);
        });
    }

    QWidget* m_login;
    Home m_home;
    IcCardDevice* m_device;
};

} // namespace

void openCardReaderWithLogin(QWidget* login, const Home& home, IcCardDevice* device) {
    login->installEventFilter(new CardReaderOpener(login, home, device));
}

} // namespace cangshu
