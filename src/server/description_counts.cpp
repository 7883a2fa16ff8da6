#include "server/description_counts.h"

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "server/sql_session.h"
#include "server/sql_statement.h"

namespace vym::server {
namespace description_counts {

// The texts of a range of items as read: for each item its description,
// status, function and category, then its tabs, one after the other.
struct ItemTexts {
    std::string texts;
    std::vector<std::size_t> ends;   // where each text ends
    std::vector<std::uint8_t> tabs;  // how many tabs each item has

    void Add(std::string_view text) {
        texts += text;
        ends.push_back(texts.size());
    }
};

// The texts the counts are kept by (statuses, functions, categories, tabs,
// words), each given a small number once, so that counting an item looks up
// numbers, not strings.
class Names {
  public:
    std::uint32_t Id(std::string_view name) {
        if (const auto found = ids_.find(name); found != ids_.end()) {
            return found->second;
        }
        names_.emplace_back(name);
        return ids_.emplace(names_.back(), static_cast<std::uint32_t>(names_.size() - 1))
            .first->second;
    }
    const std::string& Name(std::uint64_t id) const { return names_[id]; }

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>()(text);
        }
    };
    std::deque<std::string> names_;  // a deque keeps the keys of ids_ in place
    std::unordered_map<std::string_view, std::uint32_t, Hash, std::equal_to<>> ids_;
};

// Three names' numbers as one key.
constexpr std::uint64_t Key(std::uint64_t a, std::uint64_t b, std::uint64_t c) {
    return a << 42 | b << 21 | c;
}
constexpr std::uint64_t KeyPart(std::uint64_t key, int part) {
    return key >> (42 - 21 * part) & ((std::uint64_t{1} << 21) - 1);
}

class Counter {
  public:
    explicit Counter(bool words) : words_{words, {}} {}

    void Add(const ItemTexts& read) {
        std::size_t begin = 0;
        std::size_t at = 0;
        const auto next = [&] {
            const std::string_view text(read.texts.data() + begin, read.ends[at] - begin);
            begin = read.ends[at++];
            return text;
        };
        std::vector<std::uint32_t> itemTabs;
        for (const std::uint8_t tabs : read.tabs) {
            const std::string_view text = next();
            const std::uint32_t status = names_.Id(next());
            const std::uint32_t function = names_.Id(next());
            const std::uint32_t catagory = names_.Id(next());
            itemTabs.clear();
            for (std::uint8_t tab = 0; tab < tabs; ++tab) {
                itemTabs.push_back(names_.Id(next()));
            }
            Add(text, status, function, catagory, itemTabs);
        }
    }

    void Write(SqlSession& db) const {
        WriteGrams(db);
        auto tabCount = db.Prepare(
            "INSERT INTO vym_item_tab_count (tab, function_id, status_id, items) "
            "VALUES (?, ?, ?, ?) ON CONFLICT (tab, function_id, status_id) "
            "DO UPDATE SET items = vym_item_tab_count.items + excluded.items");
        for (const auto& [key, items] : tabCounts_) {
            Upsert(*tabCount, {Part(key, 0), Part(key, 1), Part(key, 2), items});
        }
        auto all = db.Prepare(
            "INSERT INTO vym_item_word_count (word, status_id, items) VALUES (?, ?, ?) "
            "ON CONFLICT (word, status_id) DO UPDATE SET items = vym_item_word_count.items + "
            "excluded.items");
        auto onTab = db.Prepare(
            "INSERT INTO vym_item_tab_word_count (word, status_id, items, tab) "
            "VALUES (?, ?, ?, ?) ON CONFLICT (tab, word, status_id) "
            "DO UPDATE SET items = vym_item_tab_word_count.items + excluded.items");
        for (const auto& [key, items] : words_.counts) {
            // The tab's number is one more than its name's, none for all items.
            const std::uint64_t tab = KeyPart(key, 0);
            if (tab == 0) {
                Upsert(*all, {Part(key, 1), Part(key, 2), items});
            } else {
                Upsert(*onTab, {Part(key, 1), Part(key, 2), items, names_.Name(tab - 1)});
            }
        }
    }

  private:
    using Grams = std::vector<std::int32_t>;  // by gram: see GramsOf
    static constexpr std::size_t kGrams = 0x10000 + 0x100;

    struct Words {
        bool on;
        std::unordered_map<std::uint64_t, std::int32_t> counts;  // Key(tab + 1 or 0, word, status)
    };

    static char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

    void Add(std::string_view text, std::uint32_t status, std::uint32_t function,
             std::uint32_t catagory, const std::vector<std::uint32_t>& itemTabs) {
        GramsOf(text);
        Count(Key(function, catagory, status), allGrams_);
        ++tabCounts_[Key(allItems_, function, status)];
        for (const std::uint32_t tab : itemTabs) {
            Count(Key(tab, 0, status), tabGrams_);
            ++tabCounts_[Key(tab, function, status)];
        }
        if (words_.on) {
            WordsOf(text);
            for (const std::uint32_t word : itemWords_) {
                ++words_.counts[Key(0, word, status)];
                for (const std::uint32_t tab : itemTabs) {
                    ++words_.counts[Key(tab + 1, word, status)];
                }
            }
        }
    }

    // The description's grams, each once, into itemGrams_: a character c is
    // 0x10000 + c, a pair (c, d) is c << 8 | d.
    void GramsOf(std::string_view text) {
        ++row_;
        itemGrams_.clear();
        const auto note = [this](std::size_t gram) {
            if (seen_[gram] != row_) {
                seen_[gram] = row_;
                itemGrams_.push_back(static_cast<std::uint32_t>(gram));
            }
        };
        for (std::size_t at = 0; at < text.size(); ++at) {
            const auto c = static_cast<unsigned char>(Lower(text[at]));
            note(0x10000 + c);
            if (at + 1 < text.size()) {
                const std::size_t pair =
                    std::size_t{c} << 8 | static_cast<unsigned char>(Lower(text[at + 1]));
                if (pair != 0) {
                    note(pair);
                }
            }
        }
    }

    void Count(std::uint64_t place, std::unordered_map<std::uint64_t, Grams>& counts) {
        Grams& grams = counts[place];
        grams.resize(kGrams);
        for (const std::uint32_t gram : itemGrams_) {
            ++grams[gram];
        }
    }

    void WordsOf(std::string_view text) {
        itemWords_.clear();
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = std::min(text.find(' ', at), text.size());
            word_.assign(text.substr(at, end - at));
            std::transform(word_.begin(), word_.end(), word_.begin(), Lower);
            const bool digits = std::all_of(word_.begin(), word_.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c)) != 0;
            });
            if (!digits) {
                const std::uint32_t word = names_.Id(word_);
                if (std::find(itemWords_.begin(), itemWords_.end(), word) == itemWords_.end()) {
                    itemWords_.push_back(word);
                }
            }
            at = end + 1;
        }
    }

    void WriteGrams(SqlSession& db) const {
        auto all = db.Prepare(
            "INSERT INTO vym_item_gram_count (gram, status_id, items, function_id, catagory_id) "
            "VALUES (?, ?, ?, ?, ?) ON CONFLICT (gram, status_id, function_id, catagory_id) "
            "DO UPDATE SET items = vym_item_gram_count.items + excluded.items");
        auto onTab = db.Prepare(
            "INSERT INTO vym_item_tab_gram_count (gram, status_id, items, tab) "
            "VALUES (?, ?, ?, ?) ON CONFLICT (tab, gram, status_id) "
            "DO UPDATE SET items = vym_item_tab_gram_count.items + excluded.items");
        for (const bool byTab : {false, true}) {
            for (const auto& [place, grams] : byTab ? tabGrams_ : allGrams_) {
                for (std::size_t gram = 1; gram < grams.size(); ++gram) {
                    if (grams[gram] == 0) {
                        continue;
                    }
                    const std::string text = gram >= 0x10000
                                                 ? std::string(1, static_cast<char>(gram & 0xFF))
                                                 : std::string{static_cast<char>(gram >> 8),
                                                               static_cast<char>(gram & 0xFF)};
                    if (byTab) {
                        Upsert(*onTab, {text, Part(place, 2), grams[gram], Part(place, 0)});
                    } else {
                        Upsert(*all,
                               {text, Part(place, 2), grams[gram], Part(place, 0), Part(place, 1)});
                    }
                }
            }
        }
    }

    std::string Part(std::uint64_t key, int part) const { return names_.Name(KeyPart(key, part)); }

    static void Upsert(SqlStatement& upsert, std::initializer_list<vym::Value> values) {
        upsert.BindAll(std::vector<vym::Value>(values));
        upsert.Step();
        upsert.Reset();
    }

    Names names_;
    // The tab of all items, counted by function and status as each typed
    // tab is.
    std::uint32_t allItems_ = names_.Id("vym_item");
    Words words_;
    std::unordered_map<std::uint64_t, Grams> allGrams_;  // Key(function, catagory, status)
    std::unordered_map<std::uint64_t, Grams> tabGrams_;  // Key(tab, 0, status)
    std::map<std::uint64_t, std::int32_t> tabCounts_;    // Key(tab, function, status)
    std::vector<std::int32_t> seen_ = std::vector<std::int32_t>(kGrams, -1);
    std::int32_t row_ = -1;
    std::vector<std::uint32_t> itemGrams_;
    std::vector<std::uint32_t> itemWords_;
    std::string word_;
};

// Counts what it is handed on a thread of its own, two ranges at most
// waiting, so that reading runs ahead of counting by little memory.
class Worker {
  public:
    explicit Worker(bool words) : counter_(words), thread_([this] { Run(); }) {}
    ~Worker() { Finish(); }
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    void Hand(ItemTexts read) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return waiting_.size() < 2 || failure_; });
        if (failure_) {
            return;  // passed on by Counted()
        }
        waiting_.push_back(std::move(read));
        changed_.notify_all();
    }

    // Once all that was handed over is counted.
    Counter& Counted() {
        Finish();
        if (failure_) {
            std::rethrow_exception(failure_);
        }
        return counter_;
    }

  private:
    void Run() {
        for (;;) {
            ItemTexts read;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return !waiting_.empty() || done_; });
                if (waiting_.empty()) {
                    return;
                }
                read = std::move(waiting_.front());
                waiting_.pop_front();
                changed_.notify_all();
            }
            try {
                counter_.Add(read);
            } catch (...) {
                const std::lock_guard lock(mutex_);
                failure_ = std::current_exception();
                waiting_.clear();
                changed_.notify_all();
                return;
            }
        }
    }

    void Finish() {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
            changed_.notify_all();
        }
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    Counter counter_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<ItemTexts> waiting_;
    bool done_ = false;
    std::exception_ptr failure_;
    std::thread thread_;  // last: it starts once the rest is made
};

}  // namespace description_counts

DescriptionCounts::DescriptionCounts(bool words)
    : worker_(std::make_unique<description_counts::Worker>(words)) {}

DescriptionCounts::~DescriptionCounts() = default;

void DescriptionCounts::Read(SqlSession& db, std::int32_t from, std::int32_t to) {
    auto items = db.Prepare(
        "SELECT item_no, long_description, status_id, COALESCE(function_id, ''), "
        "COALESCE(catagory_id, '') FROM vym_item WHERE item_no >= ? AND item_no < ? "
        "ORDER BY item_no");
    auto tabs = db.Prepare(
        "SELECT item_no, tab FROM vym_item_tab WHERE item_no >= ? AND item_no < ? "
        "ORDER BY item_no");
    const std::vector<vym::Value> range = {from, to};
    items->BindAll(range);
    tabs->BindAll(range);
    description_counts::ItemTexts read;
    bool moreTabs = tabs->Step();
    while (items->Step()) {
        const std::int64_t item = items->ColumnInt64(0);
        for (int column = 1; column <= 4; ++column) {
            read.Add(items->ColumnText(column));
        }
        std::uint8_t itemTabs = 0;
        for (; moreTabs && tabs->ColumnInt64(0) <= item; moreTabs = tabs->Step()) {
            if (tabs->ColumnInt64(0) == item) {
                read.Add(tabs->ColumnText(1));
                ++itemTabs;
            }
        }
        read.tabs.push_back(itemTabs);
    }
    worker_->Hand(std::move(read));
}

void DescriptionCounts::Write(SqlSession& db) {
    worker_->Counted().Write(db);
}

}  // namespace vym::server
