#include "formats/product_version.h"

#include <gtest/gtest.h>

namespace kelvara {
namespace {

int sign(int order) {
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

// Each pair in ascending order, and the same versions written differently.
TEST(ProductVersion, OrdersAsPeopleReadVersions) {
    const char* const ascending[][2] = {
        {"2.1.0", "2.1.1"},
        {"2.1.9", "2.1.10"},
        {"1.99", "2.0"},
        {"2.1", "2.1.0.1"},
        {"2.1.0-beta", "2.1.0"},
        {"2.1.0-alpha", "2.1.0-beta"},
        {"", "0.0.1"},
        {"9", "10"},
        {"2.01", "2.2"},
        {"1.2.3b", "1.2.3"},
        {"2.1.0-beta", "2.1"},
        {"2.0.9", "2.1-rc1"},
        {"4294967295", "4294967296"},
        {"2.1.0RC1", "2.1.0rc2"},
    };
    for (const auto& pair : ascending) {
        EXPECT_EQ(sign(compareProductVersions(pair[0], pair[1])), -1)
            << pair[0] << " before " << pair[1];
        EXPECT_EQ(sign(compareProductVersions(pair[1], pair[0])), 1)
            << pair[1] << " after " << pair[0];
    }
    const char* const same[][2] = {
        {"2.1", "2.1.0"},  {"2.1.0", "2.1.0.0.0"},
        {"02.001", "2.1"}, {"1.0-Beta", "1.0-beta"},
        {nullptr, ""},     {"0", ""},
        {"3.0.", "3"},
    };
    for (const auto& pair : same) {
        EXPECT_EQ(compareProductVersions(pair[0], pair[1]), 0)
            << (pair[0] ? pair[0] : "(null)") << " = " << pair[1];
    }
}

}  // namespace
}  // namespace kelvara
