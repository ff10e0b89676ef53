#include "CameraWindow.h"

#include "widgets/Messages.h"

#include <QCamera>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QImageCapture>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoWidget>

namespace cangshu {

namespace {
const char16_t* const saveCaptions[] = {u"保存读者图像", u"保存书籍图像", u"保存期刊图像",
                                        u"保存图像"};
const char16_t* const numberMissing[] = {u"请先输入读者编号！", u"请先输入书籍编号！",
                                         u"请先输入期刊编号！", u""};
} // namespace

CameraWindow::CameraWindow(const Home& home, QWidget* parent)
    : QDialog(parent), m_home(home), m_preview(new QVideoWidget(this)),
      m_session(new QMediaCaptureSession(this)) {
    setWindowTitle(QStringLiteral("照相机"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint |
                   Qt::WindowTitleHint);
    m_preview->setMinimumSize(200, 270);
    m_session->setVideoOutput(m_preview);

    auto* buttons = new QVBoxLayout;
    auto* start = new QPushButton(QStringLiteral("启动视频"), this);
    auto* stop = new QPushButton(QStringLiteral("停止视频"), this);
    buttons->addWidget(start);
    buttons->addWidget(stop);
    for (int i = 0; i < 4; ++i) {
        m_save[i] = new QPushButton(QString::fromUtf16(saveCaptions[i]), this);
        m_save[i]->setObjectName(m_save[i]->text());
        buttons->addWidget(m_save[i]);
        connect(m_save[i], &QPushButton::clicked, this, &CameraWindow::save);
    }
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_preview, 1);
    layout->addLayout(buttons);
    connect(start, &QPushButton::clicked, this, &CameraWindow::startVideo);
    connect(stop, &QPushButton::clicked, this, &CameraWindow::stopVideo);
    setCaller({});
}

CameraWindow::~CameraWindow() {
    stopVideo();
}

void CameraWindow::setCaller(Caller caller) {
    m_caller = std::move(caller);
    m_pendingNumber.clear();
    for (int i = 0; i < 4; ++i)
        m_save[i]->setVisible(i == int(m_caller.use));
}

QPushButton* CameraWindow::saveButton(CameraUse use) const {
    return m_save[int(use)];
}

bool CameraWindow::isLive() const {
    return m_camera && m_camera->isActive();
}

bool CameraWindow::startVideo() {
    if (m_camera)
        return true;
    if (QMediaDevices::videoInputs().isEmpty()) {
        showNotice(this, QStringLiteral("没有找到摄像头，不能启动视频！"));
        return false;
    }
    m_camera = new QCamera(QMediaDevices::defaultVideoInput(), this);
    m_capture = new QImageCapture(this);
    m_session->setCamera(m_camera);
    m_session->setImageCapture(m_capture);
    connect(m_capture, &QImageCapture::imageCaptured, this,
            [this](int, const QImage& frame) { storeFrame(frame); });
    connect(m_capture, &QImageCapture::errorOccurred, this,
            [this](int, QImageCapture::Error, const QString& text) {
                m_pendingNumber.clear();
                showNotice(this, text);
            });
    connect(m_camera, &QCamera::errorOccurred, this,
            [this](QCamera::Error, const QString& text) { showNotice(this, text); });
    m_camera->start();
    return true;
}

void CameraWindow::stopVideo() {
    m_pendingNumber.clear();
    if (!m_camera)
        return;
    m_camera->stop();
    m_session->setCamera(nullptr);
    m_session->setImageCapture(nullptr);
    m_camera->deleteLater();
    m_capture->deleteLater();
    m_camera = nullptr;
    m_capture = nullptr;
}

QString CameraWindow::numberOrAsk() {
    if (m_caller.use == CameraUse::Plain)
        return QStringLiteral("camera");
    const QString number = m_caller.number ? m_caller.number().trimmed() : QString();
    if (number.isEmpty()) {
        showSuccess(this, QString::fromUtf16(numberMissing[int(m_caller.use)]));
        if (m_caller.focusNumber)
            m_caller.focusNumber();
    }
    return number;
}

void CameraWindow::save() {
    const QString number = numberOrAsk();
    if (number.isEmpty())
        return;
    if (!isLive() || !m_capture->isReadyForCapture()) {
        showNotice(this, QStringLiteral("视频没有启动，请先启动视频！"));
        return;
    }
    m_pendingNumber = number;
    m_capture->capture();
}

void CameraWindow::storeFrame(const QImage& frame) {
    if (m_pendingNumber.isEmpty())
        return; // no save is waiting: a frame is never stored unasked
    const QString number = std::exchange(m_pendingNumber, QString());
    const QString folder =
        m_caller.use == CameraUse::Plain ? m_home.photoFolder() : m_home.coverFolder();
    const SavedFrame saved = saveCapturedFrame(frame, folder, number);
    if (!saved.outcome.ok) {
        showNotice(this, saved.outcome.message);
        return;
    }
    if (m_caller.use == CameraUse::Plain) {
        QDesktopServices::openUrl(
            QUrl::fromLocalFile(folder + QStringLiteral("/") + number + QStringLiteral(".bmp")));
        return;
    }
    if (m_caller.saved)
        m_caller.saved(saved);
}

} // namespace cangshu
