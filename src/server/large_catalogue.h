#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vym::server {

// Fills a database with a large made-up catalogue for measuring searches:
// `items` items of every type in turn (ticket, stock, ski school, photo,
// ship, rental) with their details, and for stock and rental items a stock
// record, a map id ("GEN" + number), quantities at a location and a price,
// and one to five serialized units (about one unit per item generated).
//
// The shape the searches are measured on: half the items belong to the
// function GEN00, the others spread over GEN01 to GEN19; every other
// description holds "PREMIUM", the rest "CLASSIC", and one of 40 product
// words; stock is spread over 50 vendors GENV00 to GENV49. The units are
// spread over the ten locations GENL00 to GENL09 and the five statuses, and
// through their items over the 20 models GENM00 to GENM19.
class LargeCatalogue {
  public:
    // Called after every block of items with the number written so far.
    using Progress = std::function<void(std::int32_t written)>;

    // Opens the database (created and migrated when missing) and appends the
    // items after the highest item number, in one transaction: a failed run
    // leaves the database as it was.
    static void Generate(const std::string& path, std::int32_t items,
                         const Progress& progress = {});
};

}  // namespace vym::server
