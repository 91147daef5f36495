#include "DatabaseBackup.h"

#include "Connection.h"
#include "DatabaseHandles.h"
#include "Errors.h"

#include <QFileInfo>
#include <QIODevice>
#include <QtEndian>

#include <array>

namespace korvat {

namespace {

QString parameter(const QStringList& lines, QLatin1StringView name)
{
    for (const QString& line : lines)
        if (line.startsWith(name, Qt::CaseInsensitive) && line.size() > name.size() &&
            line[name.size()] == u'=')
            return line.mid(name.size() + 1);
    return QString();
}

void appendShort(QByteArray& block, char item, const QByteArray& value)
{
    block.append(item);
    block.append(char(value.size()));
    block.append(value);
}

void appendLong(QByteArray& block, char item, const QByteArray& value)
{
    block.append(item);
    const quint16 length = qToLittleEndian(quint16(value.size()));
    block.append(reinterpret_cast<const char*>(&length), sizeof length);
    block.append(value);
}

}  // namespace

DatabaseBackup::DatabaseBackup(Connection& connection)
    : m_client(connection.sharedClient()),
      m_user(parameter(connection.params(), QLatin1StringView("user_name"))),
      m_password(parameter(connection.params(), QLatin1StringView("password")))
{
    // "host/port:path" through that server, a plain path through the engine
    // that opened it: the embedded one, or the local server it was reached by.
    const QString attached = connection.attachedName();
    const qsizetype colon = isLocalDatabaseName(attached) ? -1 : attached.indexOf(QLatin1Char(':'));
    if (colon < 0) {
        m_serviceName = QStringLiteral("service_mgr");
        m_databasePath = QFileInfo(attached).absoluteFilePath();
    } else {
        m_serviceName = attached.left(colon) + QStringLiteral(":service_mgr");
        m_databasePath = attached.mid(colon + 1);
    }
}

void DatabaseBackup::writeTo(QIODevice& out)
{
    ClientLibrary& client = *m_client;
    ServiceHandle service(m_client);
    StatusVector status;

    QByteArray attachBlock;
    attachBlock.append(char(isc_spb_version));
    attachBlock.append(char(isc_spb_current_version));
    appendShort(attachBlock, isc_spb_user_name, m_user.toUtf8());
    appendShort(attachBlock, isc_spb_password, m_password.toUtf8());
    const QByteArray name = m_serviceName.toUtf8();
    client.isc_service_attach(status.get(), static_cast<unsigned short>(name.size()), name.constData(),
                              service.address(), static_cast<unsigned short>(attachBlock.size()),
                              attachBlock.constData());
    if (status.failed()) {
        service.forget();
        client.check(status.get());
    }

    QByteArray request;
    request.append(char(isc_action_svc_backup));
    appendLong(request, isc_spb_dbname, encodeDatabaseName(m_databasePath));
    appendLong(request, isc_spb_bkp_file, QByteArrayLiteral("stdout"));  // the stream comes back here
    client.isc_service_start(status.get(), service.address(), nullptr,
                             static_cast<unsigned short>(request.size()), request.constData());
    client.check(status.get());

    // Each answer: [isc_info_svc_to_eof][length, 2 bytes][bytes], then
    // isc_info_end or isc_info_truncated; an empty piece ends the stream.
    const char items[] = {isc_info_svc_to_eof};
    std::array<char, 65000> reply{};
    for (;;) {
        client.isc_service_query(status.get(), service.address(), nullptr, 0, nullptr, sizeof items, items,
                                 static_cast<unsigned short>(reply.size()), reply.data());
        client.check(status.get());
        if (reply[0] != isc_info_svc_to_eof)
            throw LayerError(QStringLiteral("The backup service gave an unexpected answer"));
        const quint16 length = qFromLittleEndian<quint16>(reply.data() + 1);
        if (length > reply.size() - 3)
            throw LayerError(QStringLiteral("The backup service gave an unexpected answer"));
        if (length == 0 && reply[3] != isc_info_truncated)
            break;
        if (out.write(reply.data() + 3, length) != length)
            throw LayerError(QStringLiteral("Yedek dosyası yazılamadı: %1").arg(out.errorString()));
    }
    service.reset();
}

}  // namespace korvat
