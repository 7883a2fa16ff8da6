#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "gateway/connection.h"

namespace vym {

enum class ImportKind { StockItems, Prices };

// What an import does with one row of the file.
enum class RowFate { New, Changed, Unchanged, Refused };

struct ImportRow {
    std::int64_t line = 0;  // where the row begins in the file
    RowFate fate = RowFate::Refused;
    std::string key;      // the item (and price) the row is for, as the file names it
    std::string details;  // why it is refused, what changes, or what is new
};

// Reports `done` of `total` (bytes read, rows saved); False stops the step.
using ImportProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

enum class ImportOutcome { Done, Stopped, Failed };

// An import of stock items or of their base prices from a CSV file whose
// first line names the columns (as Template() does; case, spaces and
// underscores do not matter, unknown columns are noted and skipped).
//
// DryRun reads the whole file and decides each row's fate against the
// database, writing nothing. Commit then saves every new and changed row in
// one transaction: all of them or, when a row is refused by the server, the
// step is stopped or the database fails, none. An empty cell leaves what the
// item or price holds as it is; nothing in a cell is ever evaluated.
class CatalogueImport {
  public:
    CatalogueImport(Connection& db, ImportKind kind);
    ~CatalogueImport();
    CatalogueImport(const CatalogueImport&) = delete;
    CatalogueImport& operator=(const CatalogueImport&) = delete;

    // The header line of a file of this kind, as CSV.
    static std::string Template(ImportKind kind);
    static const char* FateText(RowFate fate);

    // Failed (with Message()) when the file cannot be read as an import of
    // this kind; Stopped when `progress` said so. Either way there are no rows.
    ImportOutcome DryRun(std::istream& file, const ImportProgress& progress = {});
    // Failed when there was no dry run to import or a row could not be
    // saved (Message() names its line); the database is then as it was.
    ImportOutcome Commit(const ImportProgress& progress = {});

    // The rows of the last dry run, in file order.
    std::size_t RowCount() const;
    const ImportRow& Row(std::size_t index) const;
    std::int64_t Count(RowFate fate) const;
    // What users should know about the file: how it was read, what was skipped.
    const std::vector<std::string>& Notes() const;
    const std::string& Message() const;

    // The refused rows under the file's own header, with why each was
    // refused in a last column that a later import skips: a file to fix and
    // import again.
    std::string RefusedCsv() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vym
