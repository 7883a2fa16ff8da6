#include "packages/frm_edit_package.h"

#include <set>
#include <utility>
#include <vector>

#include "base/prompter.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/sql_quote.h"
#include "gateway/transaction.h"
#include "host/frm_symbol.h"
#include "host/row_conflict.h"
#include "host/screen_context.h"
#include "model/citem.h"
#include "model/cpackage.h"
#include "ui/flex_grid.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui/symbol_font.h"
#include "ui_frm_edit_package.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;

namespace {

// Lines grid.
constexpr int kState = 0;  // "1" for a line added on screen
constexpr int kSeq = 1;
constexpr int kItem = 2;
constexpr int kType = 3;
constexpr int kDescription = 4;
constexpr int kQty = 5;
constexpr int kFormat = 6;
// Association grid: one row for each row of the lines grid, in the same order.
constexpr int kMapSeq = 0;
constexpr int kMapDescription = 2;
constexpr int kMap = 3;

const QString kNoRedemptionLine = "#0;<Select Item>";

}  // namespace

frmEditPackage::frmEditPackage(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmEditPackage>()) {
    ui_->setupUi(this);

    ui_->cmbStatus->addItem("Active", "'1");
    ui_->cmbStatus->addItem("InActive", "'0");
    ui_->cmbFunction->SetColumns({"Function", "Description"});
    ui_->cmbFunction->SetListColumn(1);
    ui_->cmbCatagory->SetColumns({"Function", "Catagory", "Description"});
    ui_->cmbCatagory->SetBoundColumn(1);
    ui_->cmbCatagory->SetListColumn(2);
    ui_->cmdSymbol->setFont(ui::SymbolFont::Font());

    ui::KeyTabBar& tabs = *ui_->tabPackage;
    tabs.AddTab("ITEMS", "Items");
    tabs.AddTab("ASSOCIATIONS", "Associations");
    tabs.AddTab("REGISTER", "Register");
    tabs.AddTab("DISPLAY", "Display");

    FlexGrid& items = *ui_->gdItems;
    items.SetFormatString("State|Seq#|Item|Type|Description|^Qty|Override Format");
    items.SetColumnHidden(kState, true);
    items.SetColumnComboList(kFormat, "#0;<Use Item Format>");
    items.SetEditable(true);
    FlexGrid& map = *ui_->gdRedemptionItems;
    map.SetFormatString("SeqNo|Item No|Description|Map");
    map.SetColumnComboList(kMap, kNoRedemptionLine);
    map.SetEditable(true);

    connect(&tabs, &ui::KeyTabBar::CurrentKeyChanged, this, &frmEditPackage::tabPackage_Change);
    connect(ui_->cmbFunction, &ui::DataCombo::KeyChanged, this, [this](const QString& key) {
        if (!loading_) {
            FillCatagoryComboBoxes(key);
        }
    });
    connect(&items, &FlexGrid::BeforeEdit, this, &frmEditPackage::gdItems_BeforeEdit);
    connect(&items, &FlexGrid::ValidateEdit, this, &frmEditPackage::gdItems_ValidateEdit);
    connect(&items, &FlexGrid::AfterEdit, this, &frmEditPackage::gdItems_AfterEdit);
    connect(&map, &FlexGrid::BeforeEdit, this,
            [](int, int col, bool& cancel) { cancel = col != kMap; });
    connect(&map, &FlexGrid::AfterEdit, this, [this] { associationsChanged_ = true; });
    connect(ui_->lstGroups, &ui::CheckList::CheckChanged, this, [this] {
        if (!loading_) {
            groupsChanged_ = true;
        }
    });
    connect(ui_->cmdSelectAll, &QPushButton::clicked, this,
            [this] { ui_->lstGroups->SetAllChecked(true); });
    connect(ui_->cmdAdd, &QPushButton::clicked, this, &frmEditPackage::AddItem);
    connect(ui_->cmdDelete, &QPushButton::clicked, this, &frmEditPackage::DeleteRow);
    connect(ui_->cmdRedeemPackage, &QPushButton::clicked, this,
            &frmEditPackage::ChooseRedemptionPackage);
    connect(ui_->cmdClearRedeem, &QPushButton::clicked, this,
            &frmEditPackage::ClearRedemptionPackage);
    connect(ui_->cmdSymbol, &QPushButton::clicked, this, &frmEditPackage::ChooseSymbol);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmEditPackage::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmEditPackage::~frmEditPackage() = default;

void frmEditPackage::Setup(ScreenContext* itemMaint, CPackage& oPackage) {
    maint_ = itemMaint;
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    package_ = &oPackage;
    if (db_ == nullptr) {
        return;
    }
    loading_ = true;
    trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        const CPackage& package = oPackage;
        FillComboBoxes();
        const QString number = QString::number(package.PackageNo);
        setWindowTitle("Package Properties (" + number + ")");
        ui_->lblPackageNo->setText(number);
        ui_->txtDescription->setText(QString::fromStdString(package.Description));

        // A function or category no longer offered is kept rather than lost on Ok.
        const QString function = QString::fromStdString(package.FunctionID);
        if (!ui_->cmbFunction->SetKey(function) && !function.isEmpty()) {
            ui_->cmbFunction->AddRow(
                {function, QString::fromStdString(package.FunctionDescription)});
            ui_->cmbFunction->SetKey(function);
        }
        FillCatagoryComboBoxes(function);
        const QString catagory = QString::fromStdString(package.CatagoryID);
        if (!ui_->cmbCatagory->SetKey(catagory) && !catagory.isEmpty()) {
            ui_->cmbCatagory->AddRow(
                {function, catagory, QString::fromStdString(package.CatagoryDescription)});
            ui_->cmbCatagory->SetKey(catagory);
        }
        ui_->ckbShowOnTree->setChecked(package.ShowOnTree);
        treeIcon_ = QString::fromStdString(package.TreeIcon).left(1);
        ShowTreeIcon();
        GetFormatList();

        if (package.RedeemPackageNo != 0) {
            auto redeem = std::make_unique<CPackage>();
            if (redeem->OpenPackage(db_, errors_, package.RedeemPackageNo) &&
                redeem->OpenItems(db_, errors_)) {
                redeem_ = std::move(redeem);
            }
        }
        ShowRedemptionPackage();
        if (package.InstructionNo != 0) {
            ui_->rtbInstructions->SetText(QString::fromStdString(package.Instruction));
        }
        ui_->cmbStatus->setCurrentIndex(package.IsActive ? 0 : 1);
        LoadItems();
    });
    loading_ = false;
}

void frmEditPackage::FillComboBoxes() {
    trap_.Run(errors_, "FillComboBoxes", &db_->Native(), [&] {
        auto rows = db_->OpenRecordset(
            "SELECT function_id, description"
            " FROM vym_function"
            " WHERE ISNULL(is_active,-1) <> 0"
            " ORDER BY description");
        ui::DataCombo& functions = *ui_->cmbFunction;
        functions.ClearRows();
        for (; !rows->Eof(); rows->MoveNext()) {
            functions.AddRow({FieldText(*rows, "function_id"), FieldText(*rows, "description")});
        }
        functions.setCurrentIndex(-1);
    });
}

void frmEditPackage::FillCatagoryComboBoxes(const QString& functionId) {
    ui::DataCombo& catagories = *ui_->cmbCatagory;
    catagories.ClearRows();
    trap_.Run(errors_, "FillCatagoryComboBoxes", &db_->Native(), [&] {
        auto rows = db_->OpenRecordset(
            "SELECT function_id, catagory_id, description FROM vym_catagory"
            " WHERE function_id = " +
            SqlQuote(functionId.toStdString()) + " ORDER BY description");
        for (; !rows->Eof(); rows->MoveNext()) {
            catagories.AddRow({FieldText(*rows, "function_id"), FieldText(*rows, "catagory_id"),
                               FieldText(*rows, "description")});
        }
    });
    catagories.setCurrentIndex(-1);
}

void frmEditPackage::GetFormatList() {
    trap_.Run(errors_, "GetFormatList", &db_->Native(), [&] {
        auto command =
            NewProcedure(*db_, "VYM_SP_ITEM_GetPrintFormats", {{"@print_format_type", "ITEM"}});
        auto rows = db_->ExecuteRecordset(*command);
        QString list = "#0;<Use Item Format>";
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            list +=
                ui::ComboListEntry(FieldText(*rows, "format_no"), FieldText(*rows, "Description"));
        }
        ui_->gdItems->SetColumnComboList(kFormat, list);
    });
}

void frmEditPackage::LoadItems() {
    trap_.Run(errors_, "LoadItems", &db_->Native(), [&] {
        FlexGrid& items = *ui_->gdItems;
        FlexGrid& map = *ui_->gdRedemptionItems;
        items.Clear();
        map.Clear();
        for (const CPackageItem& line : package_->Items()) {
            const QString seq = QString::number(line.SeqNo);
            const QString item = QString::number(line.ItemNo);
            const QString description = QString::fromStdString(line.LongDescription);
            items.AddRow({QString(), seq, item, QString::fromStdString(line.ItemType), description,
                          QString::number(line.Qty), QString::number(line.FormatNo)});
            map.AddRow({seq, item, description, QString::number(redeem_ ? line.RedeemSeqNo : 0)});
        }
        items.AutoSizeColumns();
        map.AutoSizeColumns();
    });
}

void frmEditPackage::AddItem() {
    if (maint_ == nullptr || db_ == nullptr) {
        return;
    }
    std::vector<std::int32_t> picked;
    if (!maint_->SelectItem(ttoAll, true, nullptr, nullptr, &picked)) {
        return;
    }
    trap_.Run(errors_, "AddItem", &db_->Native(), [&] {
        for (std::int32_t itemNo : picked) {
            CItem item;
            if (!item.OpenItem(db_, errors_, itemNo)) {
                continue;
            }
            const QString number = QString::number(itemNo);
            const QString description = QString::fromStdString(item.LongDescription);
            ui_->gdItems->AddRow(
                {"1", "0", number, QString::fromStdString(item.ItemType()), description, "1", "0"});
            ui_->gdRedemptionItems->AddRow({"0", number, description, "0"});
            itemsChanged_ = true;
        }
        ui_->gdItems->AutoSizeColumns();
    });
}

void frmEditPackage::DeleteRow() {
    FlexGrid& items = *ui_->gdItems;
    const int row = items.Row();
    if (row < 1 || items.IsRowHidden(row)) {
        return;
    }
    trap_.Run(errors_, "DeleteRow", db_ != nullptr ? &db_->Native() : nullptr, [&] {
        // Cancel keeps the line, as No does.
        const MsgResult answer = MsgBox(
            "Are you sure you want to remove " + items.TextMatrix(row, kDescription).toStdString() +
                " from the package?\r\nall package prices must be recreated!",
            MsgStyle{MsgButtons::YesNoCancel, MsgIcon::Question, 2});
        if (answer != MsgResult::Yes) {
            return;
        }
        items.SetTextMatrix(row, kQty, "0");
        items.SetRowHidden(row, true);
        ui_->gdRedemptionItems->SetRowHidden(row, true);
        itemsChanged_ = true;
    });
}

void frmEditPackage::gdItems_BeforeEdit(int row, int col, bool& cancel) {
    const QString type = ui_->gdItems->TextMatrix(row, kType);
    cancel = !(col == kQty || (col == kFormat && (type == "TICKET" || type == "SS")));
}

void frmEditPackage::gdItems_ValidateEdit(int row, int col, const QString& text, bool& cancel) {
    if (col != kQty) {
        return;
    }
    // A quantity of 0 would remove the line without the question Delete asks.
    bool number = false;
    const int qty = text.trimmed().toInt(&number);
    if (!number || qty < 1 || qty > 32767) {
        MsgBox(
            "The quantity must be a whole number from 1 to 32767.  Use Delete to remove an item "
            "from the package.",
            kInformation, "Invalid Quantity");
        cancel = true;
        return;
    }
    cancel = qty == ui_->gdItems->TextMatrix(row, kQty).toInt();  // nothing changed
}

void frmEditPackage::gdItems_AfterEdit(int, int col) {
    itemsChanged_ = true;
    if (col == kQty) {
        MsgBox(
            "After changing the qty you will need to update any defined prices for this package "
            "to reflect this change",
            kInformation, "Price Adjustment");
    }
}

void frmEditPackage::ShowRedemptionPackage() {
    QString list = kNoRedemptionLine;
    if (redeem_) {
        ui_->lblRedeemPackage->setText(QString::fromStdString(redeem_->Description) + " (" +
                                       QString::number(redeem_->PackageNo) + ")");
        for (const CPackageItem& line : redeem_->Items()) {
            list += ui::ComboListEntry(QString::number(line.SeqNo),
                                       QString::fromStdString(line.LongDescription));
        }
    } else {
        ui_->lblRedeemPackage->clear();
    }
    ui_->gdRedemptionItems->SetColumnComboList(kMap, list);
}

void frmEditPackage::ResetAssociations() {
    const FlexGrid& items = *ui_->gdItems;
    FlexGrid& map = *ui_->gdRedemptionItems;
    map.Clear();
    for (int row = 1; row < items.Rows(); ++row) {
        map.AddRow({items.TextMatrix(row, kSeq), items.TextMatrix(row, kItem),
                    items.TextMatrix(row, kDescription), "0"});
        map.SetRowHidden(row, items.IsRowHidden(row));
    }
    map.AutoSizeColumns();
    associationsChanged_ = true;
}

void frmEditPackage::ChooseRedemptionPackage() {
    if (maint_ == nullptr || db_ == nullptr) {
        return;
    }
    std::int32_t packageNo = 0;
    if (!maint_->SelectItem(ttoPackage, false, &packageNo)) {
        return;
    }
    trap_.Run(errors_, "cmdRedeemPackage_Click", &db_->Native(), [&] {
        if (packageNo == package_->PackageNo) {
            MsgBox("You can not associate a redemption package to itself.", kInformation,
                   "Redemption Package Error");
            return;
        }
        auto chosen = std::make_unique<CPackage>();
        if (!chosen->OpenPackage(db_, errors_, packageNo) || !chosen->OpenItems(db_, errors_)) {
            return;
        }
        const FlexGrid& items = *ui_->gdItems;
        std::size_t lines = 0;
        for (int row = 1; row < items.Rows(); ++row) {
            lines += items.IsRowHidden(row) ? 0 : 1;
        }
        if (chosen->Items().size() != lines) {
            MsgBox(
                "The redemption package selected does not have the same number of items as this "
                "package.",
                kInformation, "Redemption Association Error");
            return;
        }
        redeem_ = std::move(chosen);
        ShowRedemptionPackage();
        ResetAssociations();
    });
}

void frmEditPackage::ClearRedemptionPackage() {
    redeem_.reset();
    ShowRedemptionPackage();
    FlexGrid& map = *ui_->gdRedemptionItems;
    for (int row = 1; row < map.Rows(); ++row) {
        map.SetTextMatrix(row, kMap, "0");
    }
    associationsChanged_ = true;
}

void frmEditPackage::ChooseSymbol() {
    frmSymbol symbols(this);
    ui::RunModal(symbols);
    if (!symbols.UserCancelled() && symbols.SymbolCode()) {
        treeIcon_ = QString(QChar(*symbols.SymbolCode()));
        ShowTreeIcon();
    }
}

void frmEditPackage::ShowTreeIcon() {
    ui_->cmdSymbol->setText(
        treeIcon_.isEmpty() ? QString() : ui::SymbolFont::DisplayText(treeIcon_.at(0).unicode()));
}

void frmEditPackage::tabPackage_Change(const QString& key) {
    ui_->fraPages->setCurrentIndex(ui_->tabPackage->TabIndex(key));
    if (key == "REGISTER" && !groupsLoaded_) {
        LoadRegisterGroups();
    }
}

void frmEditPackage::LoadRegisterGroups() {
    if (db_ == nullptr) {
        return;
    }
    loading_ = true;
    trap_.Run(errors_, "LoadRegisterGroups", &db_->Native(), [&] {
        if (package_->RegisterGroups.empty() && package_->PackageNo != 0 &&
            !package_->OpenRegisterGroups(db_, errors_)) {
            return;
        }
        std::set<QString> member;
        for (const CRegisterGroup& group : package_->RegisterGroups) {
            member.insert(QString::fromStdString(group.RegisterGroupId).toUpper());
        }
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetRegisterGroups");
        auto rows = db_->ExecuteRecordset(*command);
        ui::CheckList& list = *ui_->lstGroups;
        list.clear();
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const QString id = FieldText(*rows, "register_group_id");
            list.AddEntry(id + "-" + FieldText(*rows, "Description"), id,
                          member.contains(id.toUpper()));
        }
        groupsLoaded_ = true;
    });
    loading_ = false;
}

bool frmEditPackage::CheckAssociations() {
    if (!redeem_) {
        return true;
    }
    const FlexGrid& map = *ui_->gdRedemptionItems;
    std::set<int> used;
    std::size_t rows = 0;
    QString failure;
    for (int row = 1; row < map.Rows() && failure.isEmpty(); ++row) {
        if (map.IsRowHidden(row)) {
            continue;
        }
        ++rows;
        const int mapped = map.TextMatrix(row, kMap).toInt();
        if (mapped == 0) {
            failure = "The item " + map.TextMatrix(row, kMapDescription) +
                      " needs to be mapped to a redemption item";
        } else if (!used.insert(mapped).second) {
            failure = "Each maped item can only be used once.";
        }
    }
    if (failure.isEmpty() && rows != redeem_->Items().size()) {
        failure =
            "The redemption package number of items does not match this packages number of "
            "items.";
    }
    if (failure.isEmpty()) {
        return true;
    }
    MsgBox(failure.toStdString(), kInformation, "Redemption Association Error");
    ui_->tabPackage->SetCurrentKey("ASSOCIATIONS");
    return false;
}

void frmEditPackage::cmdOk_Click() {
    if (CheckAssociations() && SaveData()) {
        saved_ = true;
        accept();
    }
}

bool frmEditPackage::UpdateRegisterGroups() {
    bool saved = false;
    trap_.Run(errors_, "UpdateRegisterGroups", &db_->Native(), [&] {
        const ui::CheckList& list = *ui_->lstGroups;
        package_->RegisterGroups.clear();
        for (int i = 0; i < list.count(); ++i) {
            if (list.IsChecked(i)) {
                const QString text = list.item(i)->text();
                package_->RegisterGroups.push_back({list.EntryKey(i).toStdString(),
                                                    text.mid(text.indexOf('-') + 1).toStdString()});
            }
        }
        saved = package_->UpdateRegisterGroups(db_, errors_);
    });
    return saved;
}

bool frmEditPackage::SaveItems(std::vector<CPackageItem>& lines,
                               std::vector<std::pair<int, std::int16_t>>& added) {
    bool saved = false;
    trap_.Run(errors_, "SaveItems", &db_->Native(), [&] {
        const FlexGrid& items = *ui_->gdItems;
        const FlexGrid& map = *ui_->gdRedemptionItems;
        for (int row = 1; row < items.Rows(); ++row) {
            CPackageItem line;
            line.PackageParent = package_;
            line.SeqNo = static_cast<std::int16_t>(items.TextMatrix(row, kSeq).toInt());
            line.ItemNo = items.TextMatrix(row, kItem).toInt();
            line.ItemType = items.TextMatrix(row, kType).toStdString();
            line.LongDescription = items.TextMatrix(row, kDescription).toStdString();
            line.Qty = static_cast<std::int16_t>(items.TextMatrix(row, kQty).toInt());
            line.FormatNo = items.TextMatrix(row, kFormat).toInt();
            line.RedeemSeqNo = redeem_ ? map.TextMatrix(row, kMap).toInt() : 0;
            const bool removed = items.IsRowHidden(row);
            if (removed) {
                line.Qty = 0;  // saving a line with no quantity deletes it
            }
            const bool isNew = line.SeqNo == 0;
            if (!line.UpdatePackageItem(db_, errors_)) {
                return;
            }
            if (removed) {
                continue;
            }
            if (isNew) {
                added.emplace_back(row, line.SeqNo);
            }
            lines.push_back(std::move(line));
        }
        saved = true;
    });
    return saved;
}

bool frmEditPackage::SaveData() {
    if (db_ == nullptr || package_ == nullptr) {
        return false;
    }
    CPackage& package = *package_;
    package.FunctionID = ui_->cmbFunction->Key().toStdString();
    package.FunctionDescription = ui_->cmbFunction->Cell(1).toStdString();
    package.CatagoryID = ui_->cmbCatagory->Key().toStdString();
    package.CatagoryDescription = ui_->cmbCatagory->Cell(2).toStdString();
    package.Description = ui_->txtDescription->text().toStdString();
    package.TreeIcon = treeIcon_.toStdString();
    package.ShowOnTree = ui_->ckbShowOnTree->isChecked();
    package.Instruction = ui_->rtbInstructions->Text().toStdString();
    package.RedeemPackageNo = redeem_ ? redeem_->PackageNo : 0;
    package.RedeemPackageDesc = redeem_ ? redeem_->Description : std::string();
    package.IsActive = ui_->cmbStatus->currentData().toString() != "'0";

    // A failed save is rolled back whole: the package keeps the numbers it had,
    // so that another try does not update rows that no longer exist.
    const std::int32_t packageNo = package.PackageNo;
    const std::int32_t instructionNo = package.InstructionNo;
    const std::int32_t rowVersion = package.RowVersion;
    const std::vector<CRegisterGroup> groups = package.RegisterGroups;
    const bool saveLines = itemsChanged_ || associationsChanged_;
    std::vector<CPackageItem> lines;
    std::vector<std::pair<int, std::int16_t>> added;
    bool saved = false;
    trap_.Run(errors_, "SaveData", &db_->Native(), [&] {
        Transaction transaction(*db_);
        if (!package.Update(db_, errors_)) {
            if (package.RowConflict().empty()) {
                MsgBox("Unable to update package");
            }
            return;
        }
        if (groupsChanged_ && !UpdateRegisterGroups()) {
            return;
        }
        if (saveLines && !SaveItems(lines, added)) {
            return;
        }
        transaction.Commit();
        saved = true;
    });
    if (!saved) {
        package.PackageNo = packageNo;
        package.InstructionNo = instructionNo;
        package.RowVersion = rowVersion;
        package.RegisterGroups = groups;
        if (!package.RowConflict().empty() && AskToReload(package.RowConflict())) {
            Reload();
        }
        return false;
    }

    if (saveLines) {
        package.SetItems(std::move(lines));
        FlexGrid& items = *ui_->gdItems;
        for (const auto& [row, seq] : added) {
            items.SetTextMatrix(row, kState, QString());
            items.SetTextMatrix(row, kSeq, QString::number(seq));
            ui_->gdRedemptionItems->SetTextMatrix(row, kMapSeq, QString::number(seq));
        }
        for (int row = 1; row < items.Rows(); ++row) {
            if (items.IsRowHidden(row)) {
                items.SetTextMatrix(row, kSeq, "0");  // deleted: nothing left to remove
            }
        }
    }
    itemsChanged_ = associationsChanged_ = groupsChanged_ = false;
    const QString number = QString::number(package.PackageNo);
    setWindowTitle("Package Properties (" + number + ")");
    ui_->lblPackageNo->setText(number);
    return true;
}

// The package as another station saved it, in place of what the user typed.
void frmEditPackage::Reload() {
    CPackage& package = *package_;
    if (!package.OpenPackage(db_, errors_, package.PackageNo) || !package.OpenItems(db_, errors_)) {
        return;
    }
    package.RegisterGroups.clear();
    redeem_.reset();
    ui_->rtbInstructions->SetText({});
    Setup(maint_, package);
    if (groupsLoaded_) {
        LoadRegisterGroups();
    }
    itemsChanged_ = associationsChanged_ = groupsChanged_ = false;
}

}  // namespace vym
