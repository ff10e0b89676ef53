#pragma once
#include "core/Home.h"
#include "readers/Photos.h"

#include <QDialog>
#include <functional>

class QCamera;
class QImageCapture;
class QMediaCaptureSession;
class QPushButton;
class QVideoWidget;

namespace cangshu {

// Which save button the camera offers: each editor stores the frame in its own row.
enum class CameraUse { Reader, Book, Periodical, Plain };

// "照相机": the live picture of the workstation's camera; a save takes the current frame and
// hands it, saved as "<number>.bmp" and "<number>.jpg" in bookpic, to the caller.
class CameraWindow : public QDialog {
    Q_OBJECT
public:
    explicit CameraWindow(const Home& home, QWidget* parent = nullptr);
    ~CameraWindow() override;

    // Set by every caller before showing: the visible save button, the number in the
    // caller's number field (and how to focus it) and what to do with a saved frame.
    struct Caller {
        CameraUse use = CameraUse::Plain;
        std::function<QString()> number;
        std::function<void()> focusNumber;
        std::function<void(const SavedFrame&)> saved;
    };
    void setCaller(Caller caller);

    // "启动视频": false (after saying so) when the workstation has no camera.
    bool startVideo();
    // "停止视频": saving then does nothing until the video is started again.
    void stopVideo();
    bool isLive() const;
    // The visible save button: asks the camera for the current frame.
    void save();
    // The frame the camera delivered for the save asked last.
    void storeFrame(const QImage& frame);

    QPushButton* saveButton(CameraUse use) const;

private:
    QString numberOrAsk();

    Home m_home;
    Caller m_caller;
    QVideoWidget* m_preview;
    QMediaCaptureSession* m_session;
    QCamera* m_camera = nullptr;
    QImageCapture* m_capture = nullptr;
    QString m_pendingNumber; // the number of the save waiting for its frame
    QPushButton* m_save[4] = {};
};

} // namespace cangshu
