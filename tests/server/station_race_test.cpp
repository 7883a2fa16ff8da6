// Two station programs at the same time on one back office: they must lose
// no save and never hold one serial id twice.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "support/server/back_office.h"

namespace vym {
namespace {

using Tally = std::map<std::string, int>;

// Runs `program` on the office's database as each of `users` at once, with
// the arguments `rest` gives that user, and reads the "name=count" words each
// printed.
template <class Rest>
std::map<std::string, Tally> Race(const test::BackOffice& office, const char* program,
                                  const std::vector<std::string>& users, Rest rest) {
    std::string all = "(";
    for (const std::string& user : users) {
        all += std::string("'") + program + "' '" + office.Path() + "' " + user + " " + rest(user) +
               " >'" + (office.Dir() / user).string() + "' 2>&1 & ";
    }
    EXPECT_EQ(std::system((all + "wait)").c_str()), 0);
    std::map<std::string, Tally> tallies;
    for (const std::string& user : users) {
        Tally& tally = tallies[user];
        std::ifstream in(office.Dir() / user);
        for (std::string word; in >> word;) {
            tally[word.substr(0, word.find('='))] = std::stoi(word.substr(word.find('=') + 1));
        }
    }
    return tallies;
}

// Each reads, changes and saves one item 500 times: every cycle either saves
// or is told that the other station saved first, and the counter they both
// add to loses no save.
TEST(ItemSaveRace, TwoStationsLoseNoUpdateAndEveryConflictIsReportedToTheSecondSaver) {
    constexpr int kCycles = 500;
    test::BackOffice office;
    office.Sql("UPDATE vym_item SET comment_note = '0' WHERE item_no = 100");
    auto tallies = Race(office, VYM_SAVE_STATION, {"ALICE", "BOB"}, [](const std::string& user) {
        return "100 " + std::to_string(kCycles) + (user == "ALICE" ? " BOB" : " ALICE");
    });
    for (const auto& [user, t] : tallies) {
        EXPECT_EQ(t.at("failed"), 0) << user;
        EXPECT_EQ(t.at("saved") + t.at("conflicts"), kCycles) << user;
        EXPECT_EQ(t.at("reported"), t.at("conflicts")) << user;
    }
    EXPECT_EQ(office.Scalar("SELECT CAST(comment_note AS int) FROM vym_item WHERE item_no = 100"),
              tallies["ALICE"]["saved"] + tallies["BOB"]["saved"]);
}

// Each makes 1,000 units of one item at one location: every generated id
// saves, each id both type by hand saves once and the other station is told
// it is not unique, and no id is held twice.
TEST(SerialRace, TwoStationsNeverSaveOneSerialIdTwice) {
    constexpr int kCycles = 1000;
    test::BackOffice office;
    auto tallies = Race(office, VYM_SERIAL_STATION, {"ADMIN", "RMILLER"}, [](const std::string&) {
        return "600 BASE " + std::to_string(kCycles) + " TYPED-";
    });
    for (const auto& [user, t] : tallies) {
        EXPECT_EQ(t.at("generated"), kCycles) << user;
        EXPECT_EQ(t.at("failed"), 0) << user;
    }
    EXPECT_EQ(tallies["ADMIN"]["typed"] + tallies["RMILLER"]["typed"], kCycles);
    EXPECT_EQ(tallies["ADMIN"]["notunique"] + tallies["RMILLER"]["notunique"], kCycles);
    EXPECT_EQ(office.Scalar("SELECT count(*) FROM vym_item_stock_serial WHERE item_no = 600"),
              5 + 3 * kCycles);
    EXPECT_EQ(office.Scalar("SELECT count(DISTINCT upper(serial_id)) FROM vym_item_stock_serial "
                            "WHERE item_no = 600"),
              5 + 3 * kCycles);
}

}  // namespace
}  // namespace vym
