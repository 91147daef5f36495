#include "ErrorText.h"

#include "Errors.h"

#include <stdexcept>

namespace {

QString messageOf(const std::exception& error)
{
    if (auto dataError = dynamic_cast<const korvat::DataError*>(&error))
        return dataError->message();
    return QString::fromUtf8(error.what());
}

QString innermostMessage(const std::exception& error)
{
    try {
        std::rethrow_if_nested(error);
    } catch (const std::exception& inner) {
        const QString message = innermostMessage(inner);
        if (!message.isEmpty())
            return message;
    } catch (...) {
    }
    return messageOf(error);
}

}  // namespace

QString messageForErrorBox(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& caught) {
        return messageForErrorBox(caught);
    } catch (...) {
        // Not one of ours nor of the standard library: nothing to read from it.
        return messageForErrorBox(std::runtime_error("Unknown error"));
    }
}

QString withPeriodIfNeeded(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

QString messageForErrorBox(const std::exception& error)
{
    return withPeriodIfNeeded(innermostMessage(error));
}

QString startupFailureText(const QString& typeName, const QString& moduleName, quintptr address,
                           const QString& message)
{
    const QString period =
        !message.isEmpty() && !message.endsWith(QLatin1Char('.')) ? QStringLiteral(".") : QString();
    return QStringLiteral("Exception %1 in module %2 at %3.\r\n%4%5\r\n")
        .arg(typeName, moduleName,
             QStringLiteral("%1").arg(address, int(sizeof(quintptr) * 2), 16, QLatin1Char('0')).toUpper(),
             message, period);
}

QString errorTypeName(const std::exception& error)
{
    if (auto dataError = dynamic_cast<const korvat::DataError*>(&error))
        return QString::fromLatin1(dataError->typeName());
    return QStringLiteral("Exception");
}
