// Templates of the demo format 3 (STOCK "Hang Tag 2x3", whose demo template
// is for 2" x 3" tags) on the thermal printer's 2.25" x 1.25" labels, saved
// and read back through the procedures.
#include "model/ctemplate.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "catalogue_database.h"
#include "support/server/back_office.h"

namespace vym::test {
namespace {

class CTemplateTest : public RecordTest {
  protected:
    // A stored template of format 3 with the given content.
    CTemplate Stored(const std::string& level, const std::string& content) {
        CTemplate t;
        t.SetFormatNo(3);
        t.SetPrinterTypeID("THERMAL");
        t.SetPageSizeID("2.25X1.25");
        t.SetCustomerLevelID(level);
        t.SetDescription("Hang tag");
        t.SetTemplateType("TEMPLATE");
        t.SetContent(content);
        EXPECT_TRUE(t.UpdateTemplate(db.Db(), db.Errors()));
        return t;
    }
    std::string Row(const std::string& level) {
        return db.Joined(
            "SELECT description, '|', template_type, '|', template_size FROM "
            "vym_print_format_template WHERE format_no = 3 AND page_size_id = '2.25X1.25' "
            "AND customer_level_id = '" +
                level + "'",
            ";");
    }
};

TEST_F(CTemplateTest, EventsFollowRealChangesOnly) {
    struct Case {
        const char* name;
        std::function<void(CTemplate&)> change;
        std::string event;  // the property's own event, "" for none
        bool unsaved;
    };
    const Case cases[] = {
        {"format", [](CTemplate& t) { t.SetFormatNo(7); }, "FormatChanged 7", true},
        {"printer", [](CTemplate& t) { t.SetPrinterTypeID("THERMAL"); },
         "PrinterTypeChanged THERMAL", true},
        {"page", [](CTemplate& t) { t.SetPageSizeID("A4"); }, "PageSizeChanged A4", true},
        {"level", [](CTemplate& t) { t.SetCustomerLevelID("GOLD"); }, "CustomerLevelChanged GOLD",
         true},
        {"description", [](CTemplate& t) { t.SetDescription("Tag"); }, "DescriptionChanged Tag",
         true},
        {"type", [](CTemplate& t) { t.SetTemplateType("TEMPLATE"); }, "", true},
        {"content", [](CTemplate& t) { t.SetContent("x"); }, "TemplateTemplateChanged", true},
        {"format type", [](CTemplate& t) { t.SetPrintFormatType("CLUB"); }, "", false},
    };
    for (const Case& c : cases) {
        CTemplate t;
        std::vector<std::string> raised;
        t.On.TemplateChanged = [&] { raised.push_back("TemplateChanged"); };
        t.On.TemplateTemplateChanged = [&] { raised.push_back("TemplateTemplateChanged"); };
        t.On.FormatChanged = [&](std::int32_t n) {
            raised.push_back("FormatChanged " + std::to_string(n));
        };
        auto text = [&](const char* name) {
            return [&raised, name](const std::string& v) { raised.push_back(name + (" " + v)); };
        };
        t.On.PrinterTypeChanged = text("PrinterTypeChanged");
        t.On.PageSizeChanged = text("PageSizeChanged");
        t.On.CustomerLevelChanged = text("CustomerLevelChanged");
        t.On.DescriptionChanged = text("DescriptionChanged");

        c.change(t);
        std::vector<std::string> expected;
        if (!c.event.empty()) {
            expected.push_back(c.event);
        }
        expected.push_back("TemplateChanged");
        EXPECT_EQ(raised, expected) << c.name;
        EXPECT_EQ(t.ChangesNotSaved, c.unsaved) << c.name;

        // The same value again raises nothing and leaves the flag as it was.
        raised.clear();
        t.ChangesNotSaved = false;
        c.change(t);
        EXPECT_TRUE(raised.empty()) << c.name;
        EXPECT_FALSE(t.ChangesNotSaved) << c.name;
    }
}

TEST_F(CTemplateTest, ContentRoundTripsByteForByteAndOnlyWhenChanged) {
    // NULs, CR LF, bytes that are no UTF-8: the file is not text.
    static constexpr char kBytes[] = "<label>\r\n\0\xff\xfe end";
    const std::string content(kBytes, sizeof kBytes - 1);
    CTemplate saved = Stored("", content);
    EXPECT_EQ(saved.CustomerLevelID(), "None");
    EXPECT_EQ(Row("None"), "Hang tag|TEMPLATE|16");
    bool committed = false;

    CTemplate opened;
    ASSERT_TRUE(opened.OpenTemplate(db.Db(), db.Errors(), 3, "THERMAL", "2.25X1.25", "None"));
    EXPECT_EQ(opened.Content(), content);
    EXPECT_FALSE(opened.ContentChanged());
    EXPECT_FALSE(opened.ChangesNotSaved);
    EXPECT_EQ(opened.OriginalDescription(), "Hang tag");
    const std::string file = opened.StringTemplate();
    EXPECT_TRUE(std::filesystem::exists(file));

    // A new description alone leaves the stored content as it was.
    opened.On.TemplateCommitted = [&] { committed = true; };
    opened.SetDescription("Hang tag, large");
    ASSERT_TRUE(opened.UpdateTemplate(db.Db(), db.Errors()));
    EXPECT_TRUE(committed);
    EXPECT_EQ(Row("None"), "Hang tag, large|TEMPLATE|16");
    EXPECT_EQ(opened.OriginalDescription(), "Hang tag, large");

    // New content replaces the bytes and the size together; an empty one too.
    opened.SetContent("short");
    ASSERT_TRUE(opened.UpdateTemplate(db.Db(), db.Errors()));
    EXPECT_EQ(Row("None"), "Hang tag, large|TEMPLATE|5");
    opened.SetContent("");
    ASSERT_TRUE(opened.UpdateTemplate(db.Db(), db.Errors()));
    CTemplate empty;
    ASSERT_TRUE(empty.OpenTemplate(db.Db(), db.Errors(), 3, "THERMAL", "2.25X1.25", ""));
    EXPECT_EQ(empty.Content(), "");

    // The work file goes with its object.
    opened = CTemplate();
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(CTemplateTest, MissingKeyAndFailedSaveLeaveTheObjectAsItWas) {
    CTemplate missing;
    EXPECT_FALSE(missing.OpenTemplate(db.Db(), db.Errors(), 3, "THERMAL", "2.25X1.25", "GOLD"));
    EXPECT_EQ(missing.StringTemplate(), "");
    EXPECT_EQ(missing.Description(), "");

    CTemplate t = Stored("GOLD", "v1");
    t.SetContent("v2");
    BackOffice& office = db.Office();
    office.Faults().FailOnCall(1, FaultInjectingConnection::Fault::Locked);
    expectedReports = 1;
    EXPECT_FALSE(t.UpdateTemplate(&office.Faults(), db.Errors()));
    EXPECT_TRUE(t.ChangesNotSaved);
    EXPECT_TRUE(t.ContentChanged());
    EXPECT_EQ(t.Content(), "v2");
    CTemplate stored;
    ASSERT_TRUE(stored.OpenTemplate(db.Db(), db.Errors(), 3, "THERMAL", "2.25X1.25", "GOLD"));
    EXPECT_EQ(stored.Content(), "v1");
}

}  // namespace
}  // namespace vym::test
