// The template manager's procedures, on the formats, printer and level of
// AddTemplateTestRows and the club card format 92, so that the demo's
// templates stay out of the way.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/value.h"
#include "gateway/command.h"
#include "gateway/row_version.h"
#include "server/local_app_server.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"
#include "support/server/procedure_test.h"
#include "support/server/template_rows.h"

#include "server_checks.h"

namespace vym {
namespace {

using Args = test::ProcedureArgs;

class TemplateProcedures : public test::ProcedureTest {
  protected:
    void SetUp() override {
        test::AddTemplateTestRows(office_);
        office_.Sql(
            "INSERT INTO vym_print_format (format_no, description, print_format_type) "
            "VALUES (92, 'zz Card', 'CLUB')");
    }
    // Saves a template; the version sent is the one given (0: none read).
    std::unique_ptr<Command> Save(Connection& db, int format, const char* page, const char* level,
                                  const char* description, Value content, std::int32_t version) {
        auto cmd = test::Prepared(db, "VYM_SP_ITEM_UpdatePrintFormatTemplate",
                                  {{"@format_no", format},
                                   {"@printer_type_id", "TP"},
                                   {"@page_size_id", page},
                                   {"@customer_level_id", level},
                                   {"@description", description},
                                   {"@template_type", "CUSTOM"},
                                   {"@format_template", std::move(content)}});
        SendRowVersion(cmd->Parameters, version);
        EXPECT_TRUE(db.Execute(*cmd));
        return cmd;
    }
    // The tree rows of the test's formats of a type, "no|printer|page|level|desc" each.
    std::string Tree(const Value& type) {
        std::string out;
        for (const std::string& row : test::ProcedureRows(
                 *db_, "VYM_SP_ITEM_GetPrintFormatPrinterPage", Args{{"@print_format_type", type}},
                 {"format_no", "printer_type_id", "page_size_id", "customer_level_id",
                  "temp_desc"})) {
            if (std::stoi(row) >= 90) {
                out += (out.empty() ? "" : " ") + row;
            }
        }
        return out;
    }
    // What GetPrintFormatTemplate answers: its return value and "desc:size:content".
    std::pair<std::int32_t, std::string> Get(int format, const char* page, const char* level) {
        auto cmd = test::Prepared(*db_, "VYM_SP_ITEM_GetPrintFormatTemplate",
                                  {{"@format_no", format},
                                   {"@printer_type_id", "tp"},
                                   {"@page_size_id", page},
                                   {"@customer_level_id", level}});
        auto rows = db_->ExecuteRecordset(*cmd);
        std::string row;
        if (!rows->Eof()) {
            const Bytes bytes = rows->Fields("format_template").Value().ToBytes();
            row = NullToEmpty(rows->Fields("Description").Value()) + ":" +
                  NullToEmpty(rows->Fields("template_size").Value()) + ":" +
                  std::string(bytes.begin(), bytes.end());
        }
        return {NullToZero(cmd->Parameters["@RETURN_VALUE"].Value).ToLong(), row};
    }
};

Bytes Of(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

TEST_F(TemplateProcedures, TreeRowsListEachTemplateAndFormatsWithoutOne) {
    Save(*db_, 90, "P2", "None", "Large tag", Of("L"), 0);
    Save(*db_, 90, "P1", "TGOLD", "Gold tag", Of("G"), 0);
    Save(*db_, 90, "P1", "None", "Small tag", Of("S"), 0);
    Save(*db_, 92, "P1", "None", "Card", Of("C"), 0);
    const std::string tags =
        "90|TP|P1|None|Small tag 90|TP|P1|TGOLD|Gold tag 90|TP|P2|None|Large tag";
    struct Case {
        Value type;
        std::string rows;
    };
    for (const Case& c : {Case{"STOCK", "91|-1|-1|| " + tags}, Case{"stock", "91|-1|-1|| " + tags},
                          Case{"CLUB", "92|TP|P1|None|Card"}, Case{"ITEM", ""},
                          Case{Value::Null(), "91|-1|-1|| 92|TP|P1|None|Card " + tags}}) {
        EXPECT_EQ(Tree(c.type), c.rows) << NullToEmpty(c.type);
    }
}

TEST_F(TemplateProcedures, SavesKeepOrReplaceContentAndRefuseAStaleVersion) {
    EXPECT_EQ(Get(90, "p1", "none"), std::make_pair(0, std::string()));
    auto first = Save(*db_, 90, "P1", "None", "Tag", Of(std::string("a\0b", 3)), 0);
    const std::int32_t read = SavedRowVersion(first->Parameters);
    EXPECT_EQ(Get(90, "p1", "none"), std::make_pair(1, std::string("Tag:3:a\0b", 9)));

    // Null content: the description changes, the content stays.
    auto second = Save(*db_, 90, "P1", "None", "Tag 2", Value::Null(), read);
    EXPECT_FALSE(RowChanged(second->Parameters));
    EXPECT_EQ(Get(90, "P1", "None").second, std::string("Tag 2:3:a\0b", 11));

    // Another station saved since `read`: refused, naming who; nothing written.
    auto stale = Save(*db_, 90, "P1", "None", "Tag 3", Of("zz"), read);
    EXPECT_TRUE(RowChanged(stale->Parameters));
    EXPECT_NE(NullToEmpty(stale->Parameters["@message"].Value).find("ADMIN"), std::string::npos);
    EXPECT_EQ(Get(90, "P1", "None").second, std::string("Tag 2:3:a\0b", 11));

    // Deleting takes the one template of the key only.
    Save(*db_, 90, "P2", "None", "Other", Of("o"), 0);
    auto gone = test::Prepared(*db_, "VYM_SP_ITEM_DeletePrintFormatTemplate",
                               {{"@format_no", 90},
                                {"@printer_type_id", "TP"},
                                {"@page_size_id", "P1"},
                                {"@customer_level_id", "None"}});
    EXPECT_TRUE(db_->Execute(*gone));
    EXPECT_EQ(Get(90, "P1", "None").first, 0);
    EXPECT_EQ(Get(90, "P2", "None").first, 1);
}

}  // namespace
}  // namespace vym
