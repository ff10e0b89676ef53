#pragma once
#include "core/Outcome.h"

#include <QByteArray>
#include <QImage>
#include <optional>

namespace cangshu {

// The quality photos and covers are kept at.
constexpr int photoJpegQuality = 75;

// A picture as the JPEG bytes the database keeps.
QByteArray jpegBytes(const QImage& image, int quality = photoJpegQuality);

// The photo of a picture file as JPEG bytes: a JPEG file as it is, another picture format
// (an ID-card reader's bitmap) converted. nullopt when the file is not a readable picture.
std::optional<QByteArray> photoFromFile(const QString& path);

// A photo from the database for showing; a null image when there is none or it is broken.
QImage photoImage(const QByteArray& jpeg);

struct SavedFrame {
    Outcome outcome;
    QByteArray jpeg;  // the frame's JPEG bytes, as written to the .jpg file
    QString jpegFile; // "<folder>/<number>.jpg"
};

// Saves the frame just captured for the record `number`: "<number>.bmp" and "<number>.jpg"
// (quality 75) in the folder, which is made when missing. Only this frame is stored: a null
// frame (nothing captured) saves nothing, whatever files an earlier save left. A number
// that cannot be a plain file name is refused.
SavedFrame saveCapturedFrame(const QImage& frame, const QString& folder, const QString& number);

} // namespace cangshu
