#include "labels/stock_label_row.h"

#include <utility>

#include "base/format.h"
#include "model/citem_stock.h"
#include "ui/qt_text.h"

namespace vym {
namespace {

QString Flag(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString Money(double amount) {
    return ui::Q(Format(Value(amount), "Currency"));
}

}  // namespace

std::optional<int> ParseCopies(const QString& typed) {
    const auto amount = ParseCurrency(ui::S(typed));
    if (!amount || amount->Raw() % Currency::kScale != 0) {
        return std::nullopt;
    }
    const std::int64_t copies = amount->Raw() / Currency::kScale;
    if (copies < 1 || copies > kMostCopies) {
        return std::nullopt;
    }
    return static_cast<int>(copies);
}

Verdict CheckCopies(const QString& typed, const QString& stockNo) {
    if (ParseCopies(typed)) {
        return std::nullopt;
    }
    Refusal refusal;
    refusal.message = "The number of labels for " + ui::S(stockNo) +
                      " must be a whole number from 1 to " + std::to_string(kMostCopies) +
                      ", not \"" + ui::S(typed) + "\".";
    refusal.title = "Invalid Qty";
    return refusal;
}

Verdict CheckLabelRow(const StockLabelRow& row) {
    bool numeric = false;
    const long formatNo = row.FormatID.trimmed().toLong(&numeric);
    if (!numeric || formatNo <= 0) {
        Refusal refusal;
        refusal.message =
            "Format is required to print labels.  Please select one and reprint for " +
            ui::S(row.StockNo);
        refusal.title = "Invalid Format";
        return refusal;
    }
    return CheckCopies(row.Qty, row.StockNo);
}

preview::CPrintData StockLabelRecord(const StockLabelRow& row, const CItemStock& stock) {
    using ui::Q;
    preview::CPrintData record;
    record.CreateIfNotFound = true;
    const std::pair<const char*, QString> fields[] = {
        {"User.1", row.User[0]},
        {"User.2", row.User[1]},
        {"User.3", row.User[2]},
        {"User.4", row.User[3]},
        {"Stock.Stock_Id", Q(stock.StockId)},
        {"Stock.Item_No", QString::number(stock.ItemNo())},
        {"Stock.Description", row.StockDesc},
        {"Stock.Stock_Type_ID", Q(stock.StockTypeId)},
        {"Stock.Serialized", Flag(stock.Serialized)},
        {"Stock.format_no", QString::number(stock.FormatNo())},
        {"Stock.Stock_Size", Q(stock.StockSize)},
        {"Stock.Attribute", Q(stock.StockAttribute)},
        {"Stock.Style", Q(stock.Style)},
        {"Stock.Manufacturer", Q(stock.Manufacturer)},
        {"Stock.Model", Q(stock.StockModelDesc)},
        {"Stock.Model_Id", Q(stock.Model)},
        {"Stock.Taxable", Flag(stock.Taxable)},
        {"Stock.Base_uom_ID", Q(stock.BaseUOMId)},
        {"Stock.Min_Qty", QString::number(stock.MinQty)},
        {"Stock.Vendor_ID", Q(stock.VendorId)},
        {"Stock.Binding_Type_Id", Q(stock.BindingTypeId)},
        {"Stock.Serial_Type_Id", Q(stock.SerialTypeId)},
        {"Stock.Boot_Length", QString::number(stock.BootLength)},
        {"Stock.Min_Price", Money(stock.MinPrice)},
        {"Stock.Unit_Price", Money(stock.UnitPrice)},
        {"Stock.Current_Avg_Cost", Money(stock.CurrentAvgCost)},
        {"Stock.Current_Avg_Freight", Money(stock.CurrentAvgFreight)},
        {"Stock.Current_Avg_Discount", Money(stock.CurrentAvgDiscount)},
        {"Stock.Current_Cost", Money(stock.CurrentCost)},
        {"Vendor.Vendor_Name", Q(stock.VendorName)},
        {"Stock_Type.Description", Q(stock.StockTypeDesc)},
        // The stock record knows its base unit only: the label's unit is it.
        {"Unit.Description", Q(stock.BaseUOMDesc)},
        {"Unit.Qty", QStringLiteral("1")},
        {"Unit.UOM_ID", Q(stock.BaseUOMId)},
        {"UOM.Description", Q(stock.BaseUOMDesc)},
        {"Binding_Type.Description", Q(stock.BindingTypeDesc)},
        {"Serial_Type.Description", Q(stock.SerialTypeDesc)},
        {"Print_Format.Description", row.FormatDesc},
        {"Serial.Serial_id", row.SerialId},
        {"Serial.Location_id", row.HomeLocId},
        {"Serial.Location_desc", row.HomeLocDesc},
        {"Serial.Mfg_Serial_id", row.ManfSerialId},
        {"Serial.UPC_Code", row.UPC},
    };
    for (const auto& [name, value] : fields) {
        record.SetField(QString::fromLatin1(name), value);
    }
    return record;
}

}  // namespace vym
