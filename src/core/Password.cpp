#include "Password.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

namespace cangshu {

namespace {

constexpr int kIterations = 60000;
const QString kScheme = QStringLiteral("pbkdf2-sha256");

QByteArray pbkdf2(const QByteArray& password, const QByteArray& salt, int iterations) {
    // One block of PBKDF2-HMAC-SHA256 (32 bytes of key).
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    mac.addData(salt);
    mac.addData(QByteArray("\x00\x00\x00\x01", 4));
    QByteArray u = mac.result();
    QByteArray t = u;
    for (int i = 1; i < iterations; ++i) {
        mac.reset();
        mac.addData(u);
        u = mac.result();
        for (int j = 0; j < t.size(); ++j)
            t[j] = static_cast<char>(t[j] ^ u[j]);
    }
    return t;
}

bool constantTimeEquals(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

} // namespace

QString hashPassword(const QString& password) {
    QByteArray salt(16, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()), salt.size() / 4);
    const QByteArray hash = pbkdf2(password.toUtf8(), salt, kIterations);
    return QStringLiteral("%1$%2$%3$%4")
        .arg(kScheme)
        .arg(kIterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(hash.toBase64()));
}

bool isPasswordHash(const QString& stored) {
    return stored.startsWith(kScheme + u'$');
}

PasswordCheck checkPassword(const QString& typed, const QString& stored) {
    PasswordCheck r;
    if (!isPasswordHash(stored)) {
        r.ok = !stored.isEmpty() && typed == stored;
        r.needsRehash = r.ok;
        return r;
    }
    const QStringList parts = stored.split(u'$');
    if (parts.size() != 4)
        return r;
    const int iterations = parts[1].toInt();
    if (iterations <= 0)
        return r;
    const QByteArray salt = QByteArray::fromBase64(parts[2].toLatin1());
    const QByteArray want = QByteArray::fromBase64(parts[3].toLatin1());
    r.ok = constantTimeEquals(pbkdf2(typed.toUtf8(), salt, iterations), want);
    return r;
}

} // namespace cangshu
