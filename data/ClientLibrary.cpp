#include "ClientLibrary.h"

#include "AnsiCodePage.h"
#include "ClientCallCounts.h"
#include "ClientEnvironment.h"
#include "Errors.h"

#include <QFile>
#include <QtEndian>
#include <dlfcn.h>

namespace korvat {

namespace {

QString missingLibraryMessage(const QString& fileName)
{
    return QStringLiteral("InterBase library %1 not found in the path. Please install InterBase to use this "
                          "functionality")
        .arg(fileName);
}

constexpr long noPermissionSqlCode = -551;
constexpr long lostConnectionSqlCode = -902;
constexpr int interpretBufferSize = 20480;

// On SIGINT and SIGTERM the library would shut every attachment down by
// itself, behind the program's back: rows already reported would be rolled
// back and every handle left invalid while the window stays open. The
// program ends its connections itself, so it refuses that shutdown; the one
// at the end of the process goes ahead.
int refuseShutdownOnSignal(const int reason, const int, void*)
{
    return reason == fb_shutrsn_signal ? 1 : 0;
}

bool isConnectionLost(long sqlCode, long engineCode)
{
    // A server that vanished shows first as a failed read or write on the
    // connection, and only afterwards as the network error proper; all of
    // them leave a connection that no further call can use.
    switch (engineCode) {
    case isc_network_error:
    case isc_net_read_err:
    case isc_net_write_err:
    case isc_lost_db_connection: return sqlCode == lostConnectionSqlCode;
    default: return false;
    }
}

}  // namespace

ClientLibrary::ClientLibrary(QString fileName) : m_fileName(std::move(fileName))
{
}

ClientLibrary::~ClientLibrary()
{
    // A loaded library stays loaded until the program ends: its engine may
    // still run threads of its own, and it may still write abandoned cells.
    for (std::unique_ptr<FB_API_HANDLE>& cell : m_abandonedCells)
        (void)cell.release();
}

void ClientLibrary::keepAbandonedCell(std::unique_ptr<FB_API_HANDLE> cell) noexcept
{
    try {
        m_abandonedCells.push_back(std::move(cell));
    } catch (...) {
        (void)cell.release();  // out of memory: leak it rather than free it
    }
}

std::shared_ptr<ClientLibrary> ClientLibrary::load(const QString& fileName)
{
    // The embedded engine needs a lock folder it may write, and file names in UTF-8.
    prepareClientEnvironment();

    std::shared_ptr<ClientLibrary> library(new ClientLibrary(fileName));
    library->m_handle = dlopen(QFile::encodeName(fileName).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library->m_handle)
        throw ClientLibraryError(missingLibraryMessage(fileName));

#define KORVAT_RESOLVE_ENTRY_POINT(name)                                                                     \
    library->name = reinterpret_cast<decltype(&::name)>(dlsym(library->m_handle, #name));                    \
    if (!library->name) {                                                                                    \
        dlclose(library->m_handle);                                                                          \
        throw ClientLibraryError(missingLibraryMessage(fileName));                                           \
    }
    KORVAT_CLIENT_ENTRY_POINTS(KORVAT_RESOLVE_ENTRY_POINT)
#undef KORVAT_RESOLVE_ENTRY_POINT

    if (client_calls::enabled()) {
#define KORVAT_COUNT_ENTRY_POINT(name)                                                                       \
    library->name = client_calls::counting<client_calls::EntryPoint::name>(library->name);
        KORVAT_CLIENT_ENTRY_POINTS(KORVAT_COUNT_ENTRY_POINT)
#undef KORVAT_COUNT_ENTRY_POINT
    }

    StatusVector status;
    library->fb_shutdown_callback(status.get(), refuseShutdownOnSignal, fb_shut_confirmation, nullptr);
    library->check(status.get());
    return library;
}

std::optional<qint64> ClientLibrary::infoValue(QByteArrayView reply, char item)
{
    // Items as [code][length, 2 bytes][value of that many bytes], numbers
    // little-endian, as isc_vax_integer reads them; decoded here rather than
    // by a call into the library for each statement.
    for (qsizetype at = 0; at + 3 <= reply.size() && reply[at] != isc_info_end;) {
        const char code = reply[at];
        const qsizetype length = qFromLittleEndian<quint16>(reply.data() + at + 1);
        if (at + 3 + length > reply.size())
            break;
        if (code == item && length > 0 && length <= 8) {
            qint64 value = 0;
            for (qsizetype i = length - 1; i >= 0; --i)
                value = (value << 8) | quint8(reply[at + 3 + i]);
            return value;
        }
        at += 3 + length;
    }
    return std::nullopt;
}

bool ClientLibrary::statusContains(const ISC_STATUS* status, ISC_STATUS code)
{
    // Arguments as [kind][value], a counted string as [kind][length][pointer].
    for (int at = 0; at < ISC_STATUS_LENGTH - 1 && status[at] != isc_arg_end;) {
        if (status[at] == isc_arg_gds && status[at + 1] == code)
            return true;
        at += status[at] == isc_arg_cstring ? 3 : 2;
    }
    return false;
}

QList<long> ClientLibrary::statusNumbers(const ISC_STATUS* status, ISC_STATUS code)
{
    QList<long> numbers;
    bool inCode = false;
    for (int at = 0; at < ISC_STATUS_LENGTH - 1 && status[at] != isc_arg_end;) {
        if (status[at] == isc_arg_gds) {
            if (inCode)
                break;
            inCode = status[at + 1] == code;
        } else if (inCode && status[at] == isc_arg_number) {
            numbers.append(long(status[at + 1]));
        }
        at += status[at] == isc_arg_cstring ? 3 : 2;
    }
    return numbers;
}

void ClientLibrary::check(const ISC_STATUS* status) const
{
    if (!(status[0] == 1 && status[1] != 0))
        return;

    const long sqlCode = isc_sqlcode(status);
    const long engineCode = status[1];

    // The server's lines, message by message. File names in them are UTF-8,
    // as the program sends them; data values are in the code page, whose
    // Turkish texts are almost never valid UTF-8.
    AnsiCodePage codePage;
    QString text;
    const ISC_STATUS* cursor = status;
    char buffer[interpretBufferSize];
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0) {
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
            text += QStringLiteral("\r\n");
        const QByteArrayView line(buffer, qstrnlen(buffer, sizeof buffer));
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString asUtf8 = utf8.decode(line);
        text += utf8.hasError() ? codePage.decode(line) : asUtf8;
    }
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);

    if (sqlCode == noPermissionSqlCode)
        throw NoPermissionError(text, sqlCode, engineCode);
    if (isConnectionLost(sqlCode, engineCode))
        throw ConnectionLostError(text, sqlCode, engineCode);
    throw ServerError(text, sqlCode, engineCode);
}

}  // namespace korvat
