#pragma once

#include "ClientLibrary.h"

#include <memory>
#include <utility>

namespace korvat {

// Move-only owner of one client-library handle. The release function is the
// quiet way to give the handle back (detach, roll back, drop); it runs only
// when the owner still holds a handle, never throws, and never commits.
template <typename Handle, ISC_STATUS (*Release)(const ClientLibrary&, Handle*)>
class ClientHandle {
public:
    ClientHandle() = default;
    explicit ClientHandle(std::shared_ptr<ClientLibrary> client) : m_client(std::move(client)) {}
    ~ClientHandle() { reset(); }

    ClientHandle(ClientHandle&& other) noexcept
        : m_client(std::move(other.m_client)), m_handle(std::exchange(other.m_handle, 0))
    {
    }
    ClientHandle& operator=(ClientHandle&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_client = std::move(other.m_client);
            m_handle = std::exchange(other.m_handle, 0);
        }
        return *this;
    }
    ClientHandle(const ClientHandle&) = delete;
    ClientHandle& operator=(const ClientHandle&) = delete;

    Handle* address() { return &m_handle; }
    Handle value() const { return m_handle; }
    bool isSet() const { return m_handle != 0; }

    // Gives the handle back quietly, ignoring what the server says.
    void reset() noexcept
    {
        if (m_handle && m_client)
            Release(*m_client, &m_handle);
        m_handle = 0;
    }

    // Forgets the handle without a call: the client has already freed it.
    void forget() noexcept { m_handle = 0; }

private:
    std::shared_ptr<ClientLibrary> m_client;
    Handle m_handle = 0;
};

namespace handle_release {
inline ISC_STATUS detach(const ClientLibrary& client, isc_db_handle* handle)
{
    StatusVector status;
    return client.isc_detach_database(status.get(), handle);
}
inline ISC_STATUS rollback(const ClientLibrary& client, isc_tr_handle* handle)
{
    StatusVector status;
    return client.isc_rollback_transaction(status.get(), handle);
}
inline ISC_STATUS dropStatement(const ClientLibrary& client, isc_stmt_handle* handle)
{
    StatusVector status;
    return client.isc_dsql_free_statement(status.get(), handle, DSQL_drop);
}
}  // namespace handle_release

using AttachmentHandle = ClientHandle<isc_db_handle, handle_release::detach>;
using TransactionHandle = ClientHandle<isc_tr_handle, handle_release::rollback>;
using StatementHandle = ClientHandle<isc_stmt_handle, handle_release::dropStatement>;

}  // namespace korvat
