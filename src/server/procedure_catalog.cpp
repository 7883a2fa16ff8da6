#include "server/procedure_catalog.h"

#include <strings.h>

#include "base/error.h"
#include "server/procedures/import_procedures.h"
#include "server/procedures/inv_procedures.h"
#include "server/procedures/item_catalogue_procedures.h"
#include "server/procedures/item_editor_procedures.h"
#include "server/procedures/item_price_procedures.h"
#include "server/procedures/item_reference_procedures.h"
#include "server/procedures/item_sale_procedures.h"
#include "server/procedures/item_search_procedures.h"
#include "server/procedures/item_season_procedures.h"
#include "server/procedures/item_stock_editor_procedures.h"
#include "server/procedures/item_stock_matrix_procedures.h"
#include "server/procedures/item_support_procedures.h"
#include "server/procedures/item_template_procedures.h"
#include "server/procedures/package_pricing_procedures.h"
#include "server/procedures/package_procedures.h"
#include "server/procedures/serial_procedures.h"
#include "server/procedures/special_offer_procedures.h"
#include "server/procedures/stock_label_procedures.h"
#include "server/procedures/store_procedures.h"
#include "server/sql_error.h"

namespace vym::server {
namespace {

Parameter Declare(std::string name, DataType type, ParameterDirection direction,
                  std::int32_t size) {
    return Parameter{std::move(name), type, direction, size, vym::Value()};
}

}  // namespace

std::shared_ptr<const ProcedureCatalog> ProcedureCatalog::Standard() {
    static const std::shared_ptr<const ProcedureCatalog> standard = [] {
        auto catalog = std::make_shared<ProcedureCatalog>();
        // Each area's registration function is called here as the area arrives.
        RegisterItemCatalogueProcedures(*catalog);
        RegisterItemConsoleProcedures(*catalog);
        RegisterItemSupportProcedures(*catalog);
        RegisterItemReferenceProcedures(*catalog);
        RegisterItemSeasonProcedures(*catalog);
        RegisterItemPriceProcedures(*catalog);
        RegisterItemBulkPriceProcedures(*catalog);
        RegisterItemEditorProcedures(*catalog);
        RegisterItemTemplateProcedures(*catalog);
        RegisterItemStockEditorProcedures(*catalog);
        RegisterItemStockMatrixProcedures(*catalog);
        RegisterPackageProcedures(*catalog);
        RegisterPackagePricingProcedures(*catalog);
        RegisterItemSaleProcedures(*catalog);
        RegisterItemSaleListProcedures(*catalog);
        RegisterStoreProcedures(*catalog);
        RegisterSpecialOfferProcedures(*catalog);
        RegisterInvProcedures(*catalog);
        RegisterSerialProcedures(*catalog);
        RegisterStockLabelProcedures(*catalog);
        RegisterImportProcedures(*catalog);
        return std::shared_ptr<const ProcedureCatalog>(std::move(catalog));
    }();
    return standard;
}

void ProcedureCatalog::Add(std::string name, std::initializer_list<Parameter> parameters,
                           ProcedureBody body) {
    if (byName_.contains(std::string_view(name))) {
        throw vym::Error(errc::kInvalidProcedureCall, std::string(kConnectionSource),
                         "The procedure " + name + " is registered twice.");
    }
    Procedure procedure;
    procedure.Name = std::move(name);
    procedure.Body = std::move(body);
    procedure.Parameters.reserve(parameters.size() + 1);
    procedure.Parameters.push_back(
        Declare("@RETURN_VALUE", DataType::Integer, ParameterDirection::ReturnValue, 0));
    procedure.Parameters.insert(procedure.Parameters.end(), parameters.begin(), parameters.end());
    procedure.ParameterNames = ParameterIndex(procedure.Parameters);
    std::string key = procedure.Name;
    byName_.emplace(std::move(key), std::move(procedure));
}

void ProcedureCatalog::AddRead(std::string name, std::initializer_list<Parameter> parameters,
                               ProcedureBody body) {
    const std::string key = name;
    Add(std::move(name), parameters, std::move(body));
    byName_.find(std::string_view(key))->second.ReadOnly = true;
}

const Procedure* ProcedureCatalog::Find(std::string_view name) const {
    const auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : &found->second;
}

std::size_t ProcedureCatalog::NameHash::operator()(std::string_view name) const {
    return ParameterIndex::HashName(name);
}

bool ProcedureCatalog::NameEqual::operator()(std::string_view a, std::string_view b) const {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

Parameter In(std::string name, DataType type, std::int32_t size) {
    return Declare(std::move(name), type, ParameterDirection::Input, size);
}
Parameter Out(std::string name, DataType type, std::int32_t size) {
    return Declare(std::move(name), type, ParameterDirection::Output, size);
}
Parameter InOut(std::string name, DataType type, std::int32_t size) {
    return Declare(std::move(name), type, ParameterDirection::InputOutput, size);
}

}  // namespace vym::server
