#pragma once
#include "core/Home.h"
#include "core/Outcome.h"

#include <QByteArray>
#include <QDate>
#include <QStringList>
#include <functional>
#include <memory>

namespace cangshu {

// The IC-card reader and writer as its device library offers it. Every call answers 0 on
// success; read and write take the mode 2 as first argument.
class IcCardDevice {
public:
    static constexpr int BufferSize = 251;
    static constexpr int Mode = 2;

    virtual ~IcCardDevice() = default;
    virtual int open(int port) = 0;
    // Fills the 251-byte buffer with the card text, ended by NUL.
    virtual int read(int mode, QByteArray& buffer) = 0;
    virtual int write(int mode, const QByteArray& buffer) = 0;
};

// The ID-card reader as its device library offers it: the fifteen calls of one reading.
class IdCardDevice {
public:
    static constexpr int RecordSize = 1024;
    static constexpr int PhotoPathSize = 256;

    virtual ~IdCardDevice() = default;
    virtual int findReader() = 0; // the port the reader sits on, 0 when there is none
    virtual int openPort(int port) = 0;
    virtual int setSexType(int type) = 0;
    virtual int setNationType(int type) = 0;
    virtual int setBornType(int type) = 0;
    virtual int setUserLifeBType(int type) = 0;
    virtual int setUserLifeEType(int type, int withEnd) = 0;
    virtual int setPhotoPath(int option, QByteArray& path) = 0;
    virtual int setPhotoType(int type) = 0;
    virtual int setPhotoName(int type) = 0;
    virtual int setMaxRFByte(int port, int bytes, int wait) = 0;
    virtual int startFindIdCard(int port, QByteArray& work, int wait) = 0;
    virtual int selectIdCard(int port, QByteArray& work, int wait) = 0;
    // Fills the card record (RecordSize bytes) whose fields idCardFromRecord cuts out.
    virtual int readMsg(int port, int wait, QByteArray& record) = 0;
    virtual int closePort(int port) = 0;
};

// What the desk has: either device may be missing (no library, no hardware).
struct CardDevices {
    std::unique_ptr<IcCardDevice> ic;
    std::unique_ptr<IdCardDevice> id;
};

// The focus names of the card outcomes.
namespace cardfocus {
inline const QString number = QStringLiteral("读者编号");
inline const QString name = QStringLiteral("读者姓名");
} // namespace cardfocus

// At login, when the configuration asks for it: opens the IC-card reader on its port;
// a failure gives "读卡机初始化失败！请在系统设置里进行设置！" and the login goes on.
Outcome openIcCardAtLogin(IcCardDevice* device, bool openAtLogin, int port);

struct IcCardRead {
    Outcome outcome;
    QString text; // the card text (a reader number) when read
};

// Reads the card: its text up to the first NUL, or "初始化失败！".
IcCardRead readIcCard(IcCardDevice* device);

// Writes the reader number to the card: an empty number gives "请先输入读者编号，在写卡！"
// (focus on the number) without touching the device; a number longer than the card holds
// is refused; success "写卡成功！请继续输入其它信息！" (focus on the name); a failure
// "初始化失败！请重新写入！".
Outcome writeIcCard(IcCardDevice* device, const QString& number);

// The fields of an ID card, trimmed.
struct IdCardData {
    QString name;
    QString sex;
    QString birth; // as the card gives it; see parseCardDate
    QString address;
    QString idNumber;
    QString photoFile;
};

// Cuts the fields out of the card record: each is GBK text up to its first NUL within its
// length, trimmed.
IdCardData idCardFromRecord(const QByteArray& record);
// The record a reader library would fill for this card (simulated cards, tests).
QByteArray idCardRecord(const IdCardData& card);
// A card written as text, one "key=value" a line with the keys 姓名, 性别, 出生, 住址,
// 身份证号 and 照片 (simulated cards that are easier to write by hand than a record).
IdCardData idCardFromText(const QString& text);
// The date of birth in the forms card libraries give it: yyyyMMdd, yyyy-MM-dd, yyyy.MM.dd,
// yyyy/MM/dd, yyyy年M月d日. Invalid when it is none of them.
QDate parseCardDate(const QString& text);

struct IdCardRead {
    Outcome outcome; // not ok with a message, or not ok and silent (port of 1000 or less)
    bool read = false;
    IdCardData card;
};

// One press of "读身份证", calling the device in its fixed order. `beep` sounds when the
// reader is found.
IdCardRead readIdCard(IdCardDevice* device, const std::function<void()>& beep = {});

// The devices of this workstation. The configuration file's section [simcard] with
// enabled=true selects the simulated devices that answer from files:
//   icPort    the port the IC reader sits on (default 0; opening another port fails)
//   icCard    file holding the text of the card lying on the IC reader (missing: no card)
//   idPort    what the search for the ID-card reader answers (default 1001; 0: none)
//   idPortBusy  true: the ID reader's port cannot be opened
//   idCard    the ID card placed on the reader: a record file, or a UTF-8 text file in the
//             form of idCardFromText (missing: no card)
// Relative paths are relative to the home. Without the section there are no devices.
CardDevices cardDevicesFromConfig(const Home& home);

// A simulated IC-card reader: the card is a file.
class SimulatedIcCard : public IcCardDevice {
public:
    SimulatedIcCard(int port, QString cardFile) : m_port(port), m_file(std::move(cardFile)) {}
    int open(int port) override;
    int read(int mode, QByteArray& buffer) override;
    int write(int mode, const QByteArray& buffer) override;
    const QStringList& calls() const { return m_calls; }

private:
    int m_port;
    QString m_file;
    QStringList m_calls;
};

// A simulated ID-card reader: the card is a record file. It keeps the calls it received.
class SimulatedIdCard : public IdCardDevice {
public:
    SimulatedIdCard(int port, bool portBusy, QString recordFile)
        : m_port(port), m_busy(portBusy), m_file(std::move(recordFile)) {}
    int findReader() override;
    int openPort(int port) override;
    int setSexType(int type) override;
    int setNationType(int type) override;
    int setBornType(int type) override;
    int setUserLifeBType(int type) override;
    int setUserLifeEType(int type, int withEnd) override;
    int setPhotoPath(int option, QByteArray& path) override;
    int setPhotoType(int type) override;
    int setPhotoName(int type) override;
    int setMaxRFByte(int port, int bytes, int wait) override;
    int startFindIdCard(int port, QByteArray& work, int wait) override;
    int selectIdCard(int port, QByteArray& work, int wait) override;
    int readMsg(int port, int wait, QByteArray& record) override;
    int closePort(int port) override;
    const QStringList& calls() const { return m_calls; }

private:
    int log(const QString& call, int result);
    int m_port;
    bool m_busy;
    QString m_file;
    QStringList m_calls;
};

} // namespace cangshu
