#include "model/catalogue_import.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <unordered_map>

#include "base/csv.h"
#include "base/csv_reader.h"
#include "base/error.h"
#include "base/format.h"
#include "gateway/command.h"
#include "gateway/procedure_call.h"
#include "gateway/transaction.h"
#include "model/stock_rules.h"

namespace vym {
namespace {

enum class ValueKind { Text, Id, Money, Count, Flag };

// A column of an import file: its header in the template, other headers
// accepted for it, the column the server reads and the save's parameter
// (with "@"), what it holds, its longest text (for a count, its largest
// value; 0 for any) and, for an id, what it names.
struct ImportColumn {
    const char* header;
    const char* aliases;  // "|"-separated, compared as Normalized()
    const char* field;
    ValueKind kind;
    int length;
    const char* names;  // the kind of id in VYM_SP_IMPORT_GetReferences
};

constexpr const char* kItemNo = "item_no";
constexpr const char* kStockId = "stock_id";
// The refused-rows file explains each row here; an import skips it.
constexpr const char* kReasonHeader = "Refused Because";

const std::vector<ImportColumn> kStockColumns = {
    {"Item No", "itemnumber|item", kItemNo, ValueKind::Count, 0, nullptr},
    {"Stock Id", "stockno|stocknumber|sku", kStockId, ValueKind::Text, 30, nullptr},
    {"Short Description", "description", "short_description", ValueKind::Text, 30, nullptr},
    {"Long Description", "", "long_description", ValueKind::Text, 80, nullptr},
    {"Department", "departmentid", "department_id", ValueKind::Id, 10, "DEPARTMENT"},
    {"Stock Type", "stocktypeid|type", "stock_type_id", ValueKind::Id, 10, "STOCK TYPE"},
    {"Vendor", "vendorid", "vendor_id", ValueKind::Id, 15, "VENDOR"},
    {"Model", "modelid", "model_id", ValueKind::Id, 20, "MODEL"},
    {"Manufacturer", "", "manufacturer", ValueKind::Text, 30, nullptr},
    {"Style", "", "style", ValueKind::Text, 30, nullptr},
    {"Attribute", "", "attribute", ValueKind::Text, 30, nullptr},
    {"Size", "stocksize", "stock_size", ValueKind::Text, 10, nullptr},
    {"UPC", "upccode", "upc_code", ValueKind::Text, 30, nullptr},
    {"Unit Price", "price", "unit_price", ValueKind::Money, 0, nullptr},
    {"Min Price", "minimumprice", "min_price", ValueKind::Money, 0, nullptr},
    {"Current Cost", "cost", "current_cost", ValueKind::Money, 0, nullptr},
    {"Reporting Department", "reportdepartment|reportdepartmentid", "report_department_id",
     ValueKind::Id, 10, "REPORT DEPARTMENT"},
    {"Base UOM", "baseuomid|uom", "base_uom_id", ValueKind::Id, 10, "UOM"},
    {"Serialized", "", "serialized", ValueKind::Flag, 0, nullptr},
    {"Serial Type", "serialtypeid", "serial_type_id", ValueKind::Id, 10, "SERIAL TYPE"},
    {"Min Qty", "minimumqty|minquantity", "min_qty", ValueKind::Count, 32767, nullptr},
    {"Taxable", "", "taxable", ValueKind::Flag, 0, nullptr},
    {"Status", "statusid", "status_id", ValueKind::Text, 10, nullptr},
};

const std::vector<ImportColumn> kPriceColumns = {
    {"Item No", "itemnumber|item", kItemNo, ValueKind::Count, 0, nullptr},
    {"Stock Id", "stockno|stocknumber|sku", kStockId, ValueKind::Text, 30, nullptr},
    {"Season", "seasonno|seasonid", "season_no", ValueKind::Id, 12, "SEASON"},
    {"UOM", "uomid|unitofmeasure", "uom_id", ValueKind::Id, 10, "UOM"},
    {"Qty", "unitqty|quantity", "unit_qty", ValueKind::Count, 32767, nullptr},
    {"Location", "locationid", "location_id", ValueKind::Id, 10, "LOCATION"},
    {"Unit Price", "price", "unit_price", ValueKind::Money, 0, nullptr},
};

constexpr std::size_t kItemNoColumn = 0;
constexpr std::size_t kStockIdColumn = 1;

const std::vector<ImportColumn>& Columns(ImportKind kind) {
    return kind == ImportKind::StockItems ? kStockColumns : kPriceColumns;
}

std::string Normalized(std::string_view header) {
    std::string out;
    for (unsigned char c : header) {
        if (std::isalnum(c)) {
            out += static_cast<char>(std::tolower(c));
        }
    }
    return out;
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

std::size_t Characters(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

bool Matches(const ImportColumn& col, const std::string& header) {
    if (header == Normalized(col.header) || header == Normalized(col.field)) {
        return true;
    }
    std::string_view aliases = col.aliases;
    while (!aliases.empty()) {
        const auto bar = aliases.find('|');
        if (aliases.substr(0, bar) == header) {
            return true;
        }
        aliases = bar == std::string_view::npos ? std::string_view() : aliases.substr(bar + 1);
    }
    return false;
}

std::string MoneyText(std::int64_t raw) {
    const bool negative = raw < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(raw) : raw;
    std::string cents = std::to_string(magnitude % Currency::kScale);
    cents.insert(0, 4 - cents.size(), '0');
    while (cents.size() > 2 && cents.back() == '0') {
        cents.pop_back();
    }
    return (negative ? "-" : "") + std::to_string(magnitude / Currency::kScale) + "." + cents;
}

// A value as users read it in the dry run.
std::string Shown(ValueKind kind, const std::string& value) {
    if (kind == ValueKind::Money) {
        return MoneyText(std::stoll(value));
    }
    if (kind == ValueKind::Flag) {
        return value == "1" ? "Yes" : "No";
    }
    return value.empty() ? "(none)" : value;
}

// A stored value in the form a cell is compared in.
std::string Stored(ValueKind kind, const Value& value) {
    switch (kind) {
        case ValueKind::Money:
            return std::to_string(value.IsNull() ? 0 : value.ToCurrency().Raw());
        case ValueKind::Count:
            return std::to_string(NullToZero(value).ToLong());
        case ValueKind::Flag:
            return NullToZero(value).ToDouble() != 0 ? "1" : "0";
        default:
            return NullToEmpty(value);
    }
}

bool SameValue(ValueKind kind, const std::string& a, const std::string& b) {
    return kind == ValueKind::Id ? Upper(a) == Upper(b) : a == b;
}

// The row's values, one per column, packed into one text: a file of a
// million rows is kept once, not as a million small vectors.
class Packed {
  public:
    Packed() = default;
    explicit Packed(const std::vector<std::optional<std::string>>& values) {
        for (const auto& value : values) {
            text_ += value ? "\x01" + *value : "\x02";
            text_ += '\x1f';
        }
    }
    explicit Packed(const std::vector<std::string>& fields) {
        for (const auto& field : fields) {
            text_ += "\x01" + field + '\x1f';
        }
    }
    std::vector<std::optional<std::string>> Values() const {
        std::vector<std::optional<std::string>> values;
        std::size_t at = 0;
        while (at < text_.size()) {
            const auto end = text_.find('\x1f', at);
            if (text_[at] == '\x01') {
                values.emplace_back(text_.substr(at + 1, end - at - 1));
            } else {
                values.emplace_back();
            }
            at = end + 1;
        }
        return values;
    }

  private:
    std::string text_;
};

struct PlannedRow {
    ImportRow row;
    Packed values;            // new and changed rows: what to save; refused: the fields read
    std::int32_t id = 0;      // the item (stock) or price saved over; 0 for a new one
    std::int32_t itemNo = 0;  // prices: the item priced
    Value rowVersion;
};

// What a row is checked against: every id it may name and every stock item
// or price it may change.
struct Existing {
    std::int32_t id = 0;  // item or price number
    std::string itemType;
    Value rowVersion;
    std::vector<std::string> values;  // items: by column, as Stored(); prices: the unit price
};

struct Catalogue {
    // By kind ("VENDOR"), the ids in upper case to the ids as saved.
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> ids;
    std::unordered_map<std::string, std::string> rentalTypes;  // by stock type in upper case
    bool reportDepartmentRequired = false;
    std::vector<Existing> items;
    std::unordered_map<std::int32_t, std::size_t> byItemNo;
    std::unordered_map<std::string, std::vector<std::size_t>> byStockId;  // in upper case
    std::unordered_map<std::string, Existing> prices;                     // by PriceKey()
};

}  // namespace

namespace {

using Cells = std::vector<std::optional<std::string>>;

std::unordered_map<std::string, int> FieldIndex(Recordset& rs) {
    std::unordered_map<std::string, int> index;
    for (std::int32_t i = 0; i < rs.FieldCount(); ++i) {
        index[Normalized(rs.Fields(i).Name())] = i;
    }
    return index;
}

void LoadReferences(Connection& db, Catalogue& catalogue) {
    auto cmd = NewProcedure(db, "VYM_SP_IMPORT_GetReferences");
    auto rs = db.ExecuteRecordset(*cmd);
    for (; rs->IsOpen() && !rs->Eof(); rs->MoveNext()) {
        const std::string kind = rs->Fields(0).Text();
        const std::string id = rs->Fields(1).Text();
        catalogue.ids[kind][Upper(id)] = id;
        if (kind == "STOCK TYPE") {
            catalogue.rentalTypes[Upper(id)] = Upper(rs->Fields(2).Text());
        }
    }
    auto parm = NewProcedure(db, "VYM_SP_ITEM_SYSTEM_PARM_get");
    if (db.Execute(*parm)) {
        catalogue.reportDepartmentRequired =
            NullToZero(parm->Parameters["@req_rpt_dept"].Value).ToBool();
    }
}

void AddItem(Catalogue& catalogue, Existing item, const std::string& stockId) {
    catalogue.byItemNo[item.id] = catalogue.items.size();
    if (!stockId.empty()) {
        catalogue.byStockId[Upper(stockId)].push_back(catalogue.items.size());
    }
    catalogue.items.push_back(std::move(item));
}

void LoadStockItems(Connection& db, Catalogue& catalogue) {
    auto cmd = NewProcedure(db, "VYM_SP_IMPORT_GetStockItems");
    auto rs = db.ExecuteRecordset(*cmd);
    const auto index = FieldIndex(*rs);
    std::vector<int> columns;
    for (const ImportColumn& col : kStockColumns) {
        columns.push_back(index.at(Normalized(col.field)));
    }
    const int version = index.at("rowversion");
    for (; rs->IsOpen() && !rs->Eof(); rs->MoveNext()) {
        Existing item{rs->Fields(columns[kItemNoColumn]).Value().ToLong(),
                      "STOCK",
                      rs->Fields(version).Value(),
                      {}};
        for (std::size_t c = 0; c < kStockColumns.size(); ++c) {
            item.values.push_back(Stored(kStockColumns[c].kind, rs->Fields(columns[c]).Value()));
        }
        const std::string stockId = item.values[kStockIdColumn];
        AddItem(catalogue, std::move(item), stockId);
    }
}

std::string PriceKey(std::int32_t itemNo, const Cells& cells) {
    // Season, unit of measure, quantity and location, as Prices columns 2-5.
    std::string key = std::to_string(itemNo);
    for (std::size_t c = 2; c <= 5; ++c) {
        key += '|' + Upper(cells[c].value_or(c == 4 ? "1" : ""));
    }
    return key;
}

void LoadPrices(Connection& db, Catalogue& catalogue) {
    auto cmd = NewProcedure(db, "VYM_SP_IMPORT_GetPrices");
    auto rs = db.ExecuteRecordset(*cmd);
    for (; rs->IsOpen() && !rs->Eof(); rs->MoveNext()) {
        AddItem(catalogue,
                {rs->Fields(0).Value().ToLong(), Upper(rs->Fields(2).Text()), Value::Null(), {}},
                rs->Fields(1).Text());
    }
    rs->NextRecordset();
    for (; rs->IsOpen() && !rs->Eof(); rs->MoveNext()) {
        const auto text = [&](int i) -> std::optional<std::string> {
            const Value v = rs->Fields(i).Value();
            return v.IsNull() ? std::nullopt : std::optional(NullToEmpty(v));
        };
        const Cells cells = {std::nullopt, std::nullopt, text(2), text(3), text(4), text(5)};
        catalogue.prices[PriceKey(rs->Fields(1).Value().ToLong(), cells)] =
            Existing{rs->Fields(0).Value().ToLong(),
                     {},
                     rs->Fields(7).Value(),
                     {Stored(ValueKind::Money, rs->Fields(6).Value())}};
    }
}

// A cell as the value it is saved as, or why it is refused.
struct Parsed {
    std::string value;
    std::string refusal;
};

Parsed ParseCell(const Catalogue& catalogue, const ImportColumn& col, const std::string& cell) {
    const std::string quoted = std::string(col.header) + " \"" + cell + "\"";
    switch (col.kind) {
        case ValueKind::Money: {
            const auto amount = ParseCurrency(cell);
            if (!amount) {
                return {{}, quoted + " is not an amount."};
            }
            if (*amount < Currency()) {
                return {{}, std::string(col.header) + " can not be negative."};
            }
            return {std::to_string(amount->Raw()), {}};
        }
        case ValueKind::Count: {
            const auto number = ParseNumber(cell);
            const double most = col.length > 0 ? col.length : 2147483647.0;
            if (!number || *number != std::floor(*number) || *number < 0 || *number > most) {
                return {{},
                        quoted + " is not a whole number from 0 to " +
                            std::to_string(static_cast<std::int64_t>(most)) + "."};
            }
            return {std::to_string(static_cast<std::int32_t>(*number)), {}};
        }
        case ValueKind::Flag: {
            const std::string flag = Upper(cell);
            if (flag == "Y" || flag == "YES" || flag == "TRUE" || flag == "1" || flag == "-1") {
                return {"1", {}};
            }
            if (flag == "N" || flag == "NO" || flag == "FALSE" || flag == "0") {
                return {"0", {}};
            }
            return {{}, quoted + " is not Yes or No."};
        }
        case ValueKind::Id: {
            const auto& ids = catalogue.ids.find(col.names);
            const auto found = ids == catalogue.ids.end() ? nullptr : &ids->second;
            if (found != nullptr) {
                if (auto id = found->find(Upper(cell)); id != found->end()) {
                    return {id->second, {}};
                }
            }
            return {{}, quoted + " does not exist."};
        }
        case ValueKind::Text:
            break;
    }
    if (Characters(cell) > static_cast<std::size_t>(col.length)) {
        return {{},
                std::string(col.header) + " is longer than " + std::to_string(col.length) +
                    " characters."};
    }
    return {cell, {}};
}

}  // namespace

struct CatalogueImport::Impl {
    Impl(Connection& connection, ImportKind importKind)
        : db(connection), kind(importKind), known(Columns(importKind)) {}

    void Reset() {
        rows.clear();
        notes.clear();
        message.clear();
        header.clear();
        seen.clear();
        catalogue = Catalogue{};
        committed = false;
    }

    bool Refuse(const std::string& why) {
        message = why;
        rows.clear();
        return false;
    }

    bool MapHeader(const std::vector<std::string>& fields);
    ImportOutcome ReadRows(csv::Reader& reader, const ImportProgress& progress);
    PlannedRow Classify(const std::vector<std::string>& fields, std::int64_t line);
    std::optional<std::string> ReadCells(const std::vector<std::string>& fields, Cells& cells);
    const Existing* FindItem(const Cells& cells, std::string& refusal) const;
    // The item (and price) the row is for, as users read it.
    std::string Key(const Cells& cells) const;
    bool SeenBefore(const std::string& key, std::int64_t line, std::string& refusal);
    void ClassifyStock(const Cells& cells, PlannedRow& planned);
    void ClassifyPrice(const Cells& cells, PlannedRow& planned);
    void SetParameters(ParameterList& p, const PlannedRow& planned) const;
    ImportOutcome SaveRows(const ImportProgress& progress);

    Connection& db;
    ImportKind kind;
    const std::vector<ImportColumn>& known;
    std::vector<std::string> header;
    std::vector<int> fileColumn;  // by column: where it is in the file, or -1
    Catalogue catalogue;
    std::unordered_map<std::string, std::int64_t> seen;  // line of each item or price key
    std::vector<PlannedRow> rows;
    std::vector<std::string> notes;
    std::string message;
    bool committed = false;
};

bool CatalogueImport::Impl::MapHeader(const std::vector<std::string>& fields) {
    fileColumn.assign(known.size(), -1);
    for (const std::string& field : fields) {
        header.push_back(Trimmed(csv::UnescapeFormula(field)));
    }
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = Normalized(header[i]);
        if (name == Normalized(kReasonHeader)) {
            continue;
        }
        const auto col = std::find_if(known.begin(), known.end(),
                                      [&](const ImportColumn& s) { return Matches(s, name); });
        if (col == known.end()) {
            notes.push_back(header[i].empty()
                                ? "Column " + std::to_string(i + 1) + " has no name: it is skipped."
                                : "The column \"" + header[i] +
                                      "\" is not imported: it is skipped.");
            continue;
        }
        int& at = fileColumn[static_cast<std::size_t>(col - known.begin())];
        if (at >= 0) {
            return Refuse("The column \"" + std::string(col->header) + "\" is in the file twice.");
        }
        at = static_cast<int>(i);
    }
    if (fileColumn[kItemNoColumn] < 0 && fileColumn[kStockIdColumn] < 0) {
        return Refuse(
            "The file has no \"Item No\" or \"Stock Id\" column. Its first line must name the "
            "columns, as the template's does.");
    }
    for (std::size_t c = 0; c < known.size(); ++c) {
        const bool required =
            kind == ImportKind::Prices && (std::string_view(known[c].field) == "uom_id" ||
                                           std::string_view(known[c].field) == "unit_price");
        if (required && fileColumn[c] < 0) {
            return Refuse("The file has no \"" + std::string(known[c].header) + "\" column.");
        }
    }
    return true;
}

// Every cell the row gives, as saved; the first cell refused says why the row
// is, the others are read all the same so that the row can still be named.
std::optional<std::string> CatalogueImport::Impl::ReadCells(const std::vector<std::string>& fields,
                                                            Cells& cells) {
    cells.assign(known.size(), std::nullopt);
    std::optional<std::string> refusal;
    if (fields.size() > header.size()) {
        refusal = "The row has " + std::to_string(fields.size()) +
                  " fields; the first line names " + std::to_string(header.size()) + " columns.";
    }
    for (std::size_t c = 0; c < known.size(); ++c) {
        const int at = fileColumn[c];
        if (at < 0 || static_cast<std::size_t>(at) >= fields.size()) {
            continue;
        }
        const std::string cell =
            Trimmed(csv::UnescapeFormula(fields[static_cast<std::size_t>(at)]));
        if (cell.empty()) {
            continue;
        }
        Parsed parsed = ParseCell(catalogue, known[c], cell);
        if (std::any_of(cell.begin(), cell.end(), [](char ch) {
                return static_cast<unsigned char>(ch) < 0x20 && ch != '\t' && ch != '\r' &&
                       ch != '\n';
            })) {
            parsed.refusal = std::string(known[c].header) + " holds a control character.";
        }
        if (parsed.refusal.empty()) {
            cells[c] = std::move(parsed.value);
        } else if (!refusal) {
            refusal = std::move(parsed.refusal);
        }
    }
    return refusal;
}

const Existing* CatalogueImport::Impl::FindItem(const Cells& cells, std::string& refusal) const {
    if (cells[kItemNoColumn]) {
        const auto found = catalogue.byItemNo.find(std::stoi(*cells[kItemNoColumn]));
        if (found == catalogue.byItemNo.end()) {
            refusal = "Item " + *cells[kItemNoColumn] + " does not exist or is not a " +
                      (kind == ImportKind::StockItems ? "stock item." : "stock or rental item.");
            return nullptr;
        }
        return &catalogue.items[found->second];
    }
    if (!cells[kStockIdColumn]) {
        refusal = "The row has no Item No and no Stock Id.";
        return nullptr;
    }
    const auto found = catalogue.byStockId.find(Upper(*cells[kStockIdColumn]));
    if (found == catalogue.byStockId.end()) {
        if (kind == ImportKind::Prices) {
            refusal = "Stock Id \"" + *cells[kStockIdColumn] + "\" does not exist.";
        }
        return nullptr;
    }
    if (found->second.size() > 1) {
        refusal = "Stock Id \"" + *cells[kStockIdColumn] + "\" belongs to " +
                  std::to_string(found->second.size()) + " items: give the Item No.";
        return nullptr;
    }
    return &catalogue.items[found->second.front()];
}

bool CatalogueImport::Impl::SeenBefore(const std::string& key, std::int64_t line,
                                       std::string& refusal) {
    const auto [at, added] = seen.emplace(key, line);
    if (!added) {
        refusal = "Line " + std::to_string(at->second) + " is for the same " +
                  (kind == ImportKind::StockItems ? "item." : "price.");
    }
    return !added;
}

void CatalogueImport::Impl::ClassifyStock(const Cells& cells, PlannedRow& planned) {
    ImportRow& row = planned.row;
    std::string refusal;
    const Existing* item = FindItem(cells, refusal);
    const std::string key = item ? "#" + std::to_string(item->id) : Upper(row.key);
    if (!refusal.empty() || SeenBefore(key, row.line, refusal)) {
        row.details = refusal;
        return;
    }
    std::vector<std::string> merged;
    for (std::size_t c = 0; c < known.size(); ++c) {
        merged.push_back(cells[c] ? *cells[c] : item ? item->values[c] : std::string());
    }
    const auto at = [&](const char* field) -> const std::string& {
        const auto col = std::find_if(known.begin(), known.end(), [&](const ImportColumn& s) {
            return std::string_view(s.field) == field;
        });
        return merged[static_cast<std::size_t>(col - known.begin())];
    };
    if (at("short_description").empty()) {
        row.details = "Short Description is required.";
        return;
    }
    const auto rental = catalogue.rentalTypes.find(Upper(at("stock_type_id")));
    const StockEntry entry{true,
                           at("stock_type_id"),
                           rental == catalogue.rentalTypes.end() ? std::string() : rental->second,
                           at("vendor_id"),
                           at("department_id"),
                           at("report_department_id"),
                           catalogue.reportDepartmentRequired,
                           at("serialized") == "1",
                           at("serial_type_id"),
                           at("model_id")};
    if (const Verdict verdict = CheckStock(entry)) {
        row.details = verdict->message;
        return;
    }
    planned.values = Packed(cells);
    if (!item) {
        row.fate = RowFate::New;
        row.details = at("short_description");
        return;
    }
    planned.id = item->id;
    planned.rowVersion = item->rowVersion;
    for (std::size_t c = kStockIdColumn; c < known.size(); ++c) {
        if (cells[c] && !SameValue(known[c].kind, *cells[c], item->values[c])) {
            row.details += std::string(row.details.empty() ? "" : "; ") + known[c].header + " " +
                           Shown(known[c].kind, item->values[c]) + " \u2192 " +
                           Shown(known[c].kind, *cells[c]);
        }
    }
    row.fate = row.details.empty() ? RowFate::Unchanged : RowFate::Changed;
}

std::string CatalogueImport::Impl::Key(const Cells& cells) const {
    std::string key =
        cells[kItemNoColumn] ? *cells[kItemNoColumn] : cells[kStockIdColumn].value_or("");
    std::string unused;
    const Existing* item = kind == ImportKind::Prices ? FindItem(cells, unused) : nullptr;
    if (item) {
        key = "Item " + std::to_string(item->id) + ", " + cells[3].value_or("") + " x " +
              cells[4].value_or("1") + (cells[2] ? ", season " + *cells[2] : "") +
              (cells[5] ? " at " + *cells[5] : "");
    }
    return key;
}

void CatalogueImport::Impl::ClassifyPrice(const Cells& cells, PlannedRow& planned) {
    ImportRow& row = planned.row;
    std::string refusal;
    const Existing* item = FindItem(cells, refusal);
    if (refusal.empty() && !cells[3]) {
        refusal = "UOM is required.";
    } else if (refusal.empty() && cells[4] == "0") {
        refusal = "Qty is at least 1.";
    } else if (refusal.empty() && !cells[6]) {
        refusal = "Unit Price is required.";
    }
    const std::string key = item ? PriceKey(item->id, cells) : std::string();
    if (!refusal.empty() || SeenBefore(key, row.line, refusal)) {
        row.details = refusal;
        return;
    }
    planned.itemNo = item->id;
    planned.values = Packed(cells);
    const auto price = catalogue.prices.find(key);
    if (price == catalogue.prices.end()) {
        row.fate = RowFate::New;
        row.details = "Unit Price " + Shown(ValueKind::Money, *cells[6]);
        return;
    }
    planned.id = price->second.id;
    planned.rowVersion = price->second.rowVersion;
    if (price->second.values[0] == *cells[6]) {
        row.fate = RowFate::Unchanged;
        return;
    }
    row.fate = RowFate::Changed;
    row.details = "Unit Price " + Shown(ValueKind::Money, price->second.values[0]) + " \u2192 " +
                  Shown(ValueKind::Money, *cells[6]);
}

PlannedRow CatalogueImport::Impl::Classify(const std::vector<std::string>& fields,
                                           std::int64_t line) {
    PlannedRow planned;
    planned.row.line = line;
    Cells cells;
    const auto refusal = ReadCells(fields, cells);
    planned.row.key = Key(cells);
    if (refusal) {
        planned.row.details = *refusal;
    } else if (kind == ImportKind::StockItems) {
        ClassifyStock(cells, planned);
    } else {
        ClassifyPrice(cells, planned);
    }
    if (planned.row.fate == RowFate::Refused) {
        std::vector<std::string> read;
        for (const std::string& field : fields) {
            read.push_back(csv::UnescapeFormula(field));
        }
        planned.values = Packed(read);
    }
    return planned;
}

ImportOutcome CatalogueImport::Impl::ReadRows(csv::Reader& reader, const ImportProgress& progress) {
    constexpr std::uint64_t kReportEvery = 1024;
    std::vector<std::string> fields;
    while (reader.Next(fields)) {
        rows.push_back(Classify(fields, reader.RecordLine()));
        if (progress && rows.size() % kReportEvery == 0 &&
            !progress(reader.BytesRead(), reader.Size())) {
            rows.clear();
            return ImportOutcome::Stopped;
        }
    }
    if (progress) {
        progress(reader.Size(), reader.Size());
    }
    return ImportOutcome::Done;
}

Value ParameterValue(ValueKind kind, const std::optional<std::string>& cell) {
    if (!cell) {
        return Value::Null();
    }
    switch (kind) {
        case ValueKind::Money:
            return Currency::FromRaw(std::stoll(*cell));
        case ValueKind::Count:
            return static_cast<std::int32_t>(std::stol(*cell));
        case ValueKind::Flag:
            return *cell == "1";
        default:
            return *cell;
    }
}

void CatalogueImport::Impl::SetParameters(ParameterList& p, const PlannedRow& planned) const {
    const Cells cells = planned.values.Values();
    const Value id = planned.id == 0 ? Value::Null() : Value(planned.id);
    p["@vym_user"].Value = db.CurrentUserId();
    p["@row_version"].Value = planned.id == 0 ? Value::Null() : planned.rowVersion;
    if (kind == ImportKind::StockItems) {
        p["@item_no"].Value = id;
        for (std::size_t c = kStockIdColumn; c < known.size(); ++c) {
            p[std::string("@") + known[c].field].Value = ParameterValue(known[c].kind, cells[c]);
        }
        return;
    }
    p["@price_no"].Value = id;
    p["@item_no"].Value = planned.itemNo;
    p["@season_no"].Value =
        cells[2] ? Value(static_cast<std::int32_t>(std::stol(*cells[2]))) : Value::Null();
    p["@uom_id"].Value = *cells[3];
    p["@unit_qty"].Value = static_cast<std::int32_t>(std::stol(cells[4].value_or("1")));
    p["@location_id"].Value = ParameterValue(ValueKind::Id, cells[5]);
    p["@unit_price"].Value = ParameterValue(ValueKind::Money, cells[6]);
}

ImportOutcome CatalogueImport::Impl::SaveRows(const ImportProgress& progress) {
    constexpr std::uint64_t kReportEvery = 256;
    const std::uint64_t total =
        static_cast<std::uint64_t>(std::count_if(rows.begin(), rows.end(), [](const PlannedRow& r) {
            return r.row.fate == RowFate::New || r.row.fate == RowFate::Changed;
        }));
    Transaction transaction(db);
    auto cmd = NewProcedure(db, kind == ImportKind::StockItems ? "VYM_SP_IMPORT_SaveStockItem"
                                                               : "VYM_SP_IMPORT_SavePrice");
    std::uint64_t done = 0;
    for (const PlannedRow& planned : rows) {
        if (planned.row.fate != RowFate::New && planned.row.fate != RowFate::Changed) {
            continue;
        }
        SetParameters(cmd->Parameters, planned);
        const std::string line = "Line " + std::to_string(planned.row.line);
        if (!db.Execute(*cmd)) {
            message = line + " could not be saved: the database failed. Nothing was imported.";
            return ImportOutcome::Failed;
        }
        if (const std::string why = NullToEmpty(cmd->Parameters["@Message"].Value); !why.empty()) {
            message = line + ": " + why + " Nothing was imported.";
            return ImportOutcome::Failed;
        }
        if (progress && ++done % kReportEvery == 0 && !progress(done, total)) {
            return ImportOutcome::Stopped;
        }
    }
    transaction.Commit();
    if (progress) {
        progress(total, total);
    }
    return ImportOutcome::Done;
}

CatalogueImport::CatalogueImport(Connection& db, ImportKind kind)
    : impl_(std::make_unique<Impl>(db, kind)) {}

CatalogueImport::~CatalogueImport() = default;

std::string CatalogueImport::Template(ImportKind kind) {
    std::vector<std::string> headers;
    for (const ImportColumn& col : Columns(kind)) {
        headers.emplace_back(col.header);
    }
    std::string out;
    csv::AppendRecord(out, headers);
    return out;
}

const char* CatalogueImport::FateText(RowFate fate) {
    switch (fate) {
        case RowFate::New:
            return "New";
        case RowFate::Changed:
            return "Changed";
        case RowFate::Unchanged:
            return "Unchanged";
        case RowFate::Refused:
            return "Refused";
    }
    return "";
}

ImportOutcome CatalogueImport::DryRun(std::istream& file, const ImportProgress& progress) {
    Impl& d = *impl_;
    d.Reset();
    try {
        csv::Reader reader(file);
        std::vector<std::string> fields;
        if (!reader.Next(fields)) {
            d.Refuse("The file is empty.");
            return ImportOutcome::Failed;
        }
        if (reader.TextEncoding() == csv::Encoding::Windows1252) {
            d.notes.insert(d.notes.begin(), "The file is not UTF-8: it was read as Windows-1252.");
        } else {
            d.notes.insert(d.notes.begin(), std::string("The file was read as ") +
                                                csv::EncodingName(reader.TextEncoding()) + ".");
        }
        if (!d.MapHeader(fields)) {
            return ImportOutcome::Failed;
        }
        LoadReferences(d.db, d.catalogue);
        (d.kind == ImportKind::StockItems ? LoadStockItems : LoadPrices)(d.db, d.catalogue);
        return d.ReadRows(reader, progress);
    } catch (const csv::ReadError& e) {
        d.Refuse(e.what());
    } catch (const Error& e) {
        d.Refuse(e.Description());
    }
    return ImportOutcome::Failed;
}

ImportOutcome CatalogueImport::Commit(const ImportProgress& progress) {
    Impl& d = *impl_;
    if (d.committed || d.rows.empty()) {
        d.message =
            d.committed ? "These rows were imported already." : "There are no rows to import.";
        return ImportOutcome::Failed;
    }
    d.message.clear();
    try {
        const ImportOutcome outcome = d.SaveRows(progress);
        d.committed = outcome == ImportOutcome::Done;
        return outcome;
    } catch (const Error& e) {
        d.message = e.Description() + " Nothing was imported.";
    }
    return ImportOutcome::Failed;
}

std::size_t CatalogueImport::RowCount() const {
    return impl_->rows.size();
}

const ImportRow& CatalogueImport::Row(std::size_t index) const {
    return impl_->rows.at(index).row;
}

std::int64_t CatalogueImport::Count(RowFate fate) const {
    return std::count_if(impl_->rows.begin(), impl_->rows.end(),
                         [&](const PlannedRow& r) { return r.row.fate == fate; });
}

const std::vector<std::string>& CatalogueImport::Notes() const {
    return impl_->notes;
}

const std::string& CatalogueImport::Message() const {
    return impl_->message;
}

std::string CatalogueImport::RefusedCsv() const {
    std::vector<std::string> header = impl_->header;
    header.emplace_back(kReasonHeader);
    std::string out;
    csv::AppendRecord(out, header);
    for (const PlannedRow& planned : impl_->rows) {
        if (planned.row.fate != RowFate::Refused) {
            continue;
        }
        std::vector<std::string> fields;
        for (auto& value : planned.values.Values()) {
            fields.push_back(value.value_or(""));
        }
        // A row with more fields than columns keeps them all: nothing typed is lost.
        fields.resize(std::max(fields.size(), impl_->header.size()));
        fields.push_back(planned.row.details);
        csv::AppendRecord(out, fields);
    }
    return out;
}

}  // namespace vym
