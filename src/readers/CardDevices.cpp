#include "CardDevices.h"

#include "core/Gbk.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSettings>

namespace cangshu {

namespace {

const QString initFailed = QStringLiteral("初始化失败！");

// Text of a NUL-ended field of fixed length, decoded from GBK.
QString field(const QByteArray& bytes, int offset, int length) {
    if (offset >= bytes.size())
        return {};
    QByteArray raw = bytes.mid(offset, length);
    const int nul = raw.indexOf('\0');
    if (nul >= 0)
        raw.truncate(nul);
    return fromGbk(raw).trimmed();
}

void putField(QByteArray& record, int offset, int length, const QString& text) {
    // Leave room for the NUL that ends the field.
    const QByteArray bytes = toGbk(text).left(length - 1);
    record.replace(offset, bytes.size(), bytes);
}

struct FieldSpan {
    int offset;
    int length;
};
constexpr FieldSpan nameField{0, 32}, sexField{32, 6}, birthField{58, 18}, addressField{76, 72},
    idField{148, 38}, photoField{292, 255};

} // namespace

Outcome openIcCardAtLogin(IcCardDevice* device, bool openAtLogin, int port) {
    if (!openAtLogin)
        return Outcome::done();
    if (!device || device->open(port) != 0)
        return Outcome::refused(QStringLiteral("读卡机初始化失败！请在系统设置里进行设置！"));
    return Outcome::done();
}

IcCardRead readIcCard(IcCardDevice* device) {
    if (!device)
        return {Outcome::refused(QStringLiteral("没有配置IC卡读卡器！")), {}};
    QByteArray buffer(IcCardDevice::BufferSize, '\0');
    if (device->read(IcCardDevice::Mode, buffer) != 0)
        return {Outcome::refused(initFailed), {}};
    return {Outcome::done(), field(buffer, 0, IcCardDevice::BufferSize)};
}

Outcome writeIcCard(IcCardDevice* device, const QString& number) {
    if (number.isEmpty())
        return Outcome::refused(QStringLiteral("请先输入读者编号，在写卡！"), cardfocus::number);
    const QByteArray bytes = toGbk(number);
    if (bytes.size() > IcCardDevice::BufferSize - 1)
        return Outcome::refused(QStringLiteral("读者编号太长，不能写入读者卡！"),
                                cardfocus::number);
    if (!device)
        return Outcome::refused(QStringLiteral("没有配置IC卡读卡器！"), cardfocus::number);
    QByteArray buffer(IcCardDevice::BufferSize, '\0');
    buffer.replace(0, bytes.size(), bytes);
    if (device->write(IcCardDevice::Mode, buffer) != 0)
        return Outcome::refused(QStringLiteral("初始化失败！请重新写入！"), cardfocus::number);
    return {true, QStringLiteral("写卡成功！请继续输入其它信息！"), cardfocus::name};
}

IdCardData idCardFromRecord(const QByteArray& r) {
    IdCardData c;
    c.name = field(r, nameField.offset, nameField.length);
    c.sex = field(r, sexField.offset, sexField.length);
    c.birth = field(r, birthField.offset, birthField.length);
    c.address = field(r, addressField.offset, addressField.length);
    c.idNumber = field(r, idField.offset, idField.length);
    c.photoFile = field(r, photoField.offset, photoField.length);
    return c;
}

QByteArray idCardRecord(const IdCardData& c) {
    QByteArray r(IdCardDevice::RecordSize, '\0');
    putField(r, nameField.offset, nameField.length, c.name);
    putField(r, sexField.offset, sexField.length, c.sex);
    putField(r, birthField.offset, birthField.length, c.birth);
    putField(r, addressField.offset, addressField.length, c.address);
    putField(r, idField.offset, idField.length, c.idNumber);
    putField(r, photoField.offset, photoField.length, c.photoFile);
    return r;
}

IdCardData idCardFromText(const QString& text) {
    IdCardData c;
    QString* const fields[] = {&c.name, &c.sex, &c.birth, &c.address, &c.idNumber, &c.photoFile};
    const char16_t* const keys[] = {u"姓名", u"性别", u"出生", u"住址", u"身份证号", u"照片"};
    for (const QString& line : text.split(u'\n')) {
        const int eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        for (int i = 0; i < 6; ++i)
            if (key == QString::fromUtf16(keys[i]))
                *fields[i] = line.mid(eq + 1).trimmed();
    }
    return c;
}

QDate parseCardDate(const QString& text) {
    const QString t = text.trimmed();
    for (const char* format :
         {"yyyyMMdd", "yyyy-MM-dd", "yyyy.MM.dd", "yyyy/MM/dd", "yyyy-M-d", "yyyy年M月d日"}) {
        const QDate d = QDate::fromString(t, QString::fromUtf8(format));
        if (d.isValid())
            return d;
    }
    return {};
}

IdCardRead readIdCard(IdCardDevice* device, const std::function<void()>& beep) {
    const auto notice = [](const char16_t* text) {
        return IdCardRead{Outcome::refused(QString::fromUtf16(text)), false, {}};
    };
    if (!device)
        return notice(u"没有配置身份证读卡器！");
    const int port = device->findReader();
    if (port == 0)
        return notice(u"没有找到身份证读卡器！");
    if (beep)
        beep();
    // The library answers ports above 1000 for its USB readers; others are not read.
    if (port <= 1000)
        return {Outcome::refused({}), false, {}};

    const int opened = device->openPort(port);
    device->setSexType(1);
    device->setNationType(1);
    device->setBornType(3);
    device->setUserLifeBType(3);
    device->setUserLifeEType(3, 1);
    QByteArray photoPath(IdCardDevice::PhotoPathSize, '\0');
    device->setPhotoPath(1, photoPath);
    device->setPhotoType(1);
    device->setPhotoName(0);

    IdCardRead result;
    if (opened != 0) {
        result = notice(u"打开身份证读卡器端口失败！");
    } else {
        QByteArray work(IdCardDevice::RecordSize, '\0');
        device->setMaxRFByte(port, 80, 0);
        device->startFindIdCard(port, work, 0);
        device->selectIdCard(port, work, 0);
        QByteArray record(IdCardDevice::RecordSize, '\0');
        if (device->readMsg(port, 0, record) != 0)
            result = notice(u"读取身份证信息错误！请放好身份证！");
        else
            result = {Outcome::done(), true, idCardFromRecord(record)};
    }
    device->closePort(port);
    return result;
}

CardDevices cardDevicesFromConfig(const Home& home) {
    CardDevices devices;
    QSettings s(home.iniFile(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("simcard"));
    if (!s.value(QStringLiteral("enabled"), false).toBool())
        return devices;
    const QDir root(home.root());
    const auto path = [&](const QString& key) {
        const QString p = s.value(key).toString();
        return p.isEmpty() ? QString() : root.absoluteFilePath(p);
    };
    devices.ic = std::make_unique<SimulatedIcCard>(s.value(QStringLiteral("icPort"), 0).toInt(),
                                                   path(QStringLiteral("icCard")));
    devices.id = std::make_unique<SimulatedIdCard>(
        s.value(QStringLiteral("idPort"), 1001).toInt(),
        s.value(QStringLiteral("idPortBusy"), false).toBool(), path(QStringLiteral("idCard")));
    return devices;
}

int SimulatedIcCard::open(int port) {
    m_calls << QStringLiteral("open(%1)").arg(port);
    return port == m_port ? 0 : -1;
}

int SimulatedIcCard::read(int mode, QByteArray& buffer) {
    m_calls << QStringLiteral("read(%1)").arg(mode);
    QFile f(m_file);
    if (m_file.isEmpty() || !f.open(QIODevice::ReadOnly))
        return -1; // no card on the reader
    const QByteArray text = f.read(IcCardDevice::BufferSize - 1);
    buffer.fill('\0', IcCardDevice::BufferSize);
    buffer.replace(0, text.size(), text);
    return 0;
}

int SimulatedIcCard::write(int mode, const QByteArray& buffer) {
    m_calls << QStringLiteral("write(%1)").arg(mode);
    if (m_file.isEmpty())
        return -1;
    QSaveFile f(m_file);
    if (!f.open(QIODevice::WriteOnly))
        return -1;
    const int nul = buffer.indexOf('\0');
    f.write(nul >= 0 ? buffer.left(nul) : buffer);
    return f.commit() ? 0 : -1;
}

int SimulatedIdCard::log(const QString& call, int result) {
    m_calls << call;
    return result;
}

int SimulatedIdCard::findReader() {
    return log(QStringLiteral("findReader"), m_port);
}
int SimulatedIdCard::openPort(int port) {
    return log(QStringLiteral("openPort(%1)").arg(port), m_busy || port != m_port ? -1 : 0);
}
int SimulatedIdCard::setSexType(int t) {
    return log(QStringLiteral("setSexType(%1)").arg(t), 0);
}
int SimulatedIdCard::setNationType(int t) {
    return log(QStringLiteral("setNationType(%1)").arg(t), 0);
}
int SimulatedIdCard::setBornType(int t) {
    return log(QStringLiteral("setBornType(%1)").arg(t), 0);
}
int SimulatedIdCard::setUserLifeBType(int t) {
    return log(QStringLiteral("setUserLifeBType(%1)").arg(t), 0);
}
int SimulatedIdCard::setUserLifeEType(int t, int withEnd) {
    return log(QStringLiteral("setUserLifeEType(%1,%2)").arg(t).arg(withEnd), 0);
}
int SimulatedIdCard::setPhotoPath(int option, QByteArray& path) {
    return log(QStringLiteral("setPhotoPath(%1,%2)").arg(option).arg(path.size()), 0);
}
int SimulatedIdCard::setPhotoType(int t) {
    return log(QStringLiteral("setPhotoType(%1)").arg(t), 0);
}
int SimulatedIdCard::setPhotoName(int t) {
    return log(QStringLiteral("setPhotoName(%1)").arg(t), 0);
}
int SimulatedIdCard::setMaxRFByte(int port, int bytes, int wait) {
    return log(QStringLiteral("setMaxRFByte(%1,%2,%3)").arg(port).arg(bytes).arg(wait), 0);
}
int SimulatedIdCard::startFindIdCard(int port, QByteArray&, int wait) {
    return log(QStringLiteral("startFindIdCard(%1,%2)").arg(port).arg(wait), 0);
}
int SimulatedIdCard::selectIdCard(int port, QByteArray&, int wait) {
    return log(QStringLiteral("selectIdCard(%1,%2)").arg(port).arg(wait), 0);
}
int SimulatedIdCard::readMsg(int port, int wait, QByteArray& record) {
    m_calls << QStringLiteral("readMsg(%1,%2)").arg(port).arg(wait);
    QFile f(m_file);
    if (m_file.isEmpty() || !f.open(QIODevice::ReadOnly))
        return -1; // no card placed
    QByteArray bytes = f.read(IdCardDevice::RecordSize);
    if (!bytes.contains('\0'))
        bytes = idCardRecord(idCardFromText(QString::fromUtf8(bytes)));
    record.fill('\0', IdCardDevice::RecordSize);
    record.replace(0, bytes.size(), bytes);
    return 0;
}
int SimulatedIdCard::closePort(int port) {
    return log(QStringLiteral("closePort(%1)").arg(port), 0);
}

} // namespace cangshu
