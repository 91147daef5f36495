#pragma once

#include "ClientLibrary.h"

#include <QtGlobal>

#include <utility>
#include <vector>

namespace korvat {

// Calls into the client library, counted by entry point, for the benchmark
// that compares the window's calls per row with a floor program's. Counting
// is off unless enabled before a library is loaded; the program never
// enables it, so its calls go straight to the library.
//
// The entry points are plain C function pointers, which carry no context,
// so the counts are kept once for the process.
namespace client_calls {

enum class EntryPoint : int {
#define KORVAT_ENTRY_POINT_ENUMERATOR(name) name,
    KORVAT_CLIENT_ENTRY_POINTS(KORVAT_ENTRY_POINT_ENUMERATOR)
#undef KORVAT_ENTRY_POINT_ENUMERATOR
    count
};

// Libraries loaded from now on route every entry point through a counter.
void enable();
bool enabled();

// The calls counted so far, by entry point name, in the table's order.
std::vector<std::pair<const char*, quint64>> counts();

// Routes one loaded entry point through its counter (used while loading).
template <EntryPoint Which, typename Function> Function counting(Function real);

namespace detail {
void add(EntryPoint which) noexcept;

template <EntryPoint Which, typename Function> struct Counter;

template <EntryPoint Which, typename Result, typename... Arguments>
struct Counter<Which, Result (*)(Arguments...)> {
    static inline Result (*real)(Arguments...) = nullptr;
    static Result call(Arguments... arguments)
    {
        add(Which);
        return real(arguments...);
    }
};
}  // namespace detail

template <EntryPoint Which, typename Function> Function counting(Function real)
{
    detail::Counter<Which, Function>::real = real;
    return &detail::Counter<Which, Function>::call;
}

}  // namespace client_calls
}  // namespace korvat
