#include <gtest/gtest.h>

#include <new>

#include "base/error.h"
#include "gateway/error_object.h"
#include "gateway/error_trap.h"
#include "support/core/recording_errors.h"
#include "support/core/stub_connection.h"

namespace vym {
namespace {

TEST(ErrorTrap, ReportsTheErrorUnderTheModuleSourceText) {
    test::RecordingErrors errors;
    test::StubConnection native;
    test::StubConnection wrapper;
    wrapper.native = &native;
    ErrorTrap trap("ItemMaint");
    EXPECT_FALSE(trap.Run(&errors, "FunctionUpdate", &wrapper, [] {
        throw Error(errc::kDatabase, "db", "Violation of PRIMARY KEY constraint");
    }));
    EXPECT_EQ(trap.LastErrorNumber(), errc::kDatabase);
    EXPECT_EQ(trap.LastErrorDescription(), "Violation of PRIMARY KEY constraint");
    ASSERT_EQ(errors.reports.size(), 1u);
    const ErrorReport& r = errors.reports[0];
    EXPECT_EQ(r.Number, errc::kDatabase);
    EXPECT_EQ(r.Source, "VYMItem.ItemMaint (1.0.0) FunctionUpdate");
    EXPECT_EQ(r.Description, "Violation of PRIMARY KEY constraint");
    EXPECT_FALSE(r.Flag);
    EXPECT_FALSE(r.Arg1 || r.Arg2 || r.Arg3);
    EXPECT_EQ(r.NativeConnection, &native);  // the connection under the wrapper
    EXPECT_EQ(r.Extra, "");
}

TEST(ErrorTrap, ClassifiesEveryKindOfFailure) {
    test::RecordingErrors errors;
    ErrorTrap trap("CItem");
    trap.Run(&errors, "Load", nullptr, [] { throw std::bad_alloc(); });
    trap.Run(&errors, "Load", nullptr, [] { throw std::runtime_error("disk full"); });
    trap.Run(&errors, "Load", nullptr, [] { throw 42; });
    ASSERT_EQ(errors.reports.size(), 3u);
    EXPECT_EQ(errors.reports[0].Number, errc::kOutOfMemory);
    EXPECT_EQ(errors.reports[0].Description, "Out of memory");
    EXPECT_EQ(errors.reports[1].Number, errc::kUnspecified);
    EXPECT_EQ(errors.reports[1].Description, "disk full");
    EXPECT_EQ(errors.reports[2].Number, errc::kUnspecified);
    EXPECT_EQ(errors.reports[2].NativeConnection, nullptr);
}

TEST(ErrorTrap, SuccessReportsNothingAndSharedModulesUseTheirBareName) {
    test::RecordingErrors errors;
    ErrorTrap shared = ErrorTrap::Shared("modDBFiller");
    EXPECT_TRUE(shared.Run(&errors, "FillGrid", nullptr, [] {}));
    EXPECT_TRUE(errors.reports.empty());
    shared.Run(&errors, "FillGrid", nullptr, [] { throw Error(5, "x", "Invalid"); });
    ASSERT_EQ(errors.reports.size(), 1u);
    EXPECT_EQ(errors.reports[0].Source, "modDBFiller FillGrid");
    // Without an error object the error is still kept.
    shared.Run(nullptr, "FillGrid", nullptr, [] { throw Error(6, "x", "Overflow"); });
    EXPECT_EQ(shared.LastErrorNumber(), 6);
    EXPECT_EQ(ModuleSourcePrefix("frmTemplates"), "VYMItem.frmTemplates (1.0.0)");
}

}  // namespace
}  // namespace vym
