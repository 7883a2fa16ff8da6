#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/value.h"
#include "gateway/command.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"
#include "support/server/procedure_test.h"

namespace vym {
namespace {

// The demo database with the standard procedures.
class PackageProcedures : public test::ProcedureTest {
  protected:
    Answer SaveGroups(const std::string& document) {
        return Call("VYM_SP_ITEM_UpdateRegisterGroupPackageXML", {{"@XMLDOC", document}});
    }
    std::vector<std::string> Groups(std::int32_t packageNo) {
        return test::RowTexts(*db_->OpenRecordset(
            "SELECT register_group_id FROM vym_register_group_package WHERE package_no = " +
            std::to_string(packageNo) + " ORDER BY register_group_id"));
    }
};

TEST_F(PackageProcedures, RegisterGroupDocumentReplacesThePackagesGroups) {
    ASSERT_EQ(Groups(1), (std::vector<std::string>{"RENTAL", "TICKETS"}));
    const Answer saved = SaveGroups(
        "<ROOT>\r\n"
        "    <vym_register_group_package package_no=\"1\" register_group_id=\"SCHOOL\"/>\r\n"
        "    <vym_register_group_package package_no=\"2\" register_group_id=\"\"/>\r\n"
        "</ROOT>");
    EXPECT_EQ(saved.returned, 0);
    EXPECT_EQ(saved.message, "");
    EXPECT_EQ(Groups(1), std::vector<std::string>{"SCHOOL"});
    EXPECT_TRUE(Groups(2).empty());
}

TEST_F(PackageProcedures, MalformedRegisterGroupDocumentsAreRefusedAndChangeNothing) {
    const auto first = Groups(1);
    const auto second = Groups(2);
    struct Case {
        const char* document;
        const char* message;
    };
    for (const Case& c : {
             Case{"<ROOT><vym_register_group_package package_no=\"2x\" "
                  "register_group_id=\"SCHOOL\"/></ROOT>",
                  "The package_no \"2x\" is not a number."},
             Case{"<ROOT><vym_register_group_package register_group_id=\"SCHOOL\"/></ROOT>",
                  "The package_no \"\" is not a number."},
             Case{"<ROOT><vym_register_group_item package_no=\"1\" "
                  "register_group_id=\"\"/></ROOT>",
                  "Unexpected element vym_register_group_item in the document."},
             Case{"<ROOT><vym_register_group_package package_no=\"1\" register_group_id=\"\"/>"
                  "<vym_register_group_pakage package_no=\"2\" register_group_id=\"\"/></ROOT>",
                  "Unexpected element vym_register_group_pakage in the document."},
             Case{"<PACKAGES><vym_register_group_package package_no=\"1\" "
                  "register_group_id=\"\"/></PACKAGES>",
                  "The document must begin with <ROOT>."},
             Case{"<ROOT><vym_register_group_package package_no=\"1\"></ROOT>",
                  "The document could not be read: Start-end tags mismatch."},
         }) {
        const Answer refused = SaveGroups(c.document);
        EXPECT_LT(refused.returned, 0) << c.document;
        EXPECT_EQ(refused.message, c.message) << c.document;
        EXPECT_EQ(Groups(1), first) << c.document;
        EXPECT_EQ(Groups(2), second) << c.document;
    }
}

}  // namespace
}  // namespace vym
