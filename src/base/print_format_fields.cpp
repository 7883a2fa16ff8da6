#include "base/print_format_fields.h"

namespace vym {
namespace {

const std::vector<std::string>& CustomerFields() {
    static const std::vector<std::string> fields{"Customer.Customer_No",
                                                 "Customer.First_Name",
                                                 "Customer.Last_Name",
                                                 "Customer.Company_Name",
                                                 "Customer.Full_Name",
                                                 "Customer.Customer_Level_No",
                                                 "Customer.Gender",
                                                 "Customer.Account_Id",
                                                 "Customer.DOB",
                                                 "Customer.EmployerName",
                                                 "CustomerAddress.Address_1",
                                                 "CustomerAddress.Address_2",
                                                 "CustomerAddress.City",
                                                 "CustomerAddress.State",
                                                 "CustomerAddress.Zip",
                                                 "CustomerAddress.Country_ID",
                                                 "CustomerAddress.Phone",
                                                 "CustomerAddress.Address_Type",
                                                 "CustomerAddress.Fax",
                                                 "CustomerAddress.EMail",
                                                 "CustomerAddress.URL",
                                                 "CustomerAddress.Name"};
    return fields;
}

std::vector<std::string> Joined(std::vector<std::string> head,
                                const std::vector<std::string>& middle,
                                std::initializer_list<const char*> tail) {
    head.insert(head.end(), middle.begin(), middle.end());
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

const std::vector<std::string>& StockFields() {
    static const std::vector<std::string> fields{"User.1",
                                                 "User.2",
                                                 "User.3",
                                                 "User.4",
                                                 "Serial.Mfg_Serial_id",
                                                 "Serial.UPC_Code",
                                                 "Serial.Serial_id",
                                                 "Serial.location_id",
                                                 "Serial.location_desc",
                                                 "Binding_Type.Description",
                                                 "Serial_Type.Description",
                                                 "Stock.Item_No",
                                                 "Stock.Description",
                                                 "Stock.Stock_Type_ID",
                                                 "Stock.Serialized",
                                                 "Stock.Format_No",
                                                 "Stock.Stock_Size",
                                                 "Stock.Attribute",
                                                 "Stock.Style",
                                                 "Stock.Manufacturer",
                                                 "Stock.Model_Id",
                                                 "Stock.Min_Price",
                                                 "Stock.Taxable",
                                                 "Stock.Unit_Price",
                                                 "Stock.Base_UOM_ID",
                                                 "Stock.Current_Avg_Cost",
                                                 "Stock.Current_Avg_Freight",
                                                 "Stock.Current_Avg_Discount",
                                                 "Stock.Min_Qty",
                                                 "Stock.Current_Cost",
                                                 "Stock.Qty_On_Order",
                                                 "Stock.Vendor_ID",
                                                 "Stock.Binding_Type_Id",
                                                 "Stock.Serial_Type_Id",
                                                 "Stock.Boot_Length",
                                                 "Vendor.Vendor_Name",
                                                 "Stock_Type.Description",
                                                 "Print_Format.Description",
                                                 "Unit.Description",
                                                 "Unit.Qty",
                                                 "Unit.UOM_ID",
                                                 "Package.Price"};
    return fields;
}

const std::vector<std::string>& ItemFields() {
    static const std::vector<std::string> fields = Joined(
        {"Item.Function_ID", "Item.Catagory_ID", "Item.Short_Description", "Item.Long_Description",
         "Item.Access_Rule_No", "Item.Department_ID", "Item.Stock_Id", "Item.Expires_After",
         "Package.Description", "Function.Description", "Catagory.Description"},
        CustomerFields(),
        {"InvoiceLine.Register_Id",
         "InvoiceLine.Control_No",
         "InvoiceLine.Invoice_No",
         "InvoiceLine.Line_No",
         "InvoiceLine.SalesOrder_No",
         "InvoiceLine.SO_Line_No",
         "InvoiceLine.Line_Date",
         "InvoiceLine.Valid_Date",
         "InvoiceLine.Season_No",
         "InvoiceLine.Discount_ID",
         "InvoiceLine.Qty",
         "InvoiceLine.Unit_Qty",
         "InvoiceLine.Unit_Price",
         "InvoiceLine.Line_Tax",
         "InvoiceLine.Line_SubTotal",
         "InvoiceLine.LineNet",
         "InvoiceLine.Refundable",
         "InvoiceLine.Access_No",
         "InvoiceLine.BarCoded_Access_No",
         "InvoiceLine.Comment_Note",
         "InvoiceLine.Authorizer_No",
         "InvoiceLine.Price_No",
         "InvoiceLine.Location_ID",
         "InvoiceLine.Tax_Type_Id",
         "InvoiceLine.UOM_ID",
         "InvoiceLine.Price",
         "InvoiceLine.RefundWCommission",
         "InvoiceLine.RefundWOCommission",
         "Access_Item.Sale_Amount",
         "SalesOrder.Customer_No",
         "SalesOrder.Customer_Name",
         "SalesOrder.For_Customer_No",
         "SalesOrder.For_Customer_Name",
         "Season.Description",
         "Unit.Description",
         "Location.Description",
         "Package.Price"});
    return fields;
}

const std::vector<std::string>& ClubFields() {
    // "ClubMemeberType" is the table name the printing programs use.
    static const std::vector<std::string> fields = Joined(
        {}, CustomerFields(),
        {"Club.Club_Id", "Club.Description", "ClubMember.Is_Active", "ClubMember.Member_Since",
         "ClubMember.Member_Id", "ClubMember.Member_Type", "ClubMember.Member_Comment",
         "ClubMember.Member_Retire", "ClubMember.Member_Generated_Greeting",
         "ClubMemeberTypeGym.Is_Allowed", "ClubMemeberTypeGym.Comment_Note",
         "ClubMemeberTypeTennis.Is_Allowed", "ClubMemeberTypeTennis.Comment_Note",
         "ClubMemeberTypeGolf.Is_Allowed", "ClubMemeberTypeGolf.Comment_Note", "Package.Price"});
    return fields;
}

}  // namespace

const std::vector<std::string>& PrintFormatFields(std::string_view formatType) {
    static const std::vector<std::string> none;
    if (formatType == "STOCK") {
        return StockFields();
    }
    if (formatType == "ITEM") {
        return ItemFields();
    }
    if (formatType == "CLUB") {
        return ClubFields();
    }
    return none;
}

}  // namespace vym
