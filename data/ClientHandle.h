#pragma once

#include "ClientLibrary.h"

#include <memory>
#include <utility>

namespace korvat {

// Move-only owner of one client-library handle. The release function is the
// quiet way to give the handle back (detach, roll back, drop); it runs only
// when the owner still holds a handle, never throws, and never commits.
//
// The client library remembers the address of the variable that received a
// handle and clears it when the object behind the handle goes away, so the
// handle lives in a cell of its own whose address stays the same however
// often its owner moves. Every call that creates a handle must be given
// address(), never a temporary.
template <typename Handle, ISC_STATUS (*Release)(const ClientLibrary&, Handle*)> class ClientHandle {
public:
    explicit ClientHandle(std::shared_ptr<ClientLibrary> client)
        : m_client(std::move(client)), m_cell(std::make_unique<Handle>(0))
    {
    }
    ~ClientHandle() { reset(); }

    ClientHandle(ClientHandle&& other) noexcept = default;
    ClientHandle& operator=(ClientHandle&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_client = std::move(other.m_client);
            m_cell = std::move(other.m_cell);
        }
        return *this;
    }
    ClientHandle(const ClientHandle&) = delete;
    ClientHandle& operator=(const ClientHandle&) = delete;

    Handle* address() { return m_cell.get(); }
    Handle value() const { return m_cell ? *m_cell : 0; }
    bool isSet() const { return value() != 0; }

    // Gives the handle back quietly, ignoring what the server says.
    void reset() noexcept
    {
        if (!m_cell || !*m_cell)
            return;
        if (m_client && Release(*m_client, m_cell.get()) == 0)
            *m_cell = 0;
        else
            abandon();
    }

    // Forgets a handle that the client has released already.
    void forget() noexcept
    {
        if (m_cell)
            *m_cell = 0;
    }

    // Forgets a handle whose object the client still holds: the server is
    // gone and no call can release it. The client keeps the cell's address.
    void abandon() noexcept
    {
        if (!m_cell || !*m_cell)
            return;
        if (m_client)
            m_client->keepAbandonedCell(std::move(m_cell));
        m_cell = std::make_unique<Handle>(0);
    }

private:
    std::shared_ptr<ClientLibrary> m_client;
    std::unique_ptr<Handle> m_cell;
};

}  // namespace korvat
