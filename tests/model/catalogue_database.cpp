#include "catalogue_database.h"

#include <strings.h>

namespace vym::test {

std::string CatalogueDatabase::Joined(const std::string& sql, const std::string& separator) {
    std::string joined;
    for (auto rs = Db()->OpenRecordset(sql); !rs->Eof(); rs->MoveNext()) {
        joined += joined.empty() ? "" : separator;
        for (int col = 0; col < rs->FieldCount(); ++col) {
            const Value& value = rs->Fields(col).Value();
            joined += value.IsNull() ? std::string("-") : NullToEmpty(value);
        }
    }
    return joined;
}

std::string CatalogueDatabase::Snapshot() {
    static const char* const kTables[] = {"vym_item",
                                          "vym_item_ticket",
                                          "vym_item_ss",
                                          "vym_item_photo",
                                          "vym_item_ship",
                                          "vym_item_rental",
                                          "vym_item_stock",
                                          "vym_item_instruction",
                                          "vym_item_stock_map",
                                          "vym_extension",
                                          "vym_item_add_on",
                                          "vym_register_group_item",
                                          "vym_item_stock_rental",
                                          "vym_item_rental_detail"};
    std::string dump;
    for (const char* table : kTables) {
        auto rs = Db()->OpenRecordset(std::string("SELECT * FROM ") + table);
        for (; !rs->Eof(); rs->MoveNext()) {
            dump += table;
            for (std::int32_t i = 0; i < rs->FieldCount(); ++i) {
                dump += "|" + NullToEmpty(rs->Fields(i).Value());
            }
            dump += "\n";
        }
    }
    return dump;
}

const Parameter* RecordingConnection::Call::Find(std::string_view name) const {
    for (const Parameter& p : parameters) {
        if (p.Name.size() == name.size() &&
            strncasecmp(p.Name.data(), name.data(), name.size()) == 0) {
            return &p;
        }
    }
    return nullptr;
}

void RecordingConnection::Record(const Command& command) {
    Call call{command.CommandText, {}};
    for (const Parameter& p : command.Parameters) {
        call.parameters.push_back(p);
    }
    calls.push_back(std::move(call));
}

bool RecordingConnection::Execute(Command& command) {
    Record(command);
    return inner_.Execute(command);
}
std::unique_ptr<Recordset> RecordingConnection::ExecuteRecordset(Command& command) {
    Record(command);
    return inner_.ExecuteRecordset(command);
}
std::unique_ptr<Recordset> RecordingConnection::OpenRecordset(std::string_view sql) {
    calls.push_back({std::string(sql), {}});
    return inner_.OpenRecordset(sql);
}
std::unique_ptr<Recordset> RecordingConnection::OpenUpdatableRecordset(std::string_view sql) {
    calls.push_back({std::string(sql), {}});
    return inner_.OpenUpdatableRecordset(sql);
}
std::int64_t RecordingConnection::ExecuteSQL(std::string_view sql) {
    calls.push_back({std::string(sql), {}});
    return inner_.ExecuteSQL(sql);
}

}  // namespace vym::test
