#include "ClientCallCounts.h"

#include <array>
#include <atomic>

namespace korvat::client_calls {

namespace {

constexpr auto entryPointCount = std::size_t(EntryPoint::count);

std::atomic<bool> countingOn{false};
std::array<std::atomic<quint64>, entryPointCount> tally{};

constexpr std::array<const char*, entryPointCount> names = {
#define KORVAT_ENTRY_POINT_NAME(name) #name,
    KORVAT_CLIENT_ENTRY_POINTS(KORVAT_ENTRY_POINT_NAME)
#undef KORVAT_ENTRY_POINT_NAME
};

}  // namespace

void enable()
{
    countingOn = true;
}

bool enabled()
{
    return countingOn;
}

std::vector<std::pair<const char*, quint64>> counts()
{
    std::vector<std::pair<const char*, quint64>> result;
    for (std::size_t i = 0; i < entryPointCount; ++i)
        result.emplace_back(names[i], tally[i].load(std::memory_order_relaxed));
    return result;
}

void detail::add(EntryPoint which) noexcept
{
    tally[std::size_t(which)].fetch_add(1, std::memory_order_relaxed);
}

}  // namespace korvat::client_calls
