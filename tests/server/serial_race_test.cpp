#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/server/back_office.h"

namespace vym {
namespace {

struct Tally {
    int generated = -1;
    int typed = -1;
    int notUnique = -1;
    int failed = -1;
};

Tally ReadSerialTally(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    Tally t;
    std::sscanf(line.c_str(), "generated=%d typed=%d notunique=%d failed=%d", &t.generated,
                &t.typed, &t.notUnique, &t.failed);
    return t;
}

// Two processes make 1,000 units each of one item at one location at the
// same time: every generated id saves, each id both type by hand saves once
// and the other station is told it is not unique, and no id is held twice.
TEST(SerialRace, TwoStationsNeverSaveOneSerialIdTwice) {
    constexpr int kCycles = 1000;
    test::BackOffice office;
    const std::filesystem::path dir = office.Dir();
    const auto station = [&](const std::string& user) {
        return "'" + std::string(VYM_SERIAL_STATION) + "' '" + office.Path() + "' " + user +
               " 600 BASE " + std::to_string(kCycles) + " TYPED- >'" + (dir / user).string() +
               "' 2>&1";
    };
    const std::string both = "(" + station("ADMIN") + " & " + station("RMILLER") + " & wait)";
    ASSERT_EQ(std::system(both.c_str()), 0);

    const Tally admin = ReadSerialTally(dir / "ADMIN");
    const Tally rmiller = ReadSerialTally(dir / "RMILLER");
    for (const Tally& t : {admin, rmiller}) {
        EXPECT_EQ(t.generated, kCycles);
        EXPECT_EQ(t.failed, 0);
    }
    EXPECT_EQ(admin.typed + rmiller.typed, kCycles);
    EXPECT_EQ(admin.notUnique + rmiller.notUnique, kCycles);
    EXPECT_EQ(office.Scalar("SELECT count(*) FROM vym_item_stock_serial WHERE item_no = 600"),
              5 + 3 * kCycles);
    EXPECT_EQ(office.Scalar("SELECT count(DISTINCT upper(serial_id)) FROM vym_item_stock_serial "
                            "WHERE item_no = 600"),
              5 + 3 * kCycles);
}

}  // namespace
}  // namespace vym
