#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include "gateway/parameter.h"
#include "gateway/parameter_index.h"

namespace vym {
namespace {

std::vector<Parameter> Named(const std::vector<std::string>& names) {
    std::vector<Parameter> parameters;
    for (const std::string& name : names) {
        Parameter parameter;
        parameter.Name = name;
        parameters.push_back(parameter);
    }
    return parameters;
}

// Lookups in a row, each starting where the one before left the position
// looked at first: in order, out of order, missing, and among equal names,
// where the first must win wherever the last lookup stopped.
TEST(ParameterIndex, FindsTheFirstOfEqualNamesWhereverTheLastLookupStopped) {
    struct Lookup {
        std::string name;
        std::optional<std::size_t> found;
    };
    const struct {
        std::vector<std::string> names;
        std::vector<Lookup> lookups;
    } cases[] = {
        {{"@RETURN_VALUE", "@item_no", "@location_id", "@report_sub_department_id"},
         {{"@item_no", 1},
          {"@LOCATION_ID", 2},
          {"@report_sub_department_id", 3},
          {"@return_value", 0},
          {"@location_id", 2},
          {"@no_such", std::nullopt},
          {"@report_sub_department_iD", 3},
          {"@item_n", std::nullopt}}},
        {{"@a", "@b", "@A", "@c", "@b"},
         {{"@b", 1}, {"@a", 0}, {"@c", 3}, {"@B", 1}, {"@A", 0}, {"@c", 3}}},
    };
    for (const auto& test : cases) {
        const std::vector<Parameter> parameters = Named(test.names);
        const ParameterIndex index(parameters);
        std::size_t next = 0;
        for (const Lookup& lookup : test.lookups) {
            EXPECT_EQ(index.Find(parameters, lookup.name, next), lookup.found) << lookup.name;
            EXPECT_EQ(index.Find(parameters, lookup.name), lookup.found) << lookup.name;
        }
    }
}

// Names of every length up to a long one, so that each way of reading a
// name (bytes, halves, words and the overlapping last word) is crossed, in
// an index that has grown several times.
TEST(ParameterIndex, NamesOfEveryLengthAreFoundInAnyCaseAndOnlyThey) {
    std::vector<std::string> names;
    for (std::size_t length = 1; length <= 40; ++length) {
        std::string name = "@";
        for (std::size_t i = 1; i < length; ++i) {
            name += static_cast<char>('a' + (i * 7 + length) % 26);
        }
        names.push_back(name);
    }
    const std::vector<Parameter> parameters = Named(names);
    ParameterIndex index;
    for (std::size_t i = 0; i < names.size(); ++i) {
        index.Add(names[i], i);
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string upper = names[i];
        for (char& c : upper) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        EXPECT_EQ(index.Find(parameters, upper), i) << upper;
        EXPECT_TRUE(ParameterIndex::SameName(names[i], upper));
        EXPECT_EQ(ParameterIndex::HashName(names[i]), ParameterIndex::HashName(upper));
        if (names[i].size() > 1) {
            std::string changed = names[i];
            changed.back() = changed.back() == 'z' ? 'y' : 'z';
            EXPECT_FALSE(ParameterIndex::SameName(names[i], changed)) << changed;
            EXPECT_FALSE(index.Find(parameters, changed).has_value()) << changed;
        }
    }
}

}  // namespace
}  // namespace vym
