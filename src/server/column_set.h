#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gateway/name_slots.h"
#include "gateway/parameter_index.h"
#include "server/column_type.h"
#include "server/sql_statement.h"

namespace vym::server {

// What a recordset works out from a statement's columns before it reads a
// row: each column's name and declared type, and the names indexed without
// regard to case. The statement keeps it for the next recordset over it, so
// that a procedure called again and again works it out once.
class ColumnSet {
  public:
    // The set of the statement's columns: the one it keeps, unless the engine
    // has prepared the statement again since (its columns may have changed).
    static std::shared_ptr<const ColumnSet> Of(SqlStatement& statement);

    int Count() const { return static_cast<int>(names_.size()); }
    const std::string& Name(int column) const { return names_[column]; }
    const ColumnType& Type(int column) const { return types_[column]; }
    // How a field of the column reads its value (the statement's Reader).
    ColumnReader Reader(int column) const { return readers_[column]; }
    // The columns without a declared type (expressions), which take the type
    // of what the first row holds.
    const std::vector<int>& Undeclared() const { return undeclared_; }
    // The first column so named, regardless of ASCII case.
    std::optional<int> Find(std::string_view name) const;
    // Whether the column `at` is the only one so named: the first guess of
    // Find, which callers try inline before calling it.
    bool IsAt(int at, std::string_view name) const {
        return at < Count() && byName_.Distinct() && ParameterIndex::SameName(names_[at], name);
    }
    // The same, trying first the column `next` and the few after it; `next`
    // is then set after the one found: callers mostly read a row's fields in
    // the order of its columns, and so skip the hashing.
    std::optional<int> Find(std::string_view name, int& next) const;

  private:
    static constexpr int kSkipped = 3;

    explicit ColumnSet(const SqlStatement& statement);

    std::vector<std::string> names_;
    std::vector<ColumnType> types_;
    std::vector<ColumnReader> readers_;
    std::vector<int> undeclared_;
    NameSlots byName_;
};

}  // namespace vym::server
