#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "base/value.h"
#include "server/column_type.h"
#include "server/sql_statement.h"

namespace vym::server {

// What the readers share, defined beside ReadColumn.
vym::Value ReadStoredCell(const StoredCell& cell);
// ISO text as a Date (or a time of day); any other value as it is stored.
vym::Value ReadDate(const StoredCell& cell);

// The reader of each kind of column, written once over how a cell of the
// current row is fetched: through the statement's Cell, or, in an engine
// that knows its own statements, through a function the compiler inlines,
// which spares a call per cell of a large result. A value stored in another
// class than the column's (a number in a date column) reads as it is stored.
namespace column_readers {

using CellOf = StoredCell (*)(const SqlStatement& statement, int column);

inline bool IsNumber(const StoredCell& cell) {
    return cell.storage == StorageClass::Integer || cell.storage == StorageClass::Real;
}

// A number cell as the engine would read it as a double.
inline double AsDouble(const StoredCell& cell) {
    return cell.storage == StorageClass::Integer ? static_cast<double>(cell.integer) : cell.real;
}

// Stored money is a Currency written as a number, so it sits next to a whole
// number of ten-thousandths; only a value near a half needs exact rounding.
inline vym::Currency MoneyFromStored(double stored) {
    const double scaled = stored * static_cast<double>(Currency::kScale);
    const double nearest = std::nearbyint(scaled);
    if (std::fabs(scaled) < 9e17 && std::fabs(scaled - nearest) < 0.25) {
        return Currency::FromRaw(static_cast<std::int64_t>(nearest));
    }
    return Currency::FromDouble(stored);
}

template <CellOf Cell>
vym::Value Stored(const SqlStatement& statement, int column) {
    return ReadStoredCell(Cell(statement, column));
}

// A number column: its numbers read through `FromNumber`.
template <CellOf Cell, vym::Value (*FromNumber)(double)>
vym::Value Number(const SqlStatement& statement, int column) {
    const StoredCell cell = Cell(statement, column);
    return IsNumber(cell) ? FromNumber(AsDouble(cell)) : ReadStoredCell(cell);
}

inline vym::Value MoneyNumber(double stored) {
    return MoneyFromStored(stored);
}
inline vym::Value BooleanNumber(double stored) {
    return stored != 0.0;
}
inline vym::Value DoubleNumber(double stored) {
    return stored;
}

template <CellOf Cell>
vym::Value Date(const SqlStatement& statement, int column) {
    return ReadDate(Cell(statement, column));
}

// An integer column of `Least` to `Most` reads as a `Narrow` when it fits.
template <CellOf Cell, class Narrow, std::int64_t Least, std::int64_t Most>
vym::Value Integer(const SqlStatement& statement, int column) {
    const StoredCell cell = Cell(statement, column);
    if (cell.storage != StorageClass::Integer) {
        return ReadStoredCell(cell);
    }
    if (cell.integer >= Least && cell.integer <= Most) {
        return static_cast<Narrow>(cell.integer);
    }
    return vym::Value::FromInt64(cell.integer);
}

// A number in a text column reads as the engine writes it.
template <CellOf Cell>
vym::Value Text(const SqlStatement& statement, int column) {
    const StoredCell cell = Cell(statement, column);
    switch (cell.storage) {
        case StorageClass::Null:
            return vym::Value::Null();
        case StorageClass::Text:
            return cell.text;
        default:
            return statement.ColumnText(column);
    }
}

template <CellOf Cell>
vym::Value Binary(const SqlStatement& statement, int column) {
    const StoredCell cell = Cell(statement, column);
    if (cell.storage == StorageClass::Null) {
        return vym::Value::Null();
    }
    const auto blob = cell.storage == StorageClass::Blob ? cell.blob : statement.ColumnBlob(column);
    return Bytes(blob.begin(), blob.end());
}

// The typed reads take a cell of the column's own class (`Kind`) as it is
// stored; any other cell is read by the column's Value reader `Read` and
// converted as the Value converts.
enum class Plain : std::uint8_t { None, Text, Whole, Real, Money, Flag, Date };

template <CellOf Cell, Plain Kind, ValueReader Read>
std::string TextOf(const SqlStatement& statement, int column) {
    const StoredCell cell = Cell(statement, column);
    if (cell.storage == StorageClass::Null) {
        return {};
    }
    if constexpr (Kind == Plain::Text) {
        if (cell.storage == StorageClass::Text) {
            return std::string(cell.text);
        }
    }
    return Read(statement, column).ToString();
}

template <CellOf Cell, Plain Kind, ValueReader Read>
std::int32_t WholeOf(const SqlStatement& statement, int column) {
    const StoredCell cell = Cell(statement, column);
    if (cell.storage == StorageClass::Null) {
        return 0;
    }
    if constexpr (Kind == Plain::Whole) {
        if (cell.storage == StorageClass::Integer && cell.integer >= INT32_MIN &&
            cell.integer <= INT32_MAX) {
            return static_cast<std::int32_t>(cell.integer);
        }
    }
    return Read(statement, column).ToLong();
}

template <CellOf Cell, Plain Kind, ValueReader Read>
double NumberOf(const SqlStatement& statement, int column) {
    const StoredCell cell = Cell(statement, column);
    if (cell.storage == StorageClass::Null) {
        return 0;
    }
    if constexpr (Kind == Plain::Real) {
        if (IsNumber(cell)) {
            return AsDouble(cell);
        }
    } else if constexpr (Kind == Plain::Money) {
        if (IsNumber(cell)) {
            return MoneyFromStored(AsDouble(cell)).ToDouble();
        }
    }
    return Read(statement, column).ToDouble();
}

template <CellOf Cell, Plain Kind, ValueReader Read>
bool FlagOf(const SqlStatement& statement, int column) {
    const StoredCell cell = Cell(statement, column);
    if (cell.storage == StorageClass::Null) {
        return false;
    }
    if constexpr (Kind == Plain::Flag || Kind == Plain::Whole) {
        if (IsNumber(cell)) {
            return AsDouble(cell) != 0.0;
        }
    }
    return Read(statement, column).ToBool();
}

template <CellOf Cell, Plain Kind, ValueReader Read>
vym::Date DateOf(const SqlStatement& statement, int column) {
    if constexpr (Kind == Plain::Date) {
        const StoredCell cell = Cell(statement, column);
        vym::Date date;
        if (cell.storage == StorageClass::Text && vym::Date::ParseIso(cell.text, date)) {
            return date;
        }
    }
    return NullToZero(Read(statement, column)).ToDate();
}

template <CellOf Cell, Plain Kind, ValueReader Read>
constexpr ColumnReader Reading() {
    return {Read,
            TextOf<Cell, Kind, Read>,
            WholeOf<Cell, Kind, Read>,
            NumberOf<Cell, Kind, Read>,
            FlagOf<Cell, Kind, Read>,
            DateOf<Cell, Kind, Read>};
}

template <CellOf Cell>
ColumnReader For(const ColumnType& type) {
    switch (type.type) {
        case DataType::Currency:
            return Reading<Cell, Plain::Money, Number<Cell, MoneyNumber>>();
        case DataType::DBTimeStamp:
        case DataType::DBDate:
        case DataType::DBTime:
            return Reading<Cell, Plain::Date, Date<Cell>>();
        case DataType::Boolean:
            return Reading<Cell, Plain::Flag, Number<Cell, BooleanNumber>>();
        case DataType::UnsignedTinyInt:
            return Reading<Cell, Plain::Whole, Integer<Cell, std::uint8_t, 0, UINT8_MAX>>();
        case DataType::SmallInt:
            return Reading<Cell, Plain::Whole, Integer<Cell, std::int16_t, INT16_MIN, INT16_MAX>>();
        case DataType::Integer:
        case DataType::BigInt:
            return Reading<Cell, Plain::Whole, Integer<Cell, std::int32_t, INT32_MIN, INT32_MAX>>();
        case DataType::Double:
            return Reading<Cell, Plain::Real, Number<Cell, DoubleNumber>>();
        case DataType::Char:
        case DataType::VarChar:
        case DataType::LongVarChar:
            return Reading<Cell, Plain::Text, Text<Cell>>();
        case DataType::VarBinary:
        case DataType::LongVarBinary:
            return Reading<Cell, Plain::None, Binary<Cell>>();
        default:
            return Reading<Cell, Plain::None, Stored<Cell>>();
    }
}

}  // namespace column_readers
}  // namespace vym::server
