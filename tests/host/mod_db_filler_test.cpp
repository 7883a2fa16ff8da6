#include "host/mod_db_filler.h"

#include <gtest/gtest.h>

#include "base/prompter.h"
#include "gateway/connection.h"
#include "gateway/error_object.h"
#include "gateway/recordset.h"
#include "support/core/prompter_script.h"
#include "support/core/recording_errors.h"
#include "support/server/back_office.h"
#include "ui/flex_grid.h"

namespace vym {
namespace {

// Rows held in memory with declared field types, for the types a SQLite file
// cannot declare (database dates and times).
class MemoryRecordset : public Recordset {
  public:
    struct Column : Field {
        Column(MemoryRecordset& owner, std::string name, DataType type, int index)
            : owner_(owner), name_(std::move(name)), type_(type), index_(index) {}
        const std::string& Name() const override { return name_; }
        DataType Type() const override { return type_; }
        std::int32_t Attributes() const override { return 0; }
        std::int32_t ActualSize() const override { return 0; }
        std::int32_t DefinedSize() const override { return 0; }
        vym::Value Value() const override { return owner_.rows_.at(owner_.at_).at(index_); }
        void SetValue(const vym::Value&) override {}
        vym::Value GetChunk(std::int32_t) override { return vym::Value::Null(); }
        void AppendChunk(const vym::Value&) override {}

        MemoryRecordset& owner_;
        std::string name_;
        DataType type_;
        int index_;
    };

    MemoryRecordset(std::vector<std::pair<std::string, DataType>> columns,
                    std::vector<std::vector<Value>> rows)
        : rows_(std::move(rows)) {
        for (auto& [name, type] : columns) {
            columns_.push_back(
                std::make_unique<Column>(*this, name, type, static_cast<int>(columns_.size())));
        }
    }

    bool IsOpen() const override { return open_; }
    bool Eof() const override { return at_ >= rows_.size(); }
    void MoveNext() override { ++at_; }
    std::int32_t FieldCount() const override { return static_cast<std::int32_t>(columns_.size()); }
    Field& Fields(std::int32_t index) override { return *columns_.at(index); }
    Field& Fields(std::string_view name) override {
        for (auto& column : columns_) {
            if (column->Name() == name) {
                return *column;
            }
        }
        throw std::out_of_range("no field");
    }
    bool HasField(std::string_view) const override { return false; }
    bool NextRecordset() override { return false; }
    void Close() override { open_ = false; }
    void AddNew() override {}
    void Update() override {}

    bool open_ = true;

  private:
    std::vector<std::unique_ptr<Column>> columns_;
    std::vector<std::vector<Value>> rows_;
    std::size_t at_ = 0;
};

// Presses Stop while the fill yields for the given time; any message fails the test.
class StopPressingPrompter : public test::PrompterScript {
  public:
    explicit StopPressingPrompter(int stopOnYield) : stopOnYield_(stopOnYield) {}

    void ProcessPendingInput() override {
        if (++yields == stopOnYield_) {
            StopFill();
        }
    }

    int yields = 0;

  private:
    int stopOnYield_;
};

MemoryRecordset ThreeRows() {
    return MemoryRecordset(
        {{"item_no", DataType::Integer}, {"description", DataType::VarChar}},
        {{Value(1), Value("Ski wax")}, {Value(2), Value("Gloves")}, {Value(3), Value("Goggles")}});
}

TEST(FillGridFromRecordset, FormatsEachCellByItsFieldType) {
    const Date sold = Date::FromParts(2024, 3, 4, 14, 5, 9);
    MemoryRecordset recordset({{"note", DataType::VarChar},
                               {"price", DataType::Currency},
                               {"sold", DataType::Date},
                               {"booked", DataType::DBDate},
                               {"stamp", DataType::DBTimeStamp},
                               {"at", DataType::DBTime},
                               {"qty", DataType::Integer},
                               {"active", DataType::Boolean}},
                              {{Value::Null(), Value(Currency::FromDouble(12.5)), Value(sold),
                                Value(sold), Value(sold), Value(sold), Value(7), Value(true)},
                               {Value("tab\there"), Value::Null(), Value::Null(), Value::Null(),
                                Value::Null(), Value::Null(), Value::Null(), Value::Null()}});
    ui::FlexGrid grid;
    grid.SetFormatString("Note|Price|Sold|Booked|Stamp|At|Qty|Active");
    test::RecordingErrors errors;

    ASSERT_TRUE(FillGridFromRecordset(&errors, grid, recordset, false));

    ASSERT_EQ(grid.Rows(), 3);
    const QStringList first{"",           "12.5000",     "03/04/2024", "03/04/2024",
                            "03/04/2024", "02:05:09 PM", "7",          "True"};
    for (int col = 0; col < first.size(); ++col) {
        EXPECT_EQ(grid.TextMatrix(1, col), first[col]) << "column " << col;
    }
    // A tab inside a value must not shift the row's other cells.
    EXPECT_EQ(grid.TextMatrix(2, 0), "tab here");
    for (int col = 1; col < first.size(); ++col) {
        EXPECT_EQ(grid.TextMatrix(2, col), "") << "column " << col;
    }
    EXPECT_FALSE(recordset.IsOpen());
    EXPECT_TRUE(errors.reports.empty());
}

TEST(FillGridFromRecordset, StopEndsTheFillBeforeTheNextRowAndAClosedRecordsetAddsNothing) {
    StopPressingPrompter stopper(2);  // Stop pressed while yielding before the second row
    MemoryRecordset recordset = ThreeRows();
    ui::FlexGrid grid;
    grid.SetFormatString("Item#|Description");

    EXPECT_TRUE(FillGridFromRecordset(nullptr, grid, recordset, true));

    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(1, 1), "Ski wax");
    EXPECT_EQ(stopper.yields, 2);
    EXPECT_FALSE(recordset.IsOpen());

    // A later fill starts afresh, and one without allow-stop neither yields nor stops.
    MemoryRecordset again = ThreeRows();
    grid.Clear();
    EXPECT_TRUE(FillGridFromRecordset(nullptr, grid, again, false));
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(stopper.yields, 2);

    // A closed recordset adds nothing.
    MemoryRecordset closed = ThreeRows();
    closed.open_ = false;
    grid.Clear();
    EXPECT_FALSE(FillGridFromRecordset(nullptr, grid, closed, false));
    EXPECT_EQ(grid.Rows(), 1);
}

TEST(FillGrid, ShowsARowWhoseFirstFieldIsNullAndReportsABadQueryUnderModDBFiller) {
    test::BackOffice office;
    ui::FlexGrid grid;
    grid.SetFormatString("Note|User");
    test::RecordingErrors errors;
    ASSERT_TRUE(FillGrid(office.Db(), &errors, grid,
                         "SELECT NULL AS no_note, vym_user FROM vym_security_user "
                         "WHERE vym_user = 'ADMIN'",
                         true))
        << (errors.reports.empty() ? "" : errors.reports[0].Description);
    ASSERT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(1, 0), "");
    EXPECT_EQ(grid.TextMatrix(1, 1), "ADMIN");
    EXPECT_TRUE(errors.reports.empty());

    grid.Clear();
    EXPECT_FALSE(FillGrid(office.Db(), &errors, grid,
                          "SELECT no_such_column FROM vym_security_user", false));
    EXPECT_EQ(grid.Rows(), 1);
    ASSERT_EQ(errors.reports.size(), 1u);
    EXPECT_EQ(errors.reports[0].Source, "modDBFiller FillGrid");
    EXPECT_NE(errors.reports[0].NativeConnection, nullptr);
}

}  // namespace
}  // namespace vym
