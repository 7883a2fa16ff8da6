#include "server/demo_data.h"

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
#include "server/procedures/package_pricing_procedures.h"
#include "server/procedures/package_procedures.h"
#include "server/procedures/print_template_demo.h"
#include "server/procedures/serial_procedures.h"
#include "server/procedures/special_offer_procedures.h"
#include "server/procedures/stock_label_procedures.h"

namespace vym::server {
namespace {

// Who works in the back office, and what each may do.
void AddSecurityDemoRows(SqlSession& session) {
    struct User {
        const char* id;
        const char* name;
        bool active;
    };
    static constexpr User kUsers[] = {
        {"ADMIN", "System Administrator", true},
        {"JSMITH", "Jennifer Smith (Retail Manager)", true},
        {"RMILLER", "Ryan Miller (Rental Shop Manager)", true},
        {"KCHEN", "Kelly Chen (Ticket Window Clerk)", true},
        {"DBROOKS", "Dan Brooks (Seasonal, left 2023)", false},
    };
    for (const User& user : kUsers) {
        session.Run("INSERT INTO vym_security_user (vym_user, name, is_active) VALUES (?, ?, ?)",
                    {user.id, user.name, user.active});
    }
    struct Right {
        const char* user;
        const char* application;
        const char* code;
    };
    static constexpr Right kRights[] = {
        {"ADMIN", "Item Maintenance", "ITEM"},       {"ADMIN", "Serial Maintenance", "SERIAL"},
        {"ADMIN", "StockMaint", "STOCKEDITSERIAL"},  {"ADMIN", "StockMaint", "STOCKDELSERIAL"},
        {"JSMITH", "Item Maintenance", "ITEM"},      {"RMILLER", "Item Maintenance", "ITEM"},
        {"RMILLER", "Serial Maintenance", "SERIAL"}, {"RMILLER", "StockMaint", "STOCKEDITSERIAL"},
        {"DBROOKS", "Item Maintenance", "ITEM"},
    };
    for (const Right& right : kRights) {
        session.Run(
            "INSERT INTO vym_security_permission (vym_user, application, code) VALUES (?, ?, ?)",
            {right.user, right.application, right.code});
    }
    struct Setting {
        const char* user;
        const char* path;
        const char* section;
        const char* key;
        const char* value;
    };
    static constexpr Setting kSettings[] = {
        {"JSMITH", "AppData", "Stock", "MatrixDefaults", "Color,Size"},
        {"RMILLER", "AppData", "Stock", "MatrixDefaults", "Length,Binding"},
    };
    for (const Setting& s : kSettings) {
        session.Run(
            "INSERT INTO vym_setting (vym_user, path, section, key, value) VALUES (?, ?, ?, ?, ?)",
            {s.user, s.path, s.section, s.key, s.value});
    }
}

}  // namespace

void AddDemoData(SqlSession& session) {
    AddSecurityDemoRows(session);
    AddItemSupportDemoRows(session);
    AddItemSeasonDemoRows(session);
    AddItemCatalogueDemoRows(session);
    AddItemConsoleDemoRows(session);
    AddPackageDemoRows(session);
    AddItemStockEditorDemoRows(session);
    AddItemStockMatrixDemoRows(session);
    AddItemEditorDemoRows(session);
    AddInvDemoRows(session);
    AddItemReferenceDemoRows(session);
    AddItemPriceDemoRows(session);
    AddPackagePricingDemoRows(session);
    AddItemSaleDemoRows(session);
    AddSerialDemoRows(session);
    AddSpecialOfferDemoRows(session);
    AddPrintTemplateDemoRows(session);
    AddReceivingDemoRows(session);
}

}  // namespace vym::server
