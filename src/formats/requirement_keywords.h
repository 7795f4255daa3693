// The keywords of the requirements record: what a script may demand of the system, in the order
// of the releases they name. The engine's check and the builder's reader both take them from
// here.
#pragma once
#include <cstddef>
#include <string_view>

namespace kelvara {

// "NT" asks for the NT platform; every other keyword is a minimum release.
inline constexpr const char* kWindowsRequirementKeywords[] = {"NT", "95OSR2", "NT4", "98",  "98SE",
                                                              "ME", "2000",   "XP",  "2003"};
inline constexpr const char* kDirectXRequirementKeywords[] = {"1.0", "2.0", "3.0", "5.0", "6.0",
                                                              "6.1", "7.0", "8.0", "8.1", "9.0"};
inline constexpr const char* kIeRequirementKeywords[] = {
    "3.0",     "3.01",    "3.02",    "4.0", "4.01",   "4.01SP1", "4.01SP2", "5.0",   "5.01",
    "5.01SP1", "5.01SP2", "5.01SP3", "5.5", "5.5SP1", "5.5SP2",  "6.0",     "6.0SP1"};
inline constexpr const char* kAccessRequirementKeywords[] = {"97",      "97SR1",   "97SR2", "2000",
                                                             "2000SR1", "2000SR2", "XP"};

// True when `rows` (each with a `keyword`) names exactly `keywords` from `first` on, in order:
// lets a table of the engine's own check at compile time that it covers the record's keywords.
template <typename Row, std::size_t N, std::size_t M>
constexpr bool coversKeywords(const Row (&rows)[N], const char* const (&keywords)[M],
                              std::size_t first = 0) {
    if (N != M - first) return false;
    for (std::size_t i = 0; i < N; ++i) {
        if (std::string_view(rows[i].keyword) != std::string_view(keywords[first + i]))
            return false;
    }
    return true;
}

}  // namespace kelvara
