#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "base/value.h"

namespace vym::server {

// How the store holds one value of the current row.
enum class StorageClass : std::uint8_t { Null, Integer, Real, Text, Blob };

// One value of the current row as the store holds it: the member named by
// `storage` is set. Text and blob point into the statement and last until it
// steps or resets.
struct StoredCell {
    StorageClass storage = StorageClass::Null;
    std::int64_t integer = 0;
    double real = 0;
    std::string_view text;
    std::span<const std::uint8_t> blob;
};

class ColumnSet;
class SqlStatement;
struct ColumnType;
struct RecordsetFields;

// Reads a column of the statement's current row as a field of one type reads it.
using ValueReader = vym::Value (*)(const SqlStatement& statement, int column);

// How a field of one type reads its column: as a Value, and straight as the
// text or number the records read, Null as "" or 0 (the same as NullToEmpty,
// NullToZero then ToLong, ToDouble, ToBool or ToDate of the Value, errors
// included).
struct ColumnReader {
    ValueReader value;
    std::string (*text)(const SqlStatement& statement, int column);
    std::int32_t (*whole)(const SqlStatement& statement, int column);
    double (*number)(const SqlStatement& statement, int column);
    bool (*flag)(const SqlStatement& statement, int column);
    vym::Date (*date)(const SqlStatement& statement, int column);
};

// A prepared statement of the server's SQL session. Parameters are numbered
// from 1, columns from 0. Step and the binds throw vym::Error naming the
// engine's error and the statement.
class SqlStatement {
  public:
    virtual ~SqlStatement() = default;

    virtual const std::string& Sql() const = 0;
    // Changes whenever the engine prepares the statement again, which may
    // change its columns (the schema changed).
    virtual std::uint64_t ColumnsVersion() const = 0;

    virtual int ParameterCount() const = 0;
    virtual void BindNull(int index) = 0;
    virtual void BindInt64(int index, std::int64_t value) = 0;
    virtual void BindDouble(int index, double value) = 0;
    virtual void BindText(int index, std::string_view value) = 0;
    virtual void BindBlob(int index, std::span<const std::uint8_t> value) = 0;
    // A value as the store keeps it: Boolean as 1/0, Currency as a number,
    // Date as ISO text, Empty and Null as NULL.
    void Bind(int index, const vym::Value& value);
    void BindAll(std::span<const vym::Value> values);

    // True when a row is ready, False when the statement is done.
    virtual bool Step() = 0;
    // Rewinds the statement for another run; the bindings are kept.
    virtual void Reset() = 0;
    // Before the first Step: the rows may be many, of which the first are
    // wanted soon. An engine that would fetch the whole result at once
    // fetches it in batches instead, as the rows are stepped to.
    virtual void FetchInBatches() {}

    virtual int ColumnCount() const = 0;
    virtual std::string_view ColumnName(int column) const = 0;
    // The declared type of a table column; empty for an expression.
    virtual std::string_view ColumnDeclaredType(int column) const = 0;
    virtual StorageClass ColumnStorage(int column) const = 0;
    // The storage class and the value in one read, for reading every cell
    // of a large result.
    virtual StoredCell Cell(int column) const = 0;
    virtual std::int64_t ColumnInt64(int column) const = 0;
    virtual double ColumnDouble(int column) const = 0;
    virtual std::string_view ColumnText(int column) const = 0;
    virtual std::span<const std::uint8_t> ColumnBlob(int column) const = 0;
    // How a column of `type` is read from this statement (ReaderFor, unless
    // the engine reads its own statements' cells more directly).
    virtual ColumnReader Reader(const ColumnType& type) const;

  private:
    friend class ColumnSet;
    friend class SqlRecordset;
    friend class StatementRef;
    // Called when the last holder lets go: a session's statement goes back
    // to the session's cache, or is finalized when the session has gone.
    virtual void Released() { delete this; }

    std::uint32_t holders_ = 0;
    // The columns as the last recordset over the statement worked them out.
    std::shared_ptr<const ColumnSet> columnSet_;
    std::uint64_t columnSetVersion_ = 0;
    // The fields of the last recordset over the statement, for the next one.
    std::shared_ptr<RecordsetFields> fields_;
};

// A holder of a statement a session lent (SqlSession::Prepare): copies share
// it, and the statement goes back when the last of them lets go. The count is
// kept in the statement, so lending one allocates nothing; like its session,
// a statement is used by one thread at a time.
class StatementRef {
  public:
    StatementRef() = default;
    // The first holder of a statement no one holds.
    explicit StatementRef(SqlStatement* statement) : statement_(statement) {
        if (statement_) {
            ++statement_->holders_;
        }
    }
    StatementRef(const StatementRef& other) : StatementRef(other.statement_) {}
    StatementRef(StatementRef&& other) noexcept : statement_(other.statement_) {
        other.statement_ = nullptr;
    }
    StatementRef& operator=(StatementRef other) noexcept {
        std::swap(statement_, other.statement_);
        return *this;
    }
    ~StatementRef() { reset(); }

    void reset() {
        SqlStatement* held = statement_;
        statement_ = nullptr;
        if (held && --held->holders_ == 0) {
            held->Released();
        }
    }
    SqlStatement* get() const { return statement_; }
    SqlStatement* operator->() const { return statement_; }
    SqlStatement& operator*() const { return *statement_; }
    explicit operator bool() const { return statement_ != nullptr; }

  private:
    SqlStatement* statement_ = nullptr;
};

}  // namespace vym::server
