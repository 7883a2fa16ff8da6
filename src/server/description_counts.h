#pragma once

#include <cstdint>
#include <memory>

namespace vym::server {

class SqlSession;

namespace description_counts {
class Worker;
}

// The counts the item triggers keep of the items' descriptions, made for
// items written in bulk with those triggers set aside: every character and
// pair of characters of a description, lowered, once an item, among all
// items by function, category and status, and on each of the item's typed
// tabs by status; how many items each tab finds by function and status; and
// (`words`, as the embedded store's triggers count them) each word, lowered,
// between spaces, once an item, a word of digits alone left out, among all
// items and on each tab. Descriptions are taken as ASCII, a byte a character,
// as generated ones are.
//
// The database reads stay on the caller's thread; the counting runs on a
// thread of its own, beside whatever the caller writes next.
class DescriptionCounts {
  public:
    explicit DescriptionCounts(bool words);
    ~DescriptionCounts();
    DescriptionCounts(const DescriptionCounts&) = delete;
    DescriptionCounts& operator=(const DescriptionCounts&) = delete;

    // Reads the items numbered `from` up to `to` and their typed tabs, and
    // hands them over to be counted.
    void Read(SqlSession& db, std::int32_t from, std::int32_t to);

    // Waits for the counting (passing on its failure), then adds the counts
    // to the database's.
    void Write(SqlSession& db);

  private:
    std::unique_ptr<description_counts::Worker> worker_;
};

}  // namespace vym::server
