#include "AdminContext.h"

#include <QJsonDocument>
#include <cstdio>

namespace cangshu::admin {

StartupState& AdminContext::startup() {
    if (!m_startup)
        m_startup = std::make_unique<StartupState>(startUp(home, today));
    return *m_startup;
}

Database& AdminContext::library() {
    StartupState& s = startup();
    if (!s.library)
        throw CommandError{Failure, s.errors.isEmpty() ? QStringLiteral("数据库连接错误！")
                                                       : s.errors.join(u'\n')};
    // A named operator must exist, whatever the command writes.
    if (!operatorOption.isEmpty() && m_operator.isEmpty()) {
        if (s.library
                ->scalar(QStringLiteral("select count(*) from [管理员] where [用户名]=?"),
                         {operatorOption}, 0)
                .toInt() == 0)
            throw CommandError{Usage, QStringLiteral("unknown operator: %1").arg(operatorOption)};
        m_operator = operatorOption;
    }
    return *s.library;
}

QString AdminContext::operatorName() {
    if (!m_operator.isEmpty())
        return m_operator;
    Database& db = library(); // checks a named operator
    if (m_operator.isEmpty()) {
        m_operator =
            db.scalar(QStringLiteral("select [用户名] from [管理员] order by [ID] limit 1"))
                .toString();
        if (m_operator.isEmpty())
            throw CommandError{Refused, QStringLiteral("请选择用户名！")};
    }
    return m_operator;
}

void AdminContext::print(const QJsonObject& object, const QString& text) const {
    if (json)
        printText(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
    else
        printText(text);
}

void AdminContext::printText(const QString& text) const {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString ArgReader::option(const QString& name) {
    for (int i = 0; i < m_args.size(); ++i) {
        if (m_args[i] == name) {
            if (i + 1 >= m_args.size())
                throw CommandError{Usage, QStringLiteral("%1 needs a value").arg(name)};
            const QString v = m_args[i + 1];
            m_args.remove(i, 2);
            return v;
        }
        if (m_args[i].startsWith(name + u'=')) {
            const QString v = m_args[i].mid(name.size() + 1);
            m_args.removeAt(i);
            return v;
        }
    }
    return {};
}

bool ArgReader::flag(const QString& name) {
    return m_args.removeAll(name) > 0;
}

QStringList ArgReader::positional() {
    for (const QString& a : m_args)
        if (a.startsWith(QLatin1String("--")))
            throw CommandError{Usage, QStringLiteral("unknown option: %1").arg(a)};
    return m_args;
}

int parseInt(const QString& text, const QString& what) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok)
        throw CommandError{Usage, QStringLiteral("%1 must be a whole number: %2").arg(what, text)};
    return v;
}

double parseAmount(const QString& text, const QString& what) {
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok)
        throw CommandError{Usage, QStringLiteral("%1 must be a number: %2").arg(what, text)};
    return v;
}

} // namespace cangshu::admin
