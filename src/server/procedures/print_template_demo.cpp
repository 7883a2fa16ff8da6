#include "server/procedures/print_template_demo.h"

#include <string_view>

#include "base/value.h"

namespace vym::server {
namespace {

constexpr int kHangTag = 3;     // STOCK
constexpr int kShelfLabel = 4;  // STOCK
constexpr int kDayTicket = 1;   // ITEM
constexpr int kPassCard = 2;    // CLUB

void AddPrinterRows(SqlSession& db) {
    db.Run(
        "INSERT INTO vym_printer_type (printer_type_id, description) VALUES "
        "('THERMAL', 'Thermal Label Printer'), ('LASER', 'Office Laser Printer'), "
        "('CARD', 'Card Printer')");
    struct Page {
        const char* printer;
        const char* page;
        const char* description;
        double width, height;
    };
    static constexpr Page kPages[] = {
        {"THERMAL", "2.25X1.25", "2.25\" x 1.25\" Label", 57.15, 31.75},
        {"THERMAL", "2X3", "2\" x 3\" Hang Tag", 50.8, 76.2},
        {"THERMAL", "TICKET", "2\" x 5.5\" Ticket", 50.8, 139.7},
        {"LASER", "LETTER30", "US Letter, 30 Labels", 215.9, 279.4},
        {"LASER", "A4", "A4", 210.0, 297.0},
        {"CARD", "CR80", "CR80 Card", 85.6, 53.98},
    };
    for (const Page& p : kPages) {
        db.Run(
            "INSERT INTO vym_printer_type_page_size (printer_type_id, page_size_id, description, "
            "width_mm, height_mm) VALUES (?, ?, ?, ?, ?)",
            {p.printer, p.page, p.description, p.width, p.height});
    }
    db.Run(
        "INSERT INTO vym_customer_level (customer_level_id, description) VALUES "
        "('GOLD', 'Gold Member'), ('SILVER', 'Silver Member'), ('STAFF', 'Staff')");
}

// The elements of the shelf label, the same on a roll label and on each
// label of a letter sheet: description, size, price and a barcode of the
// UPC, or of the stock id when the unit has none.
constexpr std::string_view kShelfLabelElements =
    R"(  <field x="2" y="1.5" width="53.15" height="5" font="DejaVu Sans" size="8" bold="true" align="left" name="Stock.Description"/>
  <text x="2" y="7" width="8" height="4" font="DejaVu Sans" size="7" bold="false" align="left">Size</text>
  <field x="10" y="7" width="18" height="4" font="DejaVu Sans" size="7" bold="false" align="left" name="Stock.Stock_Size"/>
  <field x="28" y="6" width="27.15" height="6" font="DejaVu Sans" size="12" bold="true" align="right" format="Currency" name="Stock.Unit_Price"/>
  <barcode x="3" y="13" width="51.15" height="17" symbology="code128" human-readable="true" name="Serial.UPC_Code" or-name="Stock.Stock_Id"/>
)";

// The same on a 1" x 2-5/8" label of a letter sheet, a little flatter.
constexpr std::string_view kSheetLabelElements =
    R"(  <field x="3" y="1" width="60.68" height="4.5" font="DejaVu Sans" size="8" bold="true" align="left" name="Stock.Description"/>
  <text x="3" y="5.5" width="8" height="4" font="DejaVu Sans" size="7" bold="false" align="left">Size</text>
  <field x="11" y="5.5" width="20" height="4" font="DejaVu Sans" size="7" bold="false" align="left" name="Stock.Stock_Size"/>
  <field x="33" y="5" width="30.68" height="5" font="DejaVu Sans" size="11" bold="true" align="right" format="Currency" name="Stock.Unit_Price"/>
  <barcode x="6" y="10.5" width="54.68" height="14" symbology="code128" human-readable="true" name="Serial.UPC_Code" or-name="Stock.Stock_Id"/>
)";

// The hang tag of retail stock and of rental units: a unit's tag carries its
// serial id, so that the counter scans the very unit; an item's its stock id.
// The code keeps clear of the border, which a scanner would take for a bar.
constexpr std::string_view kHangTagElements =
    R"(  <rect x="1" y="1" width="48.8" height="74.2" thickness="0.3" filled="false"/>
  <field x="3" y="9" width="44.8" height="5" font="DejaVu Sans" size="8" bold="true" align="left" name="Stock.Description"/>
  <text x="3" y="15" width="8" height="4" font="DejaVu Sans" size="7" bold="false" align="left">Size</text>
  <field x="11" y="15" width="16" height="4" font="DejaVu Sans" size="7" bold="false" align="left" name="Stock.Stock_Size"/>
  <field x="27" y="14" width="20.8" height="6" font="DejaVu Sans" size="11" bold="true" align="right" format="Currency" name="Stock.Unit_Price"/>
  <field x="3" y="21" width="44.8" height="4" font="DejaVu Sans" size="7" bold="false" align="left" name="Serial.Mfg_Serial_id"/>
  <field x="3" y="25" width="44.8" height="4" font="DejaVu Sans" size="7" bold="false" align="left" name="Serial.Location_desc"/>
  <barcode x="7" y="31" width="36.8" height="22" symbology="code128" human-readable="true" name="Serial.Serial_id" or-name="Stock.Stock_Id"/>
  <field x="3" y="57" width="44.8" height="4" font="DejaVu Sans" size="7" bold="false" align="center" name="Serial.UPC_Code"/>
)";

std::string GraphicalTemplate(std::string_view page, std::string_view sheet,
                              std::string_view elements) {
    return std::string(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<label-template version=\"1\">\n") +
           std::string(page) + std::string(sheet) + std::string(elements) + "</label-template>\n";
}

void AddTemplate(SqlSession& db, int formatNo, const char* printer, const char* page,
                 const char* level, const char* description, const char* type,
                 const std::string& content) {
    db.Run(
        "INSERT INTO vym_print_format_template (format_no, printer_type_id, page_size_id, "
        "customer_level_id, description, template_type, format_template, template_size) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
        {formatNo, printer, page, level, description, type,
         vym::Bytes(content.begin(), content.end()), static_cast<int>(content.size())});
}

void AddStockTemplates(SqlSession& db) {
    AddTemplate(
        db, kHangTag, "THERMAL", "2X3", "None", "Hang Tag - Roll", "TEMPLATE",
        GraphicalTemplate("  <page width=\"50.8\" height=\"76.2\" orientation=\"portrait\"/>\n", "",
                          kHangTagElements));
    AddTemplate(
        db, kShelfLabel, "THERMAL", "2.25X1.25", "None", "Shelf Label - Roll", "TEMPLATE",
        GraphicalTemplate("  <page width=\"57.15\" height=\"31.75\" orientation=\"landscape\"/>\n",
                          "", kShelfLabelElements));
    // Thirty 1" x 2-5/8" labels: three across, ten down.
    AddTemplate(
        db, kShelfLabel, "LASER", "LETTER30", "None", "Shelf Label - Letter Sheet", "TEMPLATE",
        GraphicalTemplate(
            "  <page width=\"215.9\" height=\"279.4\" orientation=\"portrait\"/>\n",
            "  <sheet columns=\"3\" rows=\"10\" label-width=\"66.68\" label-height=\"25.4\" "
            "column-gap=\"3.18\" row-gap=\"0\" margin-left=\"4.76\" margin-top=\"12.7\"/>\n",
            kSheetLabelElements));
    db.Run(
        "INSERT INTO vym_print_format (description, print_format_type) "
        "VALUES ('Bin Tag (Text)', 'STOCK')");
    const int binTag = static_cast<int>(db.LastInsertId());
    AddTemplate(db, binTag, "THERMAL", "2.25X1.25", "None", "Bin Tag - Text Only", "CUSTOM",
                "{{Stock.Description}}\nSize {{Stock.Stock_Size}}   {{Stock.Unit_Price}}\n"
                "Stock {{Stock.Stock_Id}}  UPC {{Serial.UPC_Code}}\n");
}

void AddTicketAndCardTemplates(SqlSession& db) {
    AddTemplate(
        db, kDayTicket, "THERMAL", "TICKET", "None", "Day Ticket", "TEMPLATE",
        GraphicalTemplate(
            "  <page width=\"50.8\" height=\"139.7\" orientation=\"portrait\"/>\n", "",
            R"(  <rect x="1" y="1" width="48.8" height="137.7" thickness="0.4" filled="false"/>
  <field x="3" y="4" width="44.8" height="8" font="DejaVu Sans" size="14" bold="true" align="center" name="Item.Short_Description"/>
  <field x="3" y="14" width="44.8" height="5" font="DejaVu Sans" size="8" bold="false" align="center" name="Season.Description"/>
  <line x="3" y="21" width="44.8" height="0" thickness="0.3"/>
  <text x="3" y="24" width="20" height="5" font="DejaVu Sans" size="8" bold="false" align="left">Valid</text>
  <field x="23" y="24" width="24.8" height="5" font="DejaVu Sans" size="8" bold="true" align="right" format="mm/dd/yyyy" name="InvoiceLine.Valid_Date"/>
  <field x="3" y="31" width="44.8" height="6" font="DejaVu Sans" size="10" bold="true" align="right" format="Currency" name="InvoiceLine.Price"/>
  <barcode x="5.4" y="45" width="40" height="40" symbology="qr" human-readable="false" name="InvoiceLine.BarCoded_Access_No"/>
  <field x="3" y="88" width="44.8" height="5" font="DejaVu Sans" size="8" bold="false" align="center" name="InvoiceLine.Access_No"/>
)"));
    constexpr std::string_view kCard =
        R"(  <field x="5" y="5" width="75.6" height="7" font="DejaVu Sans" size="13" bold="true" align="left" name="Club.Description"/>
  <field x="5" y="16" width="50" height="6" font="DejaVu Sans" size="11" bold="false" align="left" name="Customer.Full_Name"/>
  <text x="5" y="24" width="22" height="5" font="DejaVu Sans" size="8" bold="false" align="left">Member since</text>
  <field x="27" y="24" width="28" height="5" font="DejaVu Sans" size="8" bold="false" align="left" format="mm/dd/yyyy" name="ClubMember.Member_Since"/>
  <barcode x="58" y="24" width="24" height="24" symbology="datamatrix" human-readable="false" name="ClubMember.Member_Id"/>
  <field x="5" y="42" width="50" height="5" font="DejaVu Sans" size="8" bold="true" align="left" name="ClubMember.Member_Type"/>
)";
    const std::string cardPage =
        "  <page width=\"85.6\" height=\"53.98\" orientation=\"landscape\"/>\n";
    AddTemplate(db, kPassCard, "CARD", "CR80", "None", "Season Pass Card", "TEMPLATE",
                GraphicalTemplate(cardPage, "", kCard));
    // Gold members get their level printed on the card.
    std::string gold(kCard);
    gold.append(
        R"(  <text x="58" y="5" width="24" height="7" font="DejaVu Sans" size="12" bold="true" align="right">GOLD</text>
)");
    AddTemplate(db, kPassCard, "CARD", "CR80", "GOLD", "Season Pass Card - Gold", "TEMPLATE",
                GraphicalTemplate(cardPage, "", gold));
}

}  // namespace

void AddPrintTemplateDemoRows(SqlSession& session) {
    AddPrinterRows(session);
    AddStockTemplates(session);
    AddTicketAndCardTemplates(session);
}

}  // namespace vym::server
