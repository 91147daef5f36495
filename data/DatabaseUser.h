#pragma once

#include "Membership.h"

namespace korvat {

// A data set or statement object that works through a connection and a
// transaction. When either ends, the object is closed: a pending new or
// changed row is dropped and its statements lose their preparation.
class DatabaseUser {
public:
    virtual ~DatabaseUser() = default;
    virtual void closeForEnd() noexcept = 0;
};

using DatabaseUsers = MemberList<DatabaseUser>;

inline void closeAll(const DatabaseUsers& users) noexcept
{
    users.tellEach([](DatabaseUser& user) { user.closeForEnd(); });
}

}  // namespace korvat
