#include "Photos.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QSaveFile>

namespace cangshu {

QByteArray jpegBytes(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return bytes;
}

std::optional<QByteArray> photoFromFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = f.readAll();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    if (format == "jpeg" || format == "jpg")
        return bytes;
    return jpegBytes(image);
}

QImage photoImage(const QByteArray& jpeg) {
    return jpeg.isEmpty() ? QImage() : QImage::fromData(jpeg);
}

SavedFrame saveCapturedFrame(const QImage& frame, const QString& folder, const QString& number) {
    if (frame.isNull())
        return {Outcome::refused(QStringLiteral("还没有拍到照片，请先启动视频！")), {}, {}};
    if (number.contains(u'/') || number.contains(u'\\') || number == QStringLiteral(".") ||
        number == QStringLiteral(".."))
        return {Outcome::refused(QStringLiteral("编号中含有不能用作文件名的字符！")), {}, {}};
    if (!QDir().mkpath(folder))
        return {Outcome::refused(QStringLiteral("不能建立照片文件夹：%1").arg(folder)), {}, {}};

    const QDir dir(folder);
    const QByteArray jpeg = jpegBytes(frame);
    const QString jpegFile = dir.filePath(number + QStringLiteral(".jpg"));
    QSaveFile bmp(dir.filePath(number + QStringLiteral(".bmp")));
    QSaveFile jpg(jpegFile);
    const bool written = bmp.open(QIODevice::WriteOnly) && frame.save(&bmp, "BMP") &&
                         jpg.open(QIODevice::WriteOnly) && jpg.write(jpeg) == jpeg.size() &&
                         bmp.commit() && jpg.commit();
    if (!written)
        return {Outcome::refused(QStringLiteral("照片保存失败：%1").arg(jpegFile)), {}, {}};
    return {Outcome::done(), jpeg, jpegFile};
}

} // namespace cangshu
