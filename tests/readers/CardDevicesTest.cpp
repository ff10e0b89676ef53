#include "readers/CardDevices.h"
#include "core/Gbk.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QSettings>

using namespace cangshu;

namespace {

QString writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = QDir(test::temporaryFolder()).filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
    return path;
}

// A record laid out by hand as the device library fills it: fields padded with blanks and
// followed by stray bytes after their NUL.
QByteArray handMadeRecord() {
    QByteArray r(1024, 'x');
    const auto put = [&](int offset, int length, const QByteArray& bytes) {
        QByteArray f = bytes;
        f.append('\0');
        f = f.leftJustified(length, 'z', true);
        r.replace(offset, length, f);
    };
    put(0, 32, toGbk(QStringLiteral("张三丰  ")));
    put(32, 6, toGbk(QStringLiteral("男")));
    put(58, 18, "19800131");
    put(76, 72, toGbk(QStringLiteral(" 北京市海淀区中关村大街1号 ")));
    put(148, 38, "11010819800131001X");
    put(292, 255, "/tmp/photo.bmp");
    return r;
}

} // namespace

TEST(IdCardRecord, FieldsAreCutAtTheirOffsetsAndNul) {
    const IdCardData c = idCardFromRecord(handMadeRecord());
    EXPECT_EQ(c.name, QStringLiteral("张三丰"));
    EXPECT_EQ(c.sex, QStringLiteral("男"));
    EXPECT_EQ(c.birth, QStringLiteral("19800131"));
    EXPECT_EQ(c.address, QStringLiteral("北京市海淀区中关村大街1号"));
    EXPECT_EQ(c.idNumber, QStringLiteral("11010819800131001X"));
    EXPECT_EQ(c.photoFile, QStringLiteral("/tmp/photo.bmp"));

    // A field that fills its whole length has no NUL: it ends at its length.
    QByteArray full = handMadeRecord();
    full.replace(0, 32, QByteArray(32, 'A'));
    EXPECT_EQ(idCardFromRecord(full).name, QString(32, u'A'));
    // A short record gives empty fields where it has no bytes.
    EXPECT_EQ(idCardFromRecord(full.left(100)).idNumber, QString());
}

TEST(IdCardRecord, BirthDatesInTheFormsLibrariesGive) {
    const QDate d(1980, 1, 31);
    for (const char* text : {"19800131", "1980-01-31", "1980.01.31", "1980/01/31", "1980年1月31日"})
        EXPECT_EQ(parseCardDate(QString::fromUtf8(text)), d) << text;
    EXPECT_FALSE(parseCardDate(QStringLiteral("19801332")).isValid());
    EXPECT_FALSE(parseCardDate(QString()).isValid());
}

TEST(IdCardReading, EveryMessageOfTheSequence) {
    const QString card = writeFile(QStringLiteral("idcard.bin"), handMadeRecord());
    const QStringList setup{
        QStringLiteral("setSexType(1)"),         QStringLiteral("setNationType(1)"),
        QStringLiteral("setBornType(3)"),        QStringLiteral("setUserLifeBType(3)"),
        QStringLiteral("setUserLifeEType(3,1)"), QStringLiteral("setPhotoPath(1,256)"),
        QStringLiteral("setPhotoType(1)"),       QStringLiteral("setPhotoName(0)")};
    const QStringList reading{
        QStringLiteral("setMaxRFByte(1001,80,0)"), QStringLiteral("startFindIdCard(1001,0)"),
        QStringLiteral("selectIdCard(1001,0)"), QStringLiteral("readMsg(1001,0)")};
    struct Case {
        const char* what;
        int port;
        bool busy;
        QString file;
        QString message;
        bool read;
        bool beeps;
        QStringList calls;
    };
    const QString opened = QStringLiteral("openPort(1001)");
    const QString closed = QStringLiteral("closePort(1001)");
    const QString find = QStringLiteral("findReader");
    const Case cases[] = {
        {"no reader",
         0,
         false,
         card,
         QStringLiteral("没有找到身份证读卡器！"),
         false,
         false,
         {find}},
        {"serial port", 3, false, card, QString(), false, true, {find}},
        {"port busy", 1001, true, card, QStringLiteral("打开身份证读卡器端口失败！"), false, true,
         (QStringList{find, opened} + setup + QStringList{closed})},
        {"no card", 1001, false, QStringLiteral("/nonexistent/card.bin"),
         QStringLiteral("读取身份证信息错误！请放好身份证！"), false, true,
         (QStringList{find, opened} + setup + reading + QStringList{closed})},
        {"card read", 1001, false, card, QString(), true, true,
         (QStringList{find, opened} + setup + reading + QStringList{closed})},
    };
    for (const Case& c : cases) {
        SimulatedIdCard device(c.port, c.busy, c.file);
        int beeps = 0;
        const IdCardRead r = readIdCard(&device, [&] { ++beeps; });
        EXPECT_EQ(r.outcome.ok, c.read) << c.what;
        EXPECT_EQ(r.outcome.message, c.message) << c.what;
        EXPECT_EQ(r.read, c.read) << c.what;
        EXPECT_EQ(beeps, c.beeps ? 1 : 0) << c.what;
        EXPECT_EQ(device.calls(), c.calls) << c.what;
        if (c.read)
            EXPECT_EQ(r.card.idNumber, QStringLiteral("11010819800131001X"));
    }
    EXPECT_EQ(readIdCard(nullptr).outcome.message, QStringLiteral("没有配置身份证读卡器！"));
}

TEST(IcCard, OpenReadAndWriteWithTheirMessages) {
    const QString cardFile = QDir(test::temporaryFolder()).filePath(QStringLiteral("ic.txt"));
    QFile::remove(cardFile);
    SimulatedIcCard device(3, cardFile);

    // Opened at login only when the configuration asks, and on the configured port.
    EXPECT_TRUE(openIcCardAtLogin(&device, false, 0).ok);
    EXPECT_TRUE(device.calls().isEmpty());
    EXPECT_EQ(openIcCardAtLogin(&device, true, 0).message,
              QStringLiteral("读卡机初始化失败！请在系统设置里进行设置！"));
    EXPECT_TRUE(openIcCardAtLogin(&device, true, 3).ok);
    EXPECT_FALSE(openIcCardAtLogin(nullptr, true, 3).ok);

    // No card on the reader.
    EXPECT_EQ(readIcCard(&device).outcome.message, QStringLiteral("初始化失败！"));

    // An empty number never reaches the device.
    const int before = device.calls().size();
    const Outcome empty = writeIcCard(&device, QString());
    EXPECT_EQ(empty.message, QStringLiteral("请先输入读者编号，在写卡！"));
    EXPECT_EQ(empty.focus, cardfocus::number);
    EXPECT_EQ(device.calls().size(), before);
    EXPECT_FALSE(writeIcCard(&device, QString(251, u'9')).ok);

    const Outcome written = writeIcCard(&device, QStringLiteral("R读者0001"));
    EXPECT_TRUE(written.ok);
    EXPECT_EQ(written.message, QStringLiteral("写卡成功！请继续输入其它信息！"));
    EXPECT_EQ(written.focus, cardfocus::name);
    const IcCardRead back = readIcCard(&device);
    EXPECT_TRUE(back.outcome.ok);
    EXPECT_EQ(back.text, QStringLiteral("R读者0001"));
    EXPECT_EQ(device.calls().mid(before),
              (QStringList{QStringLiteral("write(2)"), QStringLiteral("read(2)")}));

    SimulatedIcCard broken(0, QStringLiteral("/nonexistent/dir/ic.txt"));
    EXPECT_EQ(writeIcCard(&broken, QStringLiteral("R1")).message,
              QStringLiteral("初始化失败！请重新写入！"));
    EXPECT_EQ(readIcCard(nullptr).outcome.message, QStringLiteral("没有配置IC卡读卡器！"));
}

TEST(CardDevicesConfig, TheSimulatedDevicesComeFromTheIniFile) {
    const QString root = QDir(test::temporaryFolder()).filePath(QStringLiteral("cardhome"));
    QDir().mkpath(root + QStringLiteral("/set_ini"));
    const Home home(root);
    EXPECT_FALSE(cardDevicesFromConfig(home).ic);

    {
        QSettings s(home.iniFile(), QSettings::IniFormat);
        s.setValue(QStringLiteral("simcard/enabled"), true);
        s.setValue(QStringLiteral("simcard/icPort"), 2);
        s.setValue(QStringLiteral("simcard/icCard"), QStringLiteral("card.txt"));
        s.setValue(QStringLiteral("simcard/idCard"), QStringLiteral("id.bin"));
    }
    QFile ic(home.path(QStringLiteral("card.txt")));
    ic.open(QIODevice::WriteOnly);
    ic.write("R0042");
    ic.close();
    QFile id(home.path(QStringLiteral("id.bin")));
    id.open(QIODevice::WriteOnly);
    id.write(handMadeRecord());
    id.close();

    CardDevices devices = cardDevicesFromConfig(home);
    ASSERT_TRUE(devices.ic && devices.id);
    EXPECT_TRUE(openIcCardAtLogin(devices.ic.get(), true, 2).ok);
    EXPECT_EQ(readIcCard(devices.ic.get()).text, QStringLiteral("R0042"));
    EXPECT_EQ(readIdCard(devices.id.get()).card.name, QStringLiteral("张三丰"));

    // A card written by hand as text.
    id.open(QIODevice::WriteOnly | QIODevice::Truncate);
    id.write(QStringLiteral(
                 "姓名=李四\n性别=女\n出生=19991231\n住址=广州\n身份证号=440101199912310023\n")
                 .toUtf8());
    id.close();
    const IdCardRead typed = readIdCard(cardDevicesFromConfig(home).id.get());
    EXPECT_EQ(typed.card.name, QStringLiteral("李四"));
    EXPECT_EQ(typed.card.idNumber, QStringLiteral("440101199912310023"));
    EXPECT_EQ(typed.card.photoFile, QString());
}
