#include "readers/Photos.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>

using namespace cangshu;

namespace {
QImage frame(QColor color) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(color);
    return image;
}
QByteArray fileBytes(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
} // namespace

TEST(Photos, ACapturedFrameIsStoredAsJpegAndWrittenBesideItsBitmap) {
    const QString folder = QDir(test::temporaryFolder()).filePath(QStringLiteral("bookpic"));
    const SavedFrame first = saveCapturedFrame(frame(Qt::red), folder, QStringLiteral("R1"));
    ASSERT_TRUE(first.outcome.ok) << first.outcome.message.toStdString();
    const QImage stored = QImage::fromData(first.jpeg, "JPEG");
    ASSERT_FALSE(stored.isNull());
    EXPECT_EQ(stored.size(), QSize(64, 48));
    EXPECT_EQ(fileBytes(folder + QStringLiteral("/R1.jpg")), first.jpeg);
    EXPECT_FALSE(QImage(folder + QStringLiteral("/R1.bmp")).isNull());

    // A second frame replaces the first in both files.
    const SavedFrame second = saveCapturedFrame(frame(Qt::blue), folder, QStringLiteral("R1"));
    EXPECT_EQ(fileBytes(folder + QStringLiteral("/R1.jpg")), second.jpeg);
    EXPECT_GT(qBlue(QImage::fromData(second.jpeg).pixel(10, 10)), 200);

    // Without a frame nothing is stored, though the earlier files are still there.
    const SavedFrame none = saveCapturedFrame(QImage(), folder, QStringLiteral("R1"));
    EXPECT_FALSE(none.outcome.ok);
    EXPECT_TRUE(none.jpeg.isEmpty());
    EXPECT_EQ(fileBytes(folder + QStringLiteral("/R1.jpg")), second.jpeg);

    EXPECT_FALSE(saveCapturedFrame(frame(Qt::red), folder, QStringLiteral("../R1")).outcome.ok);
}

TEST(Photos, PictureFilesBecomeJpegBytes) {
    const QDir dir(test::temporaryFolder());
    const QString jpg = dir.filePath(QStringLiteral("p.jpg"));
    const QString bmp = dir.filePath(QStringLiteral("p.bmp"));
    const QString junk = dir.filePath(QStringLiteral("junk.jpg"));
    frame(Qt::green).save(jpg, "JPEG");
    frame(Qt::green).save(bmp, "BMP");
    QFile f(junk);
    f.open(QIODevice::WriteOnly);
    f.write("not a picture");
    f.close();

    EXPECT_EQ(photoFromFile(jpg).value(), fileBytes(jpg)); // a JPEG is kept as it is
    const auto converted = photoFromFile(bmp);
    ASSERT_TRUE(converted);
    EXPECT_TRUE(converted->startsWith("\xff\xd8"));
    EXPECT_FALSE(photoFromFile(junk));
    EXPECT_FALSE(photoFromFile(dir.filePath(QStringLiteral("missing.jpg"))));
}
