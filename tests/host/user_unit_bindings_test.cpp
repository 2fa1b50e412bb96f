// The dialog services for values in the user's units carry a double each way; the bindings
// must pass it through untouched, after the item and the zero, with the interface version last.
#include <gtest/gtest.h>

#include <map>

#include "host/services/nx_services.h"
#include "tests/support/host_fixture.h"

namespace {

using quortest::HostTest;

// Keeps the last value set for each item and answers it back.
class UserUnitBackend : public simhost::HostBackend {
public:
    std::map<std::int32_t, double> values;

    void GetDlgItemUser(HWND, std::int32_t item, std::int32_t, double* value) override {
        if (auto it = values.find(item); it != values.end()) *value = it->second;
    }
    void SetDlgItemUser(HWND, std::int32_t item, std::int32_t, double value) override {
        values[item] = value;
    }
};

class UserUnitBindings : public HostTest {
protected:
    UserUnitBindings() { Services().SetBackend(userUnits); }
    ~UserUnitBindings() override { Services().SetBackend(backend); }

    UserUnitBackend userUnits;
};

TEST_F(UserUnitBindings, AValueSetComesBackUnchanged) {
    NX_SetDlgItemUser(nullptr, 104, 0, 1.61803399);
    double value = 0.0;
    NX_GetDlgItemUser(nullptr, 104, 0, &value);
    EXPECT_EQ(value, 1.61803399);
    const auto& calls = Journal().Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].service, "NX_SetDlgItemUser");
    EXPECT_EQ(calls[0].args, (std::vector<std::int64_t>{0, 104, 0, 0x12050000}));
    EXPECT_EQ(calls[1].service, "NX_GetDlgItemUser");
    EXPECT_EQ(calls[1].args, (std::vector<std::int64_t>{0, 104, 0, 0x12050000}));
}

TEST_F(UserUnitBindings, AnAbsentServiceLeavesTheCallersValue) {
    Services().SetAbsent("NX_GetDlgItemUser");
    userUnits.values[104] = 2.0;
    double value = 7.5;
    NX_GetDlgItemUser(nullptr, 104, 0, &value);
    EXPECT_EQ(value, 7.5);
    EXPECT_TRUE(Journal().Calls().empty());
}

}  // namespace
