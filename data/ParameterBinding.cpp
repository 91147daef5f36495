#include "ParameterBinding.h"

#include "Connection.h"
#include "Errors.h"
#include "FieldText.h"
#include "SqlDescriptorArea.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>
#include <QTime>

#include <limits>

namespace korvat {

namespace {

void bindText(SqlDescriptorArea& input, int index, const QByteArray& bytes)
{
    // Longer than SQL_TEXT can say; no column of this kind holds it either.
    constexpr qsizetype maxTextLength = std::numeric_limits<short>::max();
    if (bytes.size() > maxTextLength)
        throw stringTooLongError(bytes.size(), maxTextLength);
    input.bind(index, SQL_TEXT, bytes, short(bytes.size()));
    // The bytes are already in the connection's code page: no character set
    // of the column's description may be applied to them again.
    input.var(index).sqlsubtype = 0;
}

void bindDateTime(SqlDescriptorArea& input, int index, short sqlType, const QDateTime& value)
{
    const ISC_TIMESTAMP timestamp = encodeTimestamp(value);
    switch (sqlType) {
    case SQL_TYPE_DATE: input.bindValue(index, SQL_TYPE_DATE, timestamp.timestamp_date); break;
    case SQL_TYPE_TIME: input.bindValue(index, SQL_TYPE_TIME, timestamp.timestamp_time); break;
    default: input.bindValue(index, SQL_TIMESTAMP, timestamp); break;
    }
}

bool isDateOrTime(short sqlType)
{
    return sqlType == SQL_TYPE_DATE || sqlType == SQL_TYPE_TIME || sqlType == SQL_TIMESTAMP;
}

void bindTextValue(SqlDescriptorArea& input, int index, const ParameterColumn& column, const QString& text,
                   Connection& connection)
{
    if (column.sqlType == SQL_TEXT || column.sqlType == SQL_VARYING) {
        QByteArray bytes;
        if (!column.characterSet.encode(text, bytes))
            throw LayerError(unrepresentableTextMessage(text, column.characterSet));
        if (bytes.size() > column.length)
            throw stringTooLongError(bytes.size(), column.length);
        bindText(input, index, bytes);
    } else if (isDateOrTime(column.sqlType)) {
        const std::optional<QDateTime> value = readDateTimeText(text, QLocale::system());
        if (!value)
            throw LayerError(QStringLiteral("'%1' is not a valid date and time").arg(text));
        bindDateTime(input, index, column.sqlType, *value);
    } else if (text.isEmpty()) {
        input.bindNull(index);
    } else {
        bindText(input, index, connection.codePage().encode(text));  // a number's text: ASCII
    }
}

// A lone "yy" becomes "yyyy", so a typed four-digit year reads as written.
QString withFourDigitYear(const QString& format)
{
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    QString wide = format;
    return wide.replace(twoDigitYear, QStringLiteral("yyyy"));
}

// Two-digit years read as 19xx; put them within fifty years of today instead.
QDate inNearCentury(QDate date)
{
    const int today = QDate::currentDate().year();
    while (date.isValid() && date.year() < today - 50)
        date = date.addYears(100);
    return date;
}

}  // namespace

ParameterColumn describedColumn(const XSQLVAR& var)
{
    return {baseType(var), var.sqllen, CharacterSet::ofColumn(var)};
}

void bindParameter(SqlDescriptorArea& input, int index, const ParameterColumn& column,
                   const StatementParameter& parameter, Connection& connection)
{
    const StatementParameter::Value& value = parameter.value();
    if (const auto* text = std::get_if<QString>(&value))
        bindTextValue(input, index, column, *text, connection);
    else if (const auto* number = std::get_if<double>(&value))
        input.bindValue(index, SQL_DOUBLE, *number);
    else if (const auto* dateTime = std::get_if<QDateTime>(&value))
        bindDateTime(input, index, SQL_TIMESTAMP, *dateTime);
    else
        input.bindNull(index);
}

std::optional<QDateTime> readDateTimeText(QStringView text, const QLocale& locale)
{
    const QString trimmed = text.trimmed().toString();
    const QLocale c = QLocale::c();
    const QString isoDate = QStringLiteral("yyyy-MM-dd");
    const QStringList isoTimes = {QStringLiteral("HH:mm:ss.zzz"), QStringLiteral("HH:mm:ss"),
                                  QStringLiteral("HH:mm")};
    const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    const QStringList localeDates = {withFourDigitYear(shortDate), shortDate};
    const QStringList localeTimes = QStringList(isoTimes) << locale.timeFormat(QLocale::ShortFormat)
                                                          << locale.timeFormat(QLocale::LongFormat);

    if (const QDate date = c.toDate(trimmed, isoDate); date.isValid())
        return QDateTime(date, QTime(0, 0));
    for (const QString& time : isoTimes) {
        for (const QString& separator : {QStringLiteral(" "), QStringLiteral("'T'")}) {
            const QDateTime value = c.toDateTime(trimmed, isoDate + separator + time);
            if (value.isValid())
                return value;
        }
    }
    for (const QString& dateFormat : localeDates) {
        const bool twoDigitYear = dateFormat != localeDates.front();
        if (const QDate date = locale.toDate(trimmed, dateFormat); date.isValid())
            return QDateTime(twoDigitYear ? inNearCentury(date) : date, QTime(0, 0));
        for (const QString& time : localeTimes) {
            const QDateTime value = locale.toDateTime(trimmed, dateFormat + QLatin1Char(' ') + time);
            if (value.isValid())
                return QDateTime(twoDigitYear ? inNearCentury(value.date()) : value.date(), value.time());
        }
    }
    for (const QString& time : localeTimes) {
        if (const QTime value = locale.toTime(trimmed, time); value.isValid())
            return QDateTime(QDate(1899, 12, 30), value);
    }
    return std::nullopt;
}

ISC_TIMESTAMP encodeTimestamp(const QDateTime& value)
{
    if (!value.isValid())
        throw LayerError(QStringLiteral("Invalid argument to date encode"));
    // The client library's own reckoning, done here rather than by a call
    // into it for every value: days since 17 November 1858 on the Gregorian
    // calendar, and ten-thousandths of a second since midnight.
    const QDate date = value.date();
    const QTime time = value.time();
    int year = date.year();
    int month = date.month();
    if (month > 2) {
        month -= 3;
    } else {
        month += 9;
        year -= 1;
    }
    const qint64 century = year / 100;
    const qint64 yearOfCentury = year - 100 * century;
    ISC_TIMESTAMP timestamp{};
    timestamp.timestamp_date = ISC_DATE((146097 * century) / 4 + (1461 * yearOfCentury) / 4 +
                                        (153 * month + 2) / 5 + date.day() + 1721119 - 2400001);
    timestamp.timestamp_time =
        ISC_TIME(((time.hour() * 60 + time.minute()) * 60 + time.second()) * ISC_TIME_SECONDS_PRECISION);
    return timestamp;
}

}  // namespace korvat
