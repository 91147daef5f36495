#pragma once

#include "ClientHandle.h"
#include "ClientLibrary.h"

namespace korvat {

// The quiet ways to give each kind of handle back.
namespace handle_release {
ISC_STATUS detach(const ClientLibrary& client, isc_db_handle* handle);
ISC_STATUS rollback(const ClientLibrary& client, isc_tr_handle* handle);
ISC_STATUS dropStatement(const ClientLibrary& client, isc_stmt_handle* handle);
ISC_STATUS detachService(const ClientLibrary& client, isc_svc_handle* handle);
}  // namespace handle_release

using AttachmentHandle = ClientHandle<isc_db_handle, handle_release::detach>;
using TransactionHandle = ClientHandle<isc_tr_handle, handle_release::rollback>;
using StatementHandle = ClientHandle<isc_stmt_handle, handle_release::dropStatement>;
using ServiceHandle = ClientHandle<isc_svc_handle, handle_release::detachService>;

}  // namespace korvat
