#pragma once

#include <algorithm>
#include <vector>

namespace korvat {

// Who closes whom. A connection lists the data sets and statements that work
// through it and the transactions that span it; a transaction lists its
// connections and the data sets and statements that work in it (a data set
// only while it is open). When an owner ends, it tells its members in the
// order they joined:
//
//   event (owner)              data set, free statement   transaction
//   -------------------------  -------------------------  ---------------------------
//   detach (connection)        closed, first              then ended by its default
//                                                         action (its users closed
//                                                         first); then the detach
//   connection lost            closed                     its users closed, its handle
//                                                         forgotten without calls
//   commit, rollback           closed, before the call    -
//   commit retaining           nothing: stays open        -
//   end of program             a destroyed connection does as at detach, quietly;
//   (destructors)              a destroyed transaction ends by its default action.
//                              Each object leaves its lists when it is destroyed;
//                              a connection and a transaction forget each other.
//
// Closed means: a data set drops a pending new or changed row, its cursor and
// its statements; a free statement loses its preparation and its handle.

// The objects registered with one owner, each once, in the order they joined.
template <typename Member> class MemberList {
public:
    MemberList() = default;
    MemberList(const MemberList&) = delete;
    MemberList& operator=(const MemberList&) = delete;

    void add(Member* member)
    {
        if (std::find(m_members.begin(), m_members.end(), member) == m_members.end())
            m_members.push_back(member);
    }
    void remove(Member* member)
    {
        m_members.erase(std::remove(m_members.begin(), m_members.end(), member), m_members.end());
    }
    const std::vector<Member*>& members() const { return m_members; }

    // Calls `tell` with each member in turn. The walk is over a copy: a member
    // that is told to close may leave the list, or make others leave it.
    template <typename Tell> void tellEach(Tell tell) const
    {
        for (Member* member : std::vector<Member*>(m_members))
            tell(*member);
    }

private:
    std::vector<Member*> m_members;
};

// An object's place in one owner's list for as long as this lives, or until
// leave(). The owner must outlive it.
template <typename Member> class Membership {
public:
    Membership() = default;
    Membership(MemberList<Member>& list, Member& member) { join(list, member); }
    ~Membership() { leave(); }
    Membership(const Membership&) = delete;
    Membership& operator=(const Membership&) = delete;

    void join(MemberList<Member>& list, Member& member)
    {
        leave();
        list.add(&member);
        m_list = &list;
        m_member = &member;
    }
    void leave() noexcept
    {
        if (m_list)
            m_list->remove(m_member);
        m_list = nullptr;
    }

private:
    MemberList<Member>* m_list = nullptr;
    Member* m_member = nullptr;
};

}  // namespace korvat
