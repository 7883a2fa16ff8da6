// vym-sql: ad-hoc SQL and stored-procedure calls against a database of the
// embedded server, through the same gateway the module uses.

#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/csv.h"
#include "base/error.h"
#include "base/format.h"
#include "gateway/command.h"
#include "model/catalogue_import.h"
#include "server/large_catalogue.h"
#include "server/local_app_server.h"
#include "server/postgres_session.h"
#include "vym/version.h"

namespace {

constexpr int kFailed = 1;  // the database refused or failed
constexpr int kUsage = 2;   // the command line was wrong

constexpr const char* kUsageText =
    "usage: vym-sql --database FILE [--user ID] [--demo] [--csv] \"SQL\"\n"
    "       vym-sql --database FILE [--user ID] [--csv] --exec PROCEDURE [@name=value ...]\n"
    "       vym-sql --database FILE --demo\n"
    "       vym-sql --database FILE --generate N\n"
    "       vym-sql --database FILE --import CSV [--kind stock|prices] [--dry-run]\n"
    "               [--refused OUT]\n"
    "       vym-sql --template [--kind stock|prices]\n"
    "       vym-sql --help | --version\n"
    "  --demo   create FILE with the demo back office when it does not exist\n"
    "  --csv    print rows as comma-separated values\n"
    "  --generate N  add N made-up items of every type and about N serialized units\n"
    "                (for measuring searches)\n"
    "  --import CSV  import stock items (the default) or prices from CSV: every row is listed\n"
    "                with its fate, then all accepted rows are saved in one transaction, or\n"
    "                none; --dry-run saves nothing, --refused writes the refused rows to OUT\n"
    "  --template    print the header line of an import file\n"
    "  values of --exec are converted to the parameter's type; NULL sends Null\n"
    "  FILE may be a PostgreSQL database, postgresql://user@host:port/dbname; its password\n"
    "  comes from PGPASSWORD or ~/.pgpass, never from the command line\n";

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Arguments {
    bool help = false;
    bool version = false;
    std::string database;
    std::string user = "ADMIN";
    bool demo = false;
    bool csv = false;
    std::int32_t generate = 0;  // items to add
    std::string sql;
    std::string procedure;
    std::vector<std::string> assignments;  // "@name=value"
    std::string importFile;
    vym::ImportKind kind = vym::ImportKind::StockItems;
    bool dryRun = false;
    bool printTemplate = false;
    std::string refusedFile;
};

Arguments Parse(int argc, char** argv) {
    Arguments args;
    bool exec = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--version") {
            args.version = true;
            return args;
        }
        if (arg == "--help" || arg == "-h") {
            args.help = true;
            return args;
        }
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                throw UsageError(arg + " needs a value");
            }
            return argv[++i];
        };
        if (exec && !args.procedure.empty()) {
            if (arg.empty() || arg[0] != '@' || arg.find('=') == std::string::npos) {
                throw UsageError("expected @name=value after the procedure, got \"" + arg + "\"");
            }
            args.assignments.push_back(arg);
        } else if (arg == "--database") {
            args.database = value();
        } else if (arg == "--user") {
            args.user = value();
        } else if (arg == "--demo") {
            args.demo = true;
        } else if (arg == "--generate") {
            args.generate = std::atoi(value().c_str());
            if (args.generate <= 0) {
                throw UsageError("--generate needs a number of items");
            }
        } else if (arg == "--csv") {
            args.csv = true;
        } else if (arg == "--import") {
            args.importFile = value();
        } else if (arg == "--kind") {
            const std::string kind = value();
            if (kind != "stock" && kind != "prices") {
                throw UsageError("--kind is stock or prices");
            }
            args.kind = kind == "stock" ? vym::ImportKind::StockItems : vym::ImportKind::Prices;
        } else if (arg == "--dry-run") {
            args.dryRun = true;
        } else if (arg == "--refused") {
            args.refusedFile = value();
        } else if (arg == "--template") {
            args.printTemplate = true;
        } else if (arg == "--exec") {
            exec = true;
            args.procedure = value();
        } else if (arg.starts_with("--")) {
            throw UsageError("unknown option " + arg);
        } else if (args.sql.empty()) {
            args.sql = arg;
        } else {
            throw UsageError("give the SQL as one argument (quote it)");
        }
    }
    if (args.printTemplate) {
        return args;
    }
    if (args.database.empty()) {
        throw UsageError("--database FILE is required");
    }
    if (!args.importFile.empty() && (!args.sql.empty() || exec)) {
        throw UsageError("give either --import or SQL or --exec, not more");
    }
    if (!args.sql.empty() && exec) {
        throw UsageError("give either SQL or --exec, not both");
    }
    if (args.sql.empty() && !exec && !args.demo && args.generate == 0 && args.importFile.empty()) {
        throw UsageError("nothing to run: give SQL or --exec PROCEDURE");
    }
    return args;
}

std::string Text(const vym::Value& value, bool csv) {
    switch (value.Type()) {
        case vym::VarType::Null:
            return csv ? "" : "NULL";
        case vym::VarType::Date:
            return value.ToDate().ToIso();
        case vym::VarType::Currency:
            return vym::Format(value, "0.0000");
        case vym::VarType::Binary:
            return "<" + std::to_string(value.ToBytes().size()) + " bytes>";
        default:
            return value.ToString();
    }
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

std::vector<std::string> ReadRow(vym::Recordset& rs, bool csv) {
    std::vector<std::string> row;
    row.reserve(static_cast<std::size_t>(rs.FieldCount()));
    for (std::int32_t i = 0; i < rs.FieldCount(); ++i) {
        row.push_back(Text(rs.Fields(i).Value(), csv));
    }
    return row;
}

void PrintCsv(const std::vector<std::string>& row) {
    for (std::size_t c = 0; c < row.size(); ++c) {
        std::cout << (c ? "," : "") << CsvField(row[c]);
    }
    std::cout << "\r\n";
}

// Rows are written as they are read, so memory stays flat whatever the size
// of the result. The table takes its column widths from the first rows; a
// longer value further down only pushes the rest of its own line along.
void PrintRows(vym::Recordset& rs, bool csv) {
    constexpr std::size_t kWidthRows = 1000;
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < rs.FieldCount(); ++i) {
        names.push_back(rs.Fields(i).Name());
    }
    if (csv) {
        PrintCsv(names);
        for (; !rs.Eof(); rs.MoveNext()) {
            PrintCsv(ReadRow(rs, true));
        }
        return;
    }
    std::vector<std::vector<std::string>> first;
    for (; !rs.Eof() && first.size() < kWidthRows; rs.MoveNext()) {
        first.push_back(ReadRow(rs, false));
    }
    std::vector<std::size_t> widths;
    for (const std::string& name : names) {
        widths.push_back(name.size());
    }
    for (const auto& row : first) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            widths[c] = std::max(widths[c], row[c].size());
        }
    }
    const auto print = [&](const std::vector<std::string>& row) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size()) {
                line += std::string(std::max(widths[c], row[c].size()) - row[c].size() + 2, ' ');
            }
        }
        std::cout << line << '\n';
    };
    print(names);
    std::string rule;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        rule += std::string(widths[c], '-') + (c + 1 < widths.size() ? "  " : "");
    }
    std::cout << rule << '\n';
    for (const auto& row : first) {
        print(row);
    }
    std::size_t count = first.size();
    first.clear();
    for (; !rs.Eof(); rs.MoveNext(), ++count) {
        print(ReadRow(rs, false));
    }
    std::cout << "(" << count << (count == 1 ? " row)" : " rows)") << '\n';
}

bool IsQuery(const std::string& sql) {
    std::string word;
    for (char c : sql) {
        if (std::isalpha(static_cast<unsigned char>(c))) {
            word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        } else if (!word.empty() || !std::isspace(static_cast<unsigned char>(c))) {
            break;
        }
    }
    return word == "SELECT" || word == "WITH" || word == "PRAGMA" || word == "VALUES";
}

// A command-line text as a value of the parameter's type.
vym::Value ParameterValue(const vym::Parameter& parameter, const std::string& text) {
    if (text == "NULL") {
        return vym::Value::Null();
    }
    const auto bad = [&](const std::string& expected) {
        return UsageError("bad value \"" + text + "\" for " + parameter.Name + ": expected " +
                          expected);
    };
    switch (parameter.Type) {
        case vym::DataType::Boolean: {
            std::string lower;
            for (char c : text) {
                lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            if (lower == "1" || lower == "-1" || lower == "true" || lower == "yes") {
                return true;
            }
            if (lower == "0" || lower == "false" || lower == "no") {
                return false;
            }
            throw bad("True or False");
        }
        case vym::DataType::UnsignedTinyInt:
        case vym::DataType::SmallInt:
        case vym::DataType::Integer:
        case vym::DataType::BigInt: {
            const auto number = vym::ParseNumber(text);
            if (!number || *number != std::floor(*number)) {
                throw bad("a whole number");
            }
            try {
                const vym::Value v(*number);
                return parameter.Type == vym::DataType::SmallInt ? vym::Value(v.ToInteger())
                       : parameter.Type == vym::DataType::UnsignedTinyInt ? vym::Value(v.ToByte())
                       : parameter.Type == vym::DataType::Integer         ? vym::Value(v.ToLong())
                                                                          : v;
            } catch (const vym::Error&) {
                throw bad("a number in the parameter's range");
            }
        }
        case vym::DataType::Single:
        case vym::DataType::Double:
        case vym::DataType::Numeric:
        case vym::DataType::Currency: {
            const auto number = vym::ParseNumber(text);
            if (!number) {
                throw bad("a number");
            }
            if (parameter.Type == vym::DataType::Currency) {
                try {
                    return vym::Currency::FromDouble(*number);
                } catch (const vym::Error&) {
                    throw bad("an amount in range");
                }
            }
            return *number;
        }
        case vym::DataType::Date:
        case vym::DataType::DBDate:
        case vym::DataType::DBTime:
        case vym::DataType::DBTimeStamp: {
            vym::Date date;
            if (!vym::Date::ParseIso(text, date)) {
                throw bad("a date as yyyy-mm-dd or yyyy-mm-dd hh:mm:ss");
            }
            return date;
        }
        default:
            return text;
    }
}

int RunSql(vym::Connection& connection, const Arguments& args) {
    if (!IsQuery(args.sql)) {
        const std::int64_t changed = connection.ExecuteSQL(args.sql);
        std::cout << "(" << changed << (changed == 1 ? " row" : " rows") << " affected)\n";
        return 0;
    }
    auto rs = connection.OpenRecordset(args.sql);
    if (rs->IsOpen()) {
        PrintRows(*rs, args.csv);
    }
    return 0;
}

int RunProcedure(vym::Connection& connection, const Arguments& args) {
    auto command = connection.NewCommand();
    command->CommandText = args.procedure;
    command->CommandType = vym::CommandTypeEnum::StoredProc;
    command->Parameters.Refresh();
    for (const std::string& assignment : args.assignments) {
        const auto equals = assignment.find('=');
        const std::string name = assignment.substr(0, equals);
        vym::Parameter* parameter = command->Parameters.Find(name);
        if (!parameter) {
            throw UsageError(args.procedure + " has no parameter " + name);
        }
        if (parameter->Direction == vym::ParameterDirection::ReturnValue ||
            parameter->Direction == vym::ParameterDirection::Output) {
            throw UsageError(name + " is an output of " + args.procedure + ", not an input");
        }
        parameter->Value = ParameterValue(*parameter, assignment.substr(equals + 1));
    }
    auto rs = connection.ExecuteRecordset(*command);
    bool first = true;
    while (rs->IsOpen()) {
        if (!first) {
            std::cout << '\n';
        }
        first = false;
        PrintRows(*rs, args.csv);
        rs->NextRecordset();
    }
    for (const vym::Parameter& parameter : command->Parameters) {
        if (parameter.Direction != vym::ParameterDirection::Input) {
            std::cout << parameter.Name << " = " << Text(parameter.Value, false) << '\n';
        }
    }
    return 0;
}

// Whether the generation's progress line is waiting for its end.
bool progressShown = false;

// An error on a line of its own, ended whatever the message ends with.
int Fail(int exit, std::string_view message) {
    if (progressShown) {
        std::cerr << '\n';
        progressShown = false;
    }
    std::cerr << "vym-sql: " << message;
    if (!message.ends_with('\n')) {
        std::cerr << '\n';
    }
    return exit;
}

// Progress on stderr, a line that each report writes over.
bool ShowProgress(const char* step, std::uint64_t done, std::uint64_t total) {
    std::cerr << '\r' << step << ' ' << (total == 0 ? 100 : done * 100 / total) << "%   ";
    progressShown = true;
    return true;
}

void EndProgress() {
    if (progressShown) {
        std::cerr << '\n';
        progressShown = false;
    }
}

// Lists every row with its fate on stdout (as CSV), then saves the accepted
// rows unless this is a dry run.
int RunImport(vym::Connection& connection, const Arguments& args) {
    std::ifstream file(args.importFile, std::ios::binary);
    if (!file) {
        return Fail(kFailed, "The file \"" + args.importFile + "\" can not be read.");
    }
    vym::CatalogueImport import(connection, args.kind);
    const auto outcome = import.DryRun(file, [](std::uint64_t done, std::uint64_t total) {
        return ShowProgress("Reading", done, total);
    });
    EndProgress();
    if (outcome != vym::ImportOutcome::Done) {
        return Fail(kFailed, import.Message());
    }
    for (const std::string& note : import.Notes()) {
        std::cerr << note << '\n';
    }
    std::string out;
    vym::csv::AppendRecord(out, {"Line", "Fate", "Key", "Details"});
    for (std::size_t i = 0; i < import.RowCount(); ++i) {
        const vym::ImportRow& row = import.Row(i);
        vym::csv::AppendRecord(
            out, {std::to_string(row.line), vym::CatalogueImport::FateText(row.fate), row.key,
                  row.details});
    }
    std::cout << out;
    std::cerr << import.Count(vym::RowFate::New) << " new, " << import.Count(vym::RowFate::Changed)
              << " changed, " << import.Count(vym::RowFate::Unchanged) << " unchanged, "
              << import.Count(vym::RowFate::Refused) << " refused\n";
    if (!args.refusedFile.empty()) {
        std::ofstream refused(args.refusedFile, std::ios::binary);
        refused << import.RefusedCsv();
        if (!refused.flush()) {
            return Fail(kFailed,
                        "The refused rows could not be written to \"" + args.refusedFile + "\".");
        }
    }
    if (args.dryRun || import.Count(vym::RowFate::New) + import.Count(vym::RowFate::Changed) == 0) {
        return 0;
    }
    const auto saved = import.Commit([](std::uint64_t done, std::uint64_t total) {
        return ShowProgress("Saving", done, total);
    });
    EndProgress();
    if (saved != vym::ImportOutcome::Done) {
        return Fail(kFailed, import.Message());
    }
    std::cerr << "Imported "
              << import.Count(vym::RowFate::New) + import.Count(vym::RowFate::Changed)
              << " rows.\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments args;
    try {
        args = Parse(argc, argv);
    } catch (const UsageError& e) {
        const int exit = Fail(kUsage, e.what());
        std::cerr << kUsageText;
        return exit;
    }
    if (args.version) {
        std::cout << "vym-sql (VYMItem) " << vym::version::kVersion << '\n';
        return 0;
    }
    if (args.help) {
        std::cout << kUsageText;
        return 0;
    }
    if (args.printTemplate) {
        std::cout << vym::CatalogueImport::Template(args.kind);
        return 0;
    }
    try {
        vym::server::OpenOptions options;
        options.userId = args.user;
        options.createIfMissing = args.demo;
        options.demoData = args.demo;
        if (args.generate > 0) {
            vym::server::LargeCatalogue::Generate(args.database, args.generate,
                                                  [](std::int32_t written) {
                                                      std::cerr << written << " items\r";
                                                      progressShown = true;
                                                  });
            std::cerr << '\n';
            return 0;
        }
        if (!args.demo && !vym::server::IsPostgresUri(args.database) &&
            !std::filesystem::exists(args.database)) {
            return Fail(kFailed, "The database \"" + args.database +
                                     "\" does not exist. To create one with the demo back "
                                     "office, run: vym-sql --database " +
                                     args.database + " --demo");
        }
        // An older database is updated as it opens, in minutes for a large
        // one; a new file is made quietly.
        int shownStep = 0;
        if (!args.demo || vym::server::IsPostgresUri(args.database) ||
            std::filesystem::exists(args.database)) {
            options.updateProgress = [&shownStep](int step, int steps) {
                if (step != shownStep) {
                    shownStep = step;
                    std::cerr << "\rUpdating the database for this version: step " << step << " of "
                              << steps << "   ";
                    progressShown = true;
                }
                return true;
            };
        }
        auto server = vym::server::LocalAppServer::Open(args.database, options);
        EndProgress();
        auto connection = server->DBConnection();
        if (!args.procedure.empty()) {
            return RunProcedure(*connection, args);
        }
        if (!args.importFile.empty()) {
            return RunImport(*connection, args);
        }
        return args.sql.empty() ? 0 : RunSql(*connection, args);
    } catch (const UsageError& e) {
        return Fail(kUsage, e.what());
    } catch (const vym::Error& e) {
        return Fail(kFailed, e.Description());
    } catch (const std::exception& e) {
        return Fail(kFailed, e.what());
    }
}
