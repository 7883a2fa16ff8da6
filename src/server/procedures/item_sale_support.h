#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "server/procedure_context.h"

// Checks and SQL shared by the stock sale procedures (not part of the
// catalog's interface).
namespace vym::server::item_sale {

// The columns of a sale as the list and the sale record read them; the
// location's description is "<ALL>" for a sale at every location.
inline constexpr const char* kSaleColumns =
    "s.sale_no, s.sale_type, s.description AS Description, s.location_id, s.sale_start_date, "
    "s.sale_end_date, s.sale_fixed_discount, s.sale_fixed_percent, s.item_qualified, "
    "s.customer_qualified, s.row_version, COALESCE(l.description, '<ALL>') AS loc_desc "
    "FROM vym_sale s LEFT JOIN vym_location l ON l.location_id = s.location_id";

// Why the discounts, dates and location of a sale or line can not be
// stored; nullopt when they can. Reads @sale_fixed_discount,
// @sale_fixed_percent, @sale_start_date, @sale_end_date and @location_id.
std::optional<std::string> CheckTerms(ProcedureContext& call);

bool SaleExists(SqlSession& db, std::int32_t saleNo);

// A statement put together from constant pieces.
std::string Sql(std::initializer_list<std::string_view> pieces);

}  // namespace vym::server::item_sale
