#pragma once
#include <QString>

namespace cangshu {

// Operator passwords are stored as "pbkdf2-sha256$<iterations>$<salt>$<hash>" (base64).
QString hashPassword(const QString& password);
bool isPasswordHash(const QString& stored);

struct PasswordCheck {
    bool ok = false;
    bool needsRehash = false; // a legacy plain-text value matched: store its hash now
};
PasswordCheck checkPassword(const QString& typed, const QString& stored);

} // namespace cangshu
