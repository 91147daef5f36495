#pragma once

#include <ibase.h>

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace korvat {

// Every entry point of the Firebird client library that the data layer calls.
// Loading checks each of them, so a library lacking one is refused up front.
#define KORVAT_CLIENT_ENTRY_POINTS(X)                                                                        \
    X(isc_attach_database)                                                                                   \
    X(isc_detach_database)                                                                                   \
    X(isc_database_info)                                                                                     \
    X(isc_start_multiple)                                                                                    \
    X(isc_commit_retaining)                                                                                  \
    X(isc_commit_transaction)                                                                                \
    X(isc_rollback_transaction)                                                                              \
    X(isc_dsql_alloc_statement2)                                                                             \
    X(isc_dsql_prepare)                                                                                      \
    X(isc_dsql_describe)                                                                                     \
    X(isc_dsql_describe_bind)                                                                                \
    X(isc_dsql_execute)                                                                                      \
    X(isc_dsql_fetch)                                                                                        \
    X(isc_dsql_free_statement)                                                                               \
    X(isc_dsql_sql_info)                                                                                     \
    X(isc_sqlcode)                                                                                           \
    X(fb_interpret)                                                                                          \
    X(fb_shutdown_callback)                                                                                  \
    X(isc_service_attach)                                                                                    \
    X(isc_service_detach)                                                                                    \
    X(isc_service_start)                                                                                     \
    X(isc_service_query)

// The loaded client library: a dlopen handle and the checked entry points.
// One instance is shared by both connections and stays loaded while any
// object of the data layer still uses it.
class ClientLibrary {
public:
    static constexpr const char* defaultFileName = "libfbclient.so.2";

    // Loads the library; throws ClientLibraryError when it or an entry point is missing.
    // The library is told to leave SIGINT and SIGTERM to the program: a
    // program using it must handle them itself (see TerminationSignals).
    static std::shared_ptr<ClientLibrary> load(
        const QString& fileName = QString::fromLatin1(defaultFileName));

    ~ClientLibrary();
    ClientLibrary(const ClientLibrary&) = delete;
    ClientLibrary& operator=(const ClientLibrary&) = delete;

    const QString& fileName() const { return m_fileName; }

#define KORVAT_DECLARE_ENTRY_POINT(name) decltype(&::name) name = nullptr;
    KORVAT_CLIENT_ENTRY_POINTS(KORVAT_DECLARE_ENTRY_POINT)
#undef KORVAT_DECLARE_ENTRY_POINT

    // Throws the error that a failed status vector describes (the one place
    // that interprets status vectors). Does nothing when the call succeeded.
    void check(const ISC_STATUS* status) const;

    // The integer value of an item in the reply of an info call
    // (isc_database_info, isc_dsql_sql_info), nothing when the reply lacks it.
    static std::optional<qint64> infoValue(QByteArrayView reply, char item);

    // True when a failed call's status vector names the error code anywhere
    // among its messages.
    static bool statusContains(const ISC_STATUS* status, ISC_STATUS code);
    // The number arguments that follow `code` in the status vector.
    static QList<long> statusNumbers(const ISC_STATUS* status, ISC_STATUS code);

    // Keeps, for as long as the library stays loaded, a handle variable that
    // the library may still clear when it drops an object it was never told
    // to release.
    void keepAbandonedCell(std::unique_ptr<FB_API_HANDLE> cell) noexcept;

private:
    explicit ClientLibrary(QString fileName);

    QString m_fileName;
    void* m_handle = nullptr;
    std::vector<std::unique_ptr<FB_API_HANDLE>> m_abandonedCells;
};

// A status vector for one client call.
struct StatusVector {
    ISC_STATUS_ARRAY status{};
    ISC_STATUS* get() { return status; }
    bool failed() const { return status[0] == 1 && status[1] != 0; }
};

}  // namespace korvat
