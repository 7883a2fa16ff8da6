#include "packages/package_screens.h"

#include "base/value.h"
#include "gateway/connection.h"
#include "host/screen_context.h"
#include "host/screen_registry.h"
#include "model/cpackage.h"
#include "packages/frm_edit_package.h"
#include "packages/frm_package_detail_pricing.h"
#include "packages/frm_rental_package_upgrade_pricing.h"
#include "packages/frm_rental_upgrade_pricing_new.h"

namespace vym {
namespace {

constexpr std::int32_t kFamilyWeek = 1;

// The family week's regular season price, as the price list hands it over.
std::unique_ptr<QWidget> PackageDetailPricing(const ScreenRequest& request) {
    auto dialog = std::make_unique<frmPackageDetailPricing>();
    auto& package = KeepWith<CPackage>(*dialog);
    Connection* db = request.context.DBConnection().get();
    package.OpenPackage(db, request.context.ErrorObject(), kFamilyWeek);
    auto price = db->OpenRecordset(
        "SELECT p.price_no, p.unit_qty, p.gross_unit_price, s.description FROM vym_price p "
        "JOIN vym_season s ON s.season_no = p.season_id WHERE p.package_no = 1 "
        "AND p.package_price_no IS NULL AND p.season_id = 3");
    PackagePriceRequest priceRow;
    priceRow.package = &package;
    priceRow.seasonNo = 3;
    priceRow.unitId = "5DAY";
    priceRow.unitDescription = "5 Day";
    if (!price->Eof()) {
        priceRow.priceNo = price->Fields("price_no").Long();
        priceRow.unitQty = price->Fields("unit_qty").Long();
        priceRow.seasonDescription = QString::fromStdString(price->Fields("description").Text());
    }
    dialog->Setup(&request.context, priceRow);
    return dialog;
}

}  // namespace

void RegisterPackageScreens(ScreenRegistry& screens) {
    screens.Register("package-editor", [](const ScreenRequest& request) {
        auto editor = std::make_unique<frmEditPackage>();
        auto& package = KeepWith<CPackage>(*editor);
        Connection* db = request.context.DBConnection().get();
        ErrorObject* errors = request.context.ErrorObject();
        package.OpenPackage(db, errors, kFamilyWeek);
        package.OpenItems(db, errors);
        editor->Setup(&request.context, package);
        return editor;
    });
    screens.Register("package-detail-pricing", PackageDetailPricing);
    screens.Register("rental-upgrade-pricing", [](const ScreenRequest& request) {
        auto screen = std::make_unique<frmRentalPackageUpgradePricing>();
        screen->Setup(&request.context);
        return screen;
    });
    screens.Register("rental-upgrade-new", [](const ScreenRequest& request) {
        auto dialog = std::make_unique<frmRentalUpgradePricingNew>();
        dialog->Setup(&request.context);
        return dialog;
    });
}

}  // namespace vym
