#include "Errors.h"

#include <utility>

namespace korvat {

DataError::DataError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8())
{
}

QString prefixed(const QString& objectName, const QString& message)
{
    return objectName.isEmpty() ? message : objectName + QStringLiteral(": ") + message;
}

SettingReadError::SettingReadError(const QString& objectName, const QString& settingName,
                                   const QString& message)
    : DataError(QStringLiteral("Error reading %1%2%3: %4")
                    .arg(objectName, QStringLiteral("."), settingName, message))
{
}

ServerError::ServerError(QString message, long sqlCode, long engineCode)
    : DataError(std::move(message)), m_sqlCode(sqlCode), m_engineCode(engineCode)
{
}

}  // namespace korvat
