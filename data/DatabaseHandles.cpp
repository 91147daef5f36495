#include "DatabaseHandles.h"

namespace korvat::handle_release {

ISC_STATUS detach(const ClientLibrary& client, isc_db_handle* handle)
{
    StatusVector status;
    return client.isc_detach_database(status.get(), handle);
}

ISC_STATUS rollback(const ClientLibrary& client, isc_tr_handle* handle)
{
    StatusVector status;
    return client.isc_rollback_transaction(status.get(), handle);
}

ISC_STATUS dropStatement(const ClientLibrary& client, isc_stmt_handle* handle)
{
    StatusVector status;
    return client.isc_dsql_free_statement(status.get(), handle, DSQL_drop);
}

ISC_STATUS detachService(const ClientLibrary& client, isc_svc_handle* handle)
{
    StatusVector status;
    return client.isc_service_detach(status.get(), handle);
}

}  // namespace korvat::handle_release
