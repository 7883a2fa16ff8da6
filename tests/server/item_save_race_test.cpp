#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/server/back_office.h"

namespace vym {
namespace {

struct StationTally {
    int saved = -1;
    int conflicts = -1;
    int reported = -1;
    int failed = -1;
};

StationTally ReadTally(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    StationTally t;
    std::sscanf(line.c_str(), "saved=%d conflicts=%d reported=%d failed=%d", &t.saved, &t.conflicts,
                &t.reported, &t.failed);
    return t;
}

// Two processes read, change and save one item 500 times each, at the same
// time: every cycle either saves or is told that the other station saved
// first, and the counter they both add to loses no save.
TEST(ItemSaveRace, TwoStationsLoseNoUpdateAndEveryConflictIsReportedToTheSecondSaver) {
    constexpr int kCycles = 500;
    test::BackOffice office;
    office.Sql("UPDATE vym_item SET comment_note = '0' WHERE item_no = 100");
    const std::filesystem::path dir = office.Dir();
    const auto station = [&](const std::string& user, const std::string& other) {
        std::string line = "'";
        line += VYM_SAVE_STATION;
        line += "' '" + office.Path() + "' " + user + " 100 " + std::to_string(kCycles) + " " +
                other + " >'" + (dir / user).string() + "' 2>&1";
        return line;
    };
    const std::string both =
        "(" + station("ALICE", "BOB") + " & " + station("BOB", "ALICE") + " & wait)";
    ASSERT_EQ(std::system(both.c_str()), 0);

    const StationTally alice = ReadTally(dir / "ALICE");
    const StationTally bob = ReadTally(dir / "BOB");
    for (const StationTally& t : {alice, bob}) {
        EXPECT_EQ(t.failed, 0);
        EXPECT_EQ(t.saved + t.conflicts, kCycles);
        EXPECT_EQ(t.reported, t.conflicts);
    }
    EXPECT_EQ(office.Scalar("SELECT CAST(comment_note AS int) FROM vym_item WHERE item_no = 100"),
              alice.saved + bob.saved);
}

}  // namespace
}  // namespace vym
