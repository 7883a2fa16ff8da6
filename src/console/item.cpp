#include "console/item.h"

#include <QColor>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QStyle>

#include "base/error.h"
#include "base/prompter.h"
#include "base/value.h"
#include "console/frm_item_type.h"
#include "editors/frm_item.h"
#include "editors/frm_stock.h"
#include "gateway/app_server.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/sql_quote.h"
#include "host/console_binding.h"
#include "host/frm_about.h"
#include "host/screen_context.h"
#include "model/citem.h"
#include "model/citem_rent.h"
#include "model/citem_stock.h"
#include "model/cpackage.h"
#include "packages/frm_edit_package.h"
#include "pricing/frm_pricing.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui_item.h"
#include "vym/version.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::Q;
using ui::S;

namespace {

constexpr const char* kSettingsPath = "AppData\\Item Maintenance";
constexpr int kTypeCol = 2;
constexpr int kIconCol = 3;
constexpr int kNumberCol = 4;
constexpr int kDescriptionCol = 5;
constexpr std::int32_t kLoadLimit = 200;

}  // namespace

// One search tab: its key, caption, search procedure, grid layout, the label
// and parameter of its number box, the type its functions are listed for, and
// the result columns that follow the description (a leading "?" marks a
// Boolean column shown as a check box).
struct Item::Tab {
    const char* key;
    const char* caption;
    const char* procedure;
    const char* format;
    const char* numberLabel;
    const char* numberParameter;
    const char* functionType;
    ItemTypes type;
    std::vector<const char*> extraColumns;
};

const Item::Tab& Item::TabOf(const QString& key) {
    constexpr const char* kColumns = "Function|Catagory|Type||ItemNo|Description";
    // One row a tab: key, caption, procedure, grid format, number label and
    // parameter, function type, item type, columns beyond the common ones.
    // clang-format off
    static const std::vector<Tab> kTabs = {
        {"ALL", "All", "VYM_SP_ITEM_GetItem", kColumns, "&Item#:", "@item_no", nullptr, ttoAll,
         {}},
        {"TICKET", "Ticket", "VYM_SP_ITEM_GetItemTicket", kColumns, "&Item#:", "@item_no",
         "TICKET", ttoTicket, {}},
        {"STOCK", "Stock", "VYM_SP_ITEM_GetItemStock",
         "Function|Catagory|Type||ItemNo|Description|<Vendor|<Style|>Model|^Size|<Attribute|"
         "Cost|Price|Serialized|StockType|QOH|UPC",
         "&Item#:", "@item_no", "STOCK", ttoStock,
         {"vendor_id", "Style", "model_description", "stock_size", "Attribute", "Cost",
          "unit_price", "?Serialized", "stock_type_id", "qoh_column", "upc_code"}},
        {"SS", "Ski School", "VYM_SP_ITEM_GetItemSS",
         "Function|Catagory|Type||ItemNo|Description|Resource Type|Labor", "&Item#:", "@item_no",
         "SS", ttoSkiSchool, {"resource_type_description", "labor_code_description"}},
        {"PHOTO", "Photo", "VYM_SP_ITEM_GetItemPhoto",
         "Function|Catagory|Type||ItemNo|Description|^PhotoSize|^Req ShipCharge", "&Item#:",
         "@item_no", "PHOTO", ttoPhoto, {"photo_size_id", "?require_ship_charge"}},
        {"SHIP", "Ship", "VYM_SP_ITEM_GetItemShip",
         "Function|Catagory|Type||ItemNo|Description|^Rush|^PickUp", "&Item#:", "@item_no",
         "SHIP", ttoShip, {"?Rush", "?Pickup"}},
        {"PACKAGE", "Package", "VYM_SP_ITEM_GetPackage",
         "Function|Catagory|Type||PackageNo|Description", "Package#:", "@package_no", nullptr,
         ttoPackage, {}},
        {"RENTAL", "Rental", "VYM_SP_ITEM_GetItemRental",
         "Function|Catagory|Type||ItemNo|Description|Is A Package", "&Item#:", "@item_no",
         "RENTAL", ttoRental, {"?is_package"}},
    };
    // clang-format on
    for (const Tab& tab : kTabs) {
        if (key == QLatin1String(tab.key)) {
            return tab;
        }
    }
    return kTabs.front();
}

Item::Item(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::Item>()) {
    ui_->setupUi(this);
    BuildMenus();

    const auto digits = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
    ui_->txtItemNo->setValidator(digits);
    ui_->txtItemNoEnd->setValidator(digits);

    FlexGrid& grid = *ui_->fgItems;
    grid.SetSelectionMode(FlexGrid::SelectionMode::MultiRow);
    grid.DefineRowStyle("inactive", QColor(238, 238, 238), QColor(128, 128, 128));
    grid.viewport()->installEventFilter(this);
    grid.installEventFilter(this);

    const QStyle* look = style();
    ui_->cmbDepartment->SetImage("Dpt", look->standardIcon(QStyle::SP_DirIcon));
    ui_->cmbDepartment->SetImage("RptDpt", look->standardIcon(QStyle::SP_DirOpenIcon));
    ui_->cmbDepartment->SetImage("SubRptDpt", look->standardIcon(QStyle::SP_FileIcon));
    ui_->cmbDepartment->AddEntry(QString(), "<ANY>");

    connect(ui_->cmdFind, &QPushButton::clicked, this, &Item::cmdFind_Click);
    connect(ui_->cmdStop, &QPushButton::clicked, this, &Item::cmdStop_Click);
    connect(ui_->cmdNewSearch, &QPushButton::clicked, this, &Item::cmdNewSearch_Click);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &Item::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &Item::cmdCancel_Click);
    connect(ui_->cmdVendor, &QToolButton::clicked, this, &Item::cmdVendor_Click);
    connect(ui_->cmbFunction, &ui::AnyCombo::KeyChanged, this, [this] { FillCatagories(); });
    connect(ui_->cmbStockType, &ui::AnyCombo::KeyChanged, this, [this] { FillModels(); });
    connect(ui_->txtDescription, &QLineEdit::returnPressed, this, &Item::cmdFind_Click);
    connect(ui_->txtItemNo, &QLineEdit::returnPressed, this, &Item::cmdFind_Click);
    connect(&grid, &FlexGrid::CellDoubleClicked, this, [this](int row, int) {
        emit DblClick();
        fgItems_DblClick(row);
    });
    connect(&grid, &FlexGrid::CellClicked, this, [this] { emit Click(); });

    for (const char* key : {"ALL", "TICKET", "STOCK", "SS", "PHOTO", "SHIP", "PACKAGE", "RENTAL"}) {
        ui_->tabSearch->AddTab(key, TabOf(key).caption);
    }
    connect(ui_->tabSearch, &ui::KeyTabBar::CurrentKeyChanged, this, &Item::tabSearch_Click);
    tabSearch_Click(ui_->tabSearch->CurrentKey());

    ui_->cmdOk->setVisible(false);
    ui_->cmdCancel->setVisible(false);
    EnableControls();
}

Item::~Item() = default;

void Item::BuildMenus() {
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName("mnuBar");
    menuBar_->setNativeMenuBar(false);
    ui_->layoutMain->setMenuBar(menuBar_);

    auto add = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    QMenu* mnuItem = menuBar_->addMenu("&Item");
    mnuItem->setObjectName("mnuItem");
    QAction* mnuAdd = add(mnuItem, "mnuAdd", "&Add...");
    mnuCreateLike_ = add(mnuItem, "mnuCreateLike", "&Create Like...");
    QAction* mnuDelete = add(mnuItem, "mnuDelete", "&Delete");
    QAction* mnuProperties = add(mnuItem, "mnuProperties", "&Properties...");
    mnuItem->addSeparator();
    mnuPricing_ = add(mnuItem, "mnuPricing", "P&ricing...");
    mnuHistory_ = add(mnuItem, "mnuHistory", "&History");
    mnuLocation_ = add(mnuItem, "mnuLocation", "Loca&tion");
    QAction* mnuPrintLabels = add(mnuItem, "mnuPrintLabels", "Print &Labels...");
    QAction* mnuBulkPriceChange = add(mnuItem, "mnuBulkPriceChange", "Bul&k Price Change...");
    connect(mnuAdd, &QAction::triggered, this, &Item::mnuAdd_Click);
    connect(mnuCreateLike_, &QAction::triggered, this, &Item::mnuCreateLike_Click);
    connect(mnuDelete, &QAction::triggered, this, &Item::mnuDelete_Click);
    connect(mnuProperties, &QAction::triggered, this, &Item::mnuProperties_Click);
    connect(mnuPricing_, &QAction::triggered, this, &Item::mnuPricing_Click);
    connect(mnuHistory_, &QAction::triggered, this, &Item::mnuHistory_Click);
    connect(mnuLocation_, &QAction::triggered, this, &Item::mnuLocation_Click);
    connect(mnuPrintLabels, &QAction::triggered, this, &Item::mnuPrintLabels_Click);
    connect(mnuBulkPriceChange, &QAction::triggered, this, &Item::mnuBulkPriceChange_Click);

    // Commands that open a screen through the service object.
    auto opens = [this](QAction* action, auto open) {
        connect(action, &QAction::triggered, this, [this, open] {
            if (itemMaint_) {
                open(*itemMaint_);
            }
        });
    };

    QMenu* mnuStock = menuBar_->addMenu("&Stock");
    mnuStock->setObjectName("mnuStock");
    mnuStockMatrix_ = add(mnuStock, "mnuStockMatrix", "&Matrix");
    connect(mnuStockMatrix_, &QAction::triggered, this, &Item::mnuStockMatrix_Click);

    opens(add(mnuStock, "mnuSalePricing", "Sale &Pricing"),
          [this](ScreenContext& context) { context.StockSalePricing(this); });
    opens(add(mnuStock, "mnuStockSummary", "&Summary"),
          [this](ScreenContext& context) { context.StockSummary(this); });
    opens(add(mnuStock, "mnuEditPricing", "&Edit Pricing"),
          [this](ScreenContext& context) { context.EditPrices(this); });

    QMenu* mnuMaintenance = menuBar_->addMenu("&Maintenance");
    mnuMaintenance->setObjectName("mnuMaintenance");
    opens(add(mnuMaintenance, "mnuPackageUpgrade", "Package Rental Upgrade Pricing..."),
          [this](ScreenContext& context) { context.RentalPackageUpgradePricing(this); });
    opens(add(mnuMaintenance, "mnuProfile", "Profile..."),
          [this](ScreenContext& context) { context.EditProfiles(this); });
    opens(add(mnuMaintenance, "mnuSeasons", "Season Maintenance..."),
          [](ScreenContext& context) { context.ShowSeasons(); });
    opens(add(mnuMaintenance, "mnuSpecialOffers", "Special Offer Codes..."),
          [](ScreenContext& context) { context.ShowSpecialOffer(); });
    QAction* mnuSupportTables = add(mnuMaintenance, "mnuSupportTables", "Support Tables...");
    opens(add(mnuMaintenance, "mnuTemplates", "Template Editor..."),
          [](ScreenContext& context) { context.EditTemplates(); });
    connect(mnuSupportTables, &QAction::triggered, this, [this] {
        if (itemMaint_) {
            itemMaint_->EditSupportTables();
            FillFunctions();
        }
    });
    connect(ui_->fgItems, &FlexGrid::SelectionChanged, this, &Item::UpdateRowCommands);
}

// History and Location act on one stock row; for another row they are not
// offered.
void Item::UpdateRowCommands() {
    const QList<int> rows = ui_->fgItems->SelectedRows();
    const QString type = rows.size() == 1 ? ui_->fgItems->TextMatrix(rows.front(), kTypeCol) : "";
    mnuHistory_->setEnabled(type.isEmpty() || type == "STOCK");
    mnuLocation_->setEnabled(type.isEmpty() || type == "STOCK");
}

// Input is accepted only while the console is enabled and has its connection.
void Item::EnableControls() {
    const bool on = enabled_ && connection_ != nullptr;
    ui_->tabSearch->setEnabled(on);
    ui_->fraCriteria->setEnabled(on);
    ui_->fgItems->setEnabled(on);
    menuBar_->setEnabled(on);
    ui_->cmdOk->setEnabled(on);
    ui_->cmdStop->setEnabled(false);
    // A package is not copied from the console.
    mnuCreateLike_->setEnabled(SearchTab() != "PACKAGE");
}

QString Item::SearchTab() const {
    return ui_->tabSearch->CurrentKey();
}

void Item::SetStatus(const QString& text) {
    binding_.SetStatus(text);
}

// Plug-in interface --------------------------------------------------------------

void Item::implements_SetAppServer(AppServer* server) {
    BusyCursor busy;
    try {
        binding_.Bind(server);
        enabled_ = true;
        EnableControls();
        SetStatus("Ready");
    } catch (const vym::Error& e) {
        MsgBox("Error Attempting to Bind Application Server: " + e.Description());
    } catch (const std::exception& e) {
        MsgBox(std::string("Error Attempting to Bind Application Server: ") + e.what());
    }
}

void Item::implements_Setup() {
    ui_->fgItems->setEnabled(false);
    menuBar_->setEnabled(false);
    if (!binding_.Granted("Item Maintenance", "ITEM")) {
        return;
    }
    trap_.Run(Errors(), "implements_Setup", nullptr, [&] {
        connection_ = binding_.Server()->DBConnection();
        SetItemMaint(binding_.Context());
        EnableControls();
        FillSearchCombos();
        const QString stored =
            Q(binding_.Server()->GetSetting(kSettingsPath, "Environment", "SearchTab", "ALL"));
        if (stored == SearchTab() || !ui_->tabSearch->SetCurrentKey(stored)) {
            tabSearch_Click(SearchTab());
        }
    });
}

void Item::implements_Enable() {
    enabled_ = true;
    EnableControls();
}

void Item::implements_ShowAbout() {
    frmAbout about(this);
    ui::RunModal(about);
}

QString Item::implements_GetApplicationName() const {
    return version::kComponentTitle;
}

QString Item::implements_ProgID() const {
    return QString(version::kComponentTitle) + ".Item";
}

void Item::Implements_ShutDown() {
    stopRequested_ = true;
    SetItemMaint(nullptr);
    connection_.reset();
    binding_.Release();
    enabled_ = false;
    EnableControls();
}

// Picker interface -----------------------------------------------------------------

void Item::Setup(bool bSelectionMode, bool bMultiSelect, ItemTypes iShowType,
                 const QString& sLocation, bool bDisableStockMatrix, const QString& sVendorId,
                 const QString& sStockType, const QString& sStockSerialType,
                 bool bRequireBindingType, std::optional<bool> bIsAPackage, bool bSerialized,
                 bool bClearLastSearch) {
    mnuStockMatrix_->setEnabled(!bDisableStockMatrix);
    selectionMode_ = bSelectionMode;
    multiSelect_ = bMultiSelect;
    userCanceled_ = true;
    ui_->cmdOk->setVisible(bSelectionMode);
    ui_->cmdCancel->setVisible(bSelectionMode);
    if (connection_ && !combosLoaded_) {
        FillSearchCombos();
        FillFunctions();
    }
    if (bClearLastSearch) {
        cmdNewSearch_Click();
    }

    ui::KeyTabBar& tabs = *ui_->tabSearch;
    const QString shownBefore = SearchTab();
    QString wanted;
    for (int i = 0; i < tabs.count(); ++i) {
        const QString key = tabs.TabKey(i);
        // A picker for every type hands back item numbers only, so a package
        // (numbered apart from items) is offered only to a picker for packages.
        const bool shown = iShowType == ttoAll ? !bSelectionMode || key != "PACKAGE"
                                               : TabOf(key).type == iShowType;
        tabs.setTabVisible(i, shown);
        if (shown && wanted.isEmpty()) {
            wanted = key;
        }
    }
    // Hiding the tab shown moves the bar to a neighbour of its own choosing.
    if (SearchTab() != wanted &&
        (iShowType != ttoAll || !tabs.isTabVisible(tabs.TabIndex(shownBefore)))) {
        tabs.SetCurrentKey(wanted);
    }

    if (iShowType == ttoRental) {
        (bIsAPackage ? (*bIsAPackage ? ui_->optRentalPackages : ui_->optRentalItems)
                     : ui_->optRentalAll)
            ->setChecked(true);
    }
    if (!sLocation.isEmpty()) {
        ui_->cmbLocation->SetKey(sLocation);
    }
    if (!sStockType.isEmpty()) {
        ui_->cmbStockType->SetKey(sStockType);
    }
    if (!sVendorId.isEmpty()) {
        ui_->txtVendor->setText(sVendorId);
    }
    if (bRequireBindingType) {
        ui_->chkBindingType->setChecked(true);
    }
    if (bSerialized) {
        ui_->chkSerialized->setChecked(true);
    }
    serialTypeId_ = sStockSerialType;
}

int Item::SelectedRow() const {
    const FlexGrid& grid = *ui_->fgItems;
    const QList<int> rows = grid.SelectedRows();
    if (rows.isEmpty()) {
        return 0;
    }
    return rows.contains(grid.Row()) ? grid.Row() : rows.front();
}

std::int32_t Item::ItemNo() const {
    const int row = SelectedRow();
    return row > 0 ? ui_->fgItems->RowData(row).toInt() : 0;
}

QString Item::ItemType() const {
    const int row = SelectedRow();
    return row > 0 ? ui_->fgItems->TextMatrix(row, kTypeCol) : QString();
}

QString Item::ItemDescription() const {
    const int row = SelectedRow();
    return row > 0 ? ui_->fgItems->TextMatrix(row, kDescriptionCol) : QString();
}

QString Item::StockNo() const {
    const int row = SelectedRow();
    return row > 0 ? ui_->fgItems->CellData(row, kNumberCol).toString() : QString();
}

QString Item::StockDesc() const {
    const QString type = ItemType();
    return type == "STOCK" || type == "RENTAL" ? ItemDescription() : QString();
}

std::vector<std::int32_t> Item::MultiSelect() const {
    std::vector<std::int32_t> numbers;
    for (const int row : ui_->fgItems->SelectedRows()) {
        numbers.push_back(ui_->fgItems->RowData(row).toInt());
    }
    return numbers;
}

void Item::SetOkVisible(bool visible) {
    ui_->cmdOk->setVisible(visible);
}
void Item::SetCancelVisible(bool visible) {
    ui_->cmdCancel->setVisible(visible);
}

void Item::SetEnabled(bool enabled) {
    enabled_ = enabled;
    EnableControls();
}

void Item::Refresh() {
    update();
}

void Item::SetItemMaint(ScreenContext* itemMaint) {
    if (itemMaint_ != nullptr) {
        disconnect(itemMaint_, nullptr, this, nullptr);
    }
    itemMaint_ = itemMaint;
    // Stock the matrix adds is announced by the console too.
    if (itemMaint_ != nullptr) {
        connect(itemMaint_, &ScreenContext::ItemStockAddedEvent, this, &Item::ItemStockAdded);
    }
}

void Item::SetDBConnection(std::shared_ptr<Connection> connection) {
    connection_ = std::move(connection);
    EnableControls();
}

void Item::UpdateStock(bool bNew, std::int32_t lItemNo, const QString& sDesc,
                       const QString& sStockNo, const QString& /*sManufacturer*/,
                       const QString& sModel, const QString& sSize, const QString& sAttribute,
                       double dPrice, bool bSerialized) {
    FlexGrid& grid = *ui_->fgItems;
    int row = 0;
    for (int r = 1; r < grid.Rows(); ++r) {
        if (grid.RowData(r).toInt() == lItemNo && grid.TextMatrix(r, kTypeCol) != "PACKAGE") {
            row = r;
            break;
        }
    }
    if (row == 0) {
        if (!bNew || SearchTab() == "PACKAGE") {
            return;
        }
        grid.AddItem(QString());
        row = grid.Rows() - 1;
        grid.SetRowData(row, lItemNo);
        grid.SetTextMatrix(row, kTypeCol, "STOCK");
        grid.SetTextMatrix(row, kNumberCol, QString::number(lItemNo));
    }
    grid.SetTextMatrix(row, kDescriptionCol, sDesc);
    grid.SetCellData(row, kNumberCol, sStockNo);
    // The manufacturer has no column of its own in the stock layout.
    if (SearchTab() == "STOCK") {
        grid.SetTextMatrix(row, 8, sModel);
        grid.SetTextMatrix(row, 9, sSize);
        grid.SetTextMatrix(row, 10, sAttribute);
        grid.SetTextMatrix(row, 12, Q(vym::Value(dPrice).ToString()));
        grid.SetCellChecked(row, 13, bSerialized);
    }
}

// Search tabs and lists ---------------------------------------------------------------

void Item::tabSearch_Click(const QString& key) {
    const Tab& tab = TabOf(key);
    const bool stock = key == "STOCK";
    ui_->lblItemNo->setText(tab.numberLabel);
    ui_->lblItemNoTo->setVisible(stock);
    ui_->txtItemNoEnd->setVisible(stock);
    ui_->fraStock->setVisible(stock);
    ui_->fraCommon->setVisible(!stock && key != "SHIP");
    const bool groups = key == "ALL" || key == "TICKET" || key == "PACKAGE";
    ui_->lblRegisterGroup->setVisible(groups);
    ui_->cmbRegisterGroup->setVisible(groups);
    ui_->lblResourceType->setVisible(key == "SS");
    ui_->cmbResourceType->setVisible(key == "SS");
    ui_->lblPhotoSize->setVisible(key == "PHOTO");
    ui_->cmbPhotoSize->setVisible(key == "PHOTO");
    const bool rental = key == "RENTAL";
    ui_->lblMapId->setVisible(rental);
    ui_->txtMapId->setVisible(rental);
    ui_->fraRental->setVisible(rental);

    FlexGrid& grid = *ui_->fgItems;
    grid.SetFormatString(tab.format);
    grid.SetColumnSymbolFont(kIconCol);
    grid.SetColumnWidth(kIconCol, 28);
    for (std::size_t i = 0; i < tab.extraColumns.size(); ++i) {
        if (tab.extraColumns[i][0] == '?') {
            grid.SetColumnKind(kDescriptionCol + 1 + static_cast<int>(i),
                               FlexGrid::ColumnKind::CheckBox);
        }
    }
    if (stock) {
        grid.SetColumnFormat(11, "0.0000");
        grid.SetColumnFormat(12, "Currency");
    }
    EnableControls();

    FillFunctions();
    ui_->txtDescription->setFocus();
    if (AppServer* server = binding_.Server()) {
        trap_.Run(Errors(), "tabSearch_Click", nullptr,
                  [&] { server->SaveSetting(kSettingsPath, "Environment", "SearchTab", S(key)); });
    }
}

void Item::FillSearchCombos() {
    if (!Db()) {
        return;
    }
    ui::AnyCombo* combos[] = {ui_->cmbStockType, ui_->cmbResourceType, ui_->cmbRegisterGroup,
                              ui_->cmbLocation, ui_->cmbPhotoSize};
    for (ui::AnyCombo* combo : combos) {
        combo->Reset();
    }
    ui::ImageCombo& departments = *ui_->cmbDepartment;
    departments.clear();
    departments.AddEntry(QString(), "<ANY>");
    trap_.Run(Errors(), "FillSearchCombos", &Db()->Native(), [&] {
        auto command = NewProcedure(*Db(), "VYM_SP_ITEM_getSearchCombos");
        auto rows = Db()->ExecuteRecordset(*command);
        QString department;
        QString report;
        do {
            for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
                const QString type = FieldText(*rows, "data_type");
                const QString text = FieldText(*rows, "Description");
                if (type == "DEPARTMENT") {
                    const QString dept = FieldText(*rows, "department_id");
                    const QString rpt = FieldText(*rows, "report_department_id");
                    const QString sub = FieldText(*rows, "report_sub_department_id");
                    if (dept != department) {
                        department = dept;
                        report.clear();
                        departments.AddEntry(dept, text, "Dpt", 0);
                    }
                    if (!rpt.isEmpty() && rpt != report) {
                        report = rpt;
                        departments.AddEntry(dept + "," + rpt,
                                             FieldText(*rows, "report_description"), "RptDpt", 1);
                    }
                    if (!sub.isEmpty()) {
                        departments.AddEntry(dept + "," + rpt + "," + sub,
                                             FieldText(*rows, "sub_description"), "SubRptDpt", 2);
                    }
                } else if (type == "STOCK_TYPE") {
                    ui_->cmbStockType->AddEntry(FieldText(*rows, "stock_type_id"), text);
                } else if (type == "RESOURCE_TYPE") {
                    ui_->cmbResourceType->AddEntry(FieldText(*rows, "resource_type_id"), text);
                } else if (type == "REGISTER_GROUP") {
                    ui_->cmbRegisterGroup->AddEntry(FieldText(*rows, "register_group_id"), text);
                } else if (type == "LOCATION") {
                    ui_->cmbLocation->AddEntry(FieldText(*rows, "location_id"), text);
                } else if (type == "PHOTO_SIZE") {
                    ui_->cmbPhotoSize->AddEntry(FieldText(*rows, "photo_size_id"), text);
                }
            }
        } while (rows->NextRecordset());
        combosLoaded_ = true;
    });
    departments.setCurrentIndex(0);
    FillModels();
}

void Item::FillFunctions() {
    ui_->cmbFunction->Reset();
    if (!Db()) {
        return;
    }
    trap_.Run(Errors(), "FillFunctions", &Db()->Native(), [&] {
        auto command = NewProcedure(*Db(), "VYM_SP_ITEM_GetTypeFunction");
        if (const char* type = TabOf(SearchTab()).functionType) {
            command->Parameters["@item_type"].Value = type;
        }
        auto rows = Db()->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            ui_->cmbFunction->AddEntry(FieldText(*rows, "function_id"),
                                       FieldText(*rows, "Description"));
        }
    });
}

void Item::FillCatagories() {
    ui_->cmbCatagory->Reset();
    const QString function = ui_->cmbFunction->Key();
    if (!Db() || function.isEmpty()) {
        return;
    }
    trap_.Run(Errors(), "FillCatagories", &Db()->Native(), [&] {
        auto rows = Db()->OpenRecordset(
            "SELECT catagory_id, description FROM vym_catagory WHERE ISNULL(is_active,-1) <> 0 "
            "AND function_id = " +
            SqlQuote(S(function)) + " ORDER BY function_id, description");
        for (; !rows->Eof(); rows->MoveNext()) {
            ui_->cmbCatagory->AddEntry(FieldText(*rows, "catagory_id"),
                                       FieldText(*rows, "description"));
        }
    });
}

void Item::FillModels() {
    ui_->cmbModel->Reset();
    if (!Db()) {
        return;
    }
    trap_.Run(Errors(), "FillModels", &Db()->Native(), [&] {
        auto command = NewProcedure(
            *Db(), "VYM_SP_ITEM_GetItemStockModel",
            {{"@stock_type_id", ui::NullIfEmpty(ui_->cmbStockType->Key())}, {"@is_active", true}});
        auto rows = Db()->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            ui_->cmbModel->AddEntry(FieldText(*rows, "model_id"), FieldText(*rows, "Description"));
        }
    });
}

// Find -------------------------------------------------------------------------------------

namespace {

// An empty text is no criterion.
void SetText(ParameterList& p, const char* name, const QString& text) {
    if (!text.isEmpty()) {
        p[name].Value = S(text);
    }
}

// Digits only; anything else (or a number too large) is no criterion.
std::optional<std::int32_t> Number(const QLineEdit* box) {
    bool ok = false;
    const int value = box->text().trimmed().toInt(&ok);
    return ok ? std::optional<std::int32_t>(value) : std::nullopt;
}

}  // namespace

bool Item::SetStockCriteria(ParameterList& p, std::optional<std::int32_t> itemNo) {
    const auto itemNoEnd = Number(ui_->txtItemNoEnd);
    if (itemNo && itemNoEnd && *itemNoEnd < *itemNo) {
        MsgBox("The end item number range is less than the start.", kInformation,
               "InValid End Item Number");
        return false;
    }
    if (itemNoEnd) {
        p["@item_no_end_range"].Value = *itemNoEnd;
    }
    SetText(p, "@map_id", ui_->txtMapNo->text().trimmed());
    SetText(p, "@stock_type_id", ui_->cmbStockType->Key());
    SetText(p, "@manufacturer", ui_->txtManufacturer->text().trimmed());
    SetText(p, "@vendor_id", ui_->txtVendor->text().trimmed().toUpper());
    SetText(p, "@model_id", ui_->cmbModel->Key());
    const QStringList department = ui_->cmbDepartment->Key().split(',');
    const char* departmentParameters[] = {"@department_id", "@report_department_id",
                                          "@report_sub_department_id"};
    for (int i = 0; i < 3 && i < department.size(); ++i) {
        SetText(p, departmentParameters[i], department[i]);
    }
    SetText(p, "@location_id", ui_->cmbLocation->Key());
    if (const auto since = ui_->dtNotSoldSince->Value()) {
        p["@last_date_sold"].Value = *since;
    }
    if (ui_->chkSerialized->isChecked()) {
        p["@serialized"].Value = true;
    }
    if (ui_->chkBindingType->isChecked()) {
        p["@require_binding_type"].Value = true;
    }
    if (ui_->chkGroupMember->isChecked()) {
        p["@group_member"].Value = true;
    }
    SetText(p, "@serial_type_id", serialTypeId_);
    return true;
}

void Item::SetTypeCriteria(ParameterList& p, const QString& key) {
    if (key == "ALL" || key == "TICKET" || key == "PACKAGE") {
        SetText(p, "@register_group_id", ui_->cmbRegisterGroup->Key());
    }
    if (key == "SS") {
        SetText(p, "@resource_type_id", ui_->cmbResourceType->Key());
    }
    if (key == "PHOTO") {
        SetText(p, "@photo_size_id", ui_->cmbPhotoSize->Key());
    }
    if (key == "RENTAL") {
        SetText(p, "@map_id", ui_->txtMapId->text().trimmed());
        if (!ui_->optRentalAll->isChecked()) {
            p["@is_package"].Value = ui_->optRentalPackages->isChecked();
        }
    }
}

std::unique_ptr<Command> Item::BuildSearch() {
    const QString key = SearchTab();
    const Tab& tab = TabOf(key);
    auto command = NewProcedure(*Db(), tab.procedure);
    ParameterList& p = command->Parameters;
    const auto itemNo = Number(ui_->txtItemNo);
    if (itemNo) {
        p[tab.numberParameter].Value = *itemNo;
    }
    SetText(p, "@description", ui_->txtDescription->text().trimmed().toUpper());
    SetText(p, "@function_id", ui_->cmbFunction->Key());
    SetText(p, "@catagory_id", ui_->cmbCatagory->Key());
    if (ui_->optActive->isChecked()) {
        p["@status_id"].Value = "ACTIVE";
    } else if (ui_->optInactive->isChecked()) {
        p["@status_id"].Value = "INACTIVE";
    }

    std::vector<const char*> required;
    if (key == "STOCK") {
        if (!SetStockCriteria(p, itemNo)) {
            return nullptr;
        }
        // The function and category boxes are shown on this tab too, and
        // narrow its search as much as the tab's own criteria.
        required = {"@description",       "@item_no",
                    "@item_no_end_range", "@map_id",
                    "@stock_type_id",     "@serialized",
                    "@vendor_id",         "@require_binding_type",
                    "@model_id",          "@report_sub_department_id",
                    "@department_id",     "@report_department_id",
                    "@location_id",       "@last_date_sold",
                    "@function_id",       "@catagory_id"};
    } else {
        SetTypeCriteria(p, key);
        if (key == "ALL") {
            required = {"@description", "@item_no", "@register_group_id", "@function_id",
                        "@catagory_id"};
        }
    }
    if (!required.empty() && std::none_of(required.begin(), required.end(),
                                          [&](const char* n) { return !p[n].Value.IsEmpty(); })) {
        MsgBox("You must specify at least one search criteria!", kInformation,
               "Search Criteria Required");
        return nullptr;
    }
    return command;
}

void Item::cmdFind_Click() {
    if (!Db() || !ui_->cmdFind->isEnabled()) {
        return;
    }
    QPointer<Item> self(this);
    SetStatus("Seaching Items...");
    ui_->cmdFind->setEnabled(false);
    ui_->cmdStop->setEnabled(true);
    stopRequested_ = false;
    FlexGrid& grid = *ui_->fgItems;

    trap_.Run(Errors(), "cmdFind_Click", &Db()->Native(), [&] {
        const std::unique_ptr<Command> command = BuildSearch();
        if (!command) {
            return;
        }
        const std::unique_ptr<Recordset> rows = Db()->ExecuteRecordset(*command);
        const std::int32_t count = NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong();
        if (count >= kLoadLimit &&
            MsgBox(std::to_string(count) +
                       " Records found.\r\nOK - continue to load records\r\nCancel - redefine "
                       "search",
                   {MsgButtons::OKCancel, MsgIcon::Question, 2},
                   "Results Over Limit") != MsgResult::OK) {
            return;
        }
        // Only a search that loads replaces the results: a refused one leaves
        // them on screen while the user redefines it.
        grid.Clear();
        LoadRows(*rows, count);
    });
    if (!self) {
        return;
    }
    grid.AutoSizeColumns();
    ui_->cmdFind->setEnabled(true);
    ui_->cmdStop->setEnabled(false);
    SetStatus(grid.Rows() > 2 ? "Found Items " + QString::number(grid.Rows() - 1) : "Ready");
}

void Item::LoadRows(Recordset& rows, std::int32_t count) {
    QPointer<Item> self(this);
    const Tab& tab = TabOf(SearchTab());
    const bool package = SearchTab() == "PACKAGE";
    FlexGrid& grid = *ui_->fgItems;
    constexpr int kProgressRows = 10000;
    grid.ReserveRows(count);
    for (int loaded = 0; rows.IsOpen() && !rows.Eof(); rows.MoveNext(), ++loaded) {
        DoEvents();
        if (!self || stopRequested_) {
            return;
        }
        if (loaded > 0 && loaded % kProgressRows == 0) {
            SetStatus(QString("Seaching Items... %1 of %2").arg(loaded).arg(count));
        }
        grid.AddItem(RowText(rows, tab, tab));
        const int row = grid.Rows() - 1;
        grid.SetRowData(row, rows.Fields(package ? "package_no" : "item_no").Value().ToLong());
        if (!tab.extraColumns.empty() && SearchTab() == "STOCK") {
            grid.SetCellData(row, kNumberCol, FieldText(rows, "stock_id"));
        }
        StyleRow(row, rows);
    }
}

QString Item::RowText(Recordset& rows, const Tab& source, const Tab& layout) const {
    const bool package = source.key == std::string_view("PACKAGE");
    // The item's own symbol, else its function's.
    QString icon = FieldText(rows, "Tree_ICON").left(1);
    if (icon.isEmpty()) {
        icon = FieldText(rows, "fun_tree_icon").left(1);
    }
    QStringList cells = {FieldText(rows, "function_id"),
                         FieldText(rows, "catagory_id"),
                         FieldText(rows, "item_type"),
                         icon,
                         FieldText(rows, package ? "package_no" : "item_no"),
                         FieldText(rows, package ? "Description" : "long_description")};
    // Another type's search has none of the layout's own columns.
    for (const char* column : layout.extraColumns) {
        cells.append(&source == &layout ? FieldText(rows, column[0] == '?' ? column + 1 : column)
                                        : QString());
    }
    return cells.join('\t');
}

// Inactive rows are greyed; an item's own colour tints its symbol.
void Item::StyleRow(int row, Recordset& rows) {
    FlexGrid& grid = *ui_->fgItems;
    grid.SetRowStyle(row, FieldText(rows, "status_id") == "INACTIVE" ? "inactive" : QString());
    const vym::Value colour = rows.Fields("item_color").Value();
    if (!colour.IsNull()) {
        const std::int32_t bgr = colour.ToLong();
        grid.SetCellForeground(row, kIconCol,
                               QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF));
    }
}

int Item::ShowRecord(std::int32_t number, const QString& type) {
    int shown = 0;
    trap_.Run(Errors(), "ShowRecord", &Db()->Native(), [&] {
        auto read = [&](const Tab& tab) {
            auto command = NewProcedure(*Db(), tab.procedure, {{tab.numberParameter, number}});
            return Db()->ExecuteRecordset(*command);
        };
        auto found = [](const std::unique_ptr<Recordset>& rows) {
            return rows->IsOpen() && !rows->Eof();
        };
        // A tab's search finds the types it lists; a record of another type
        // (a ship item added from the ticket tab) is read by its own type's.
        const Tab& layout = TabOf(SearchTab());
        const Tab* source = &layout;
        auto rows = read(layout);
        if (!found(rows) && &TabOf(type) != &layout) {
            source = &TabOf(type);
            rows = read(*source);
        }
        if (!found(rows)) {
            return;
        }
        FlexGrid& grid = *ui_->fgItems;
        const QStringList cells = RowText(*rows, *source, layout).split('\t');
        for (int r = 1; r < grid.Rows(); ++r) {
            if (grid.RowData(r).toInt() == number) {
                shown = r;
                break;
            }
        }
        if (shown == 0) {
            grid.AddItem(cells.join('\t'));
            shown = grid.Rows() - 1;
            grid.SetRowData(shown, number);
        } else {
            for (int col = 0; col < cells.size(); ++col) {
                grid.SetTextMatrix(shown, col, cells[col]);
            }
        }
        if (source->key == std::string_view("STOCK")) {
            grid.SetCellData(shown, kNumberCol, FieldText(*rows, "stock_id"));
        }
        StyleRow(shown, *rows);
    });
    return shown;
}

void Item::cmdNewSearch_Click() {
    for (QLineEdit* box : {ui_->txtItemNo, ui_->txtItemNoEnd, ui_->txtDescription, ui_->txtMapId,
                           ui_->txtMapNo, ui_->txtManufacturer, ui_->txtVendor}) {
        box->clear();
    }
    for (ui::AnyCombo* combo :
         {ui_->cmbFunction, ui_->cmbCatagory, ui_->cmbRegisterGroup, ui_->cmbResourceType,
          ui_->cmbPhotoSize, ui_->cmbStockType, ui_->cmbModel, ui_->cmbLocation}) {
        combo->SelectAny();
    }
    ui_->cmbDepartment->setCurrentIndex(0);
    ui_->optAny->setChecked(true);
    ui_->optRentalAll->setChecked(true);
    for (QCheckBox* check : {ui_->chkSerialized, ui_->chkBindingType, ui_->chkGroupMember}) {
        check->setChecked(false);
    }
    ui_->dtNotSoldSince->SetNull();
    ui_->fgItems->Clear();
    SetStatus("Ready...");
}

// Selection mode -----------------------------------------------------------------------------

void Item::cmdOk_Click() {
    if (ui_->fgItems->SelectedRows().size() > 1 && !multiSelect_) {
        MsgBox("Please only select one item", kInformation, "MultiSelect Not Supported");
        return;
    }
    userCanceled_ = false;
    emit OkClick();
}

void Item::cmdCancel_Click() {
    emit CancelClick();
}

void Item::fgItems_DblClick(int row) {
    if (row < 1) {
        return;
    }
    if (selectionMode_) {
        emit ItemDoubleClick();
    } else {
        mnuProperties_Click();
    }
}

void Item::cmdVendor_Click() {
    if (!itemMaint_) {
        return;
    }
    const QString vendor = itemMaint_->SelectVendor(this, ui_->txtVendor->text().trimmed());
    if (!vendor.isEmpty()) {
        ui_->txtVendor->setText(vendor);
    }
}

// Commands -------------------------------------------------------------------------------------

void Item::mnuDelete_Click() {
    FlexGrid& grid = *ui_->fgItems;
    const QList<int> rows = grid.SelectedRows();
    if (rows.isEmpty() || !Db()) {
        return;
    }
    const std::string question =
        rows.size() == 1 ? "Are you sure you want to delete " +
                               S(grid.TextMatrix(rows.front(), kDescriptionCol)) + "?"
                         : std::string("Are you sure you want to delete all the selected items?");
    if (MsgBox(question, kQuestionYesNoDefaultNo, "Confirm Delete") != MsgResult::Yes) {
        return;
    }
    // Last to first, so that removing a row leaves the numbers of the rows
    // still to do as they were.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        trap_.Run(Errors(), "mnuDelete_Click", &Db()->Native(), [&] {
            const bool package = grid.TextMatrix(*row, kTypeCol) == "PACKAGE";
            auto command = NewProcedure(
                *Db(), package ? "VyM_SP_ITEM_DeletePackage" : "VyM_SP_ITEM_DeleteItem",
                {{package ? "@package_no" : "@item_no", grid.RowData(*row).toInt()}});
            const bool executed = Db()->Execute(*command);
            const std::string message = NullToEmpty(command->Parameters["@message"].Value);
            if (executed && message.empty()) {
                grid.RemoveItem(*row);
            } else if (!message.empty()) {
                MsgBox(message, kInformation, "Error Deleting Item");
            }
        });
    }
}

void Item::mnuAdd_Click() {
    if (!Db() || !itemMaint_) {
        return;
    }
    QString type = SearchTab();
    if (type != "STOCK" && type != "RENTAL" && type != "PACKAGE") {
        frmItemType chooser(this);
        chooser.Setup(type);
        ui::RunModal(chooser);
        if (chooser.UserCancelled()) {
            return;
        }
        type = chooser.ItemType();
    }
    std::int32_t saved = 0;
    if (type == "PACKAGE") {
        CPackage package;
        package.FunctionID = S(ui_->cmbFunction->Key());
        package.CatagoryID = S(ui_->cmbCatagory->Key());
        if (EditPackage(package)) {
            saved = package.PackageNo;
        }
    } else {
        CItem item;
        item.SetItemType(S(type));
        PresetNewItem(item);
        if (EditItem(item)) {
            saved = item.ItemNo;
        }
    }
    if (saved == 0) {
        return;
    }
    FlexGrid& grid = *ui_->fgItems;
    const int row = ShowRecord(saved, type);
    if (row > 0) {
        for (int selected : grid.SelectedRows()) {
            grid.SelectRow(selected, false);
        }
        grid.SetCurrentCell(row, kDescriptionCol);
        grid.SelectRow(row);
    }
}

// A new item starts from what the user searched for.
void Item::PresetNewItem(CItem& item) const {
    item.FunctionID = S(ui_->cmbFunction->Key());
    item.CatagoryID = S(ui_->cmbCatagory->Key());
    const QStringList department = ui_->cmbDepartment->Key().split(',');
    if (CItemStock* stock = item.StockItem()) {
        item.DepartmentId = S(department.value(0));
        stock->ReportDepartmentId = S(department.value(1));
        stock->ReportSubDepartmentId = S(department.value(2));
        stock->Manufacturer = S(ui_->txtManufacturer->text().trimmed());
        stock->VendorId = S(ui_->txtVendor->text().trimmed().toUpper());
        if (!stock->VendorId.empty()) {
            QString name;
            std::int32_t address = 0;
            itemMaint_->GetVendorInfo(Q(stock->VendorId), name, address);
            stock->VendorName = S(name);
        }
        stock->Model = S(ui_->cmbModel->Key());
        stock->StockTypeId = S(ui_->cmbStockType->Key());
        stock->LocationId = S(ui_->cmbLocation->Key());
    } else if (CItemRent* rent = item.RentItem()) {
        item.DepartmentId = S(department.value(0));
        rent->ReportDepartmentId = S(department.value(1));
        rent->ReportSubDepartmentId = S(department.value(2));
        rent->IsAPackage = ui_->optRentalPackages->isChecked();
    }
}

void Item::mnuProperties_Click() {
    const int row = SingleRow(
        "Select Row", "Please select a row before selecting the Properties feature",
        "Single Row Select", "Please select only one row before selecting the Properties feature.");
    if (row == 0) {
        return;
    }
    FlexGrid& grid = *ui_->fgItems;
    const std::int32_t number = grid.RowData(row).toInt();
    const QString type = grid.TextMatrix(row, kTypeCol);
    bool saved = false;
    if (type == "PACKAGE") {
        CPackage package;
        saved = package.OpenPackage(Db(), Errors(), number) && package.OpenItems(Db(), Errors()) &&
                EditPackage(package);
    } else {
        CItem item;
        saved = item.OpenItem(Db(), Errors(), number) && EditItem(item);
    }
    if (saved) {
        ShowRecord(number, type);
    }
}

// The one selected row for a single-row command; 0 after the command's
// message when none or several are selected.
int Item::SingleRow(const char* noneTitle, const char* none, const char* severalTitle,
                    const char* several) {
    const QList<int> rows = ui_->fgItems->SelectedRows();
    if (rows.isEmpty()) {
        MsgBox(none, kInformation, noneTitle);
        return 0;
    }
    if (rows.size() > 1) {
        MsgBox(several, kInformation, severalTitle);
        return 0;
    }
    return Db() && itemMaint_ ? rows.front() : 0;
}

void Item::mnuPricing_Click() {
    const int row = SingleRow(
        "Select Row", "Please select a row before selecting the Pricing feature.",
        "Single Row Select", "Please select only one row before selecting the Pricing feature.");
    if (row == 0) {
        return;
    }
    FlexGrid& grid = *ui_->fgItems;
    const std::int32_t number = grid.RowData(row).toInt();
    const QString type = grid.TextMatrix(row, kTypeCol);
    CItem item;
    if (type == "STOCK" || type == "RENTAL") {
        if (item.OpenItem(Db(), Errors(), number)) {
            itemMaint_->StockLocationPricing(item);
        }
        return;
    }
    CPackage package;
    frmPricing pricing(this);
    if (type == "PACKAGE") {
        if (!package.OpenPackage(Db(), Errors(), number) || !package.OpenItems(Db(), Errors()) ||
            !pricing.Setup(itemMaint_, nullptr, &package)) {
            return;
        }
    } else if (!item.OpenItem(Db(), Errors(), number) ||
               !pricing.Setup(itemMaint_, &item, nullptr)) {
        return;
    }
    ui::RunModal(pricing);
}

void Item::mnuHistory_Click() {
    const int row = SingleRow(
        "Row Selection Required", "Please select a row before selecting the History feature",
        "Sinlge Row Selection", "Please select only one row before selecting the History feature");
    if (row > 0 && ui_->fgItems->TextMatrix(row, kTypeCol) == "STOCK") {
        itemMaint_->ShowStockHistory(this, ui_->fgItems->RowData(row).toInt(),
                                     ui_->cmbLocation->Key());
    }
}

void Item::mnuLocation_Click() {
    const int row = SingleRow(
        "Select Row", "Please select a row before selecting the Location feature.",
        "Single Row Select", "Please select only one row before selecting the Location feature");
    if (row > 0 && ui_->fgItems->TextMatrix(row, kTypeCol) == "STOCK") {
        itemMaint_->StockLocation(this, ui_->fgItems->RowData(row).toInt(),
                                  ui_->cmbLocation->Key());
    }
}

// The prices of every item the search found, packages aside.
void Item::mnuBulkPriceChange_Click() {
    if (!itemMaint_) {
        return;
    }
    std::vector<std::int32_t> items;
    for (int row = 1; row < ui_->fgItems->Rows(); ++row) {
        if (ui_->fgItems->TextMatrix(row, kTypeCol) != "PACKAGE") {
            items.push_back(ui_->fgItems->RowData(row).toInt());
        }
    }
    itemMaint_->BulkPriceChange(this, items);
}

void Item::mnuPrintLabels_Click() {
    std::vector<StockLabelEntry> labels;
    for (int row : ui_->fgItems->SelectedRows()) {
        const QString type = ui_->fgItems->TextMatrix(row, kTypeCol);
        if (type == "STOCK" || type == "RENTAL") {
            labels.push_back({ui_->fgItems->RowData(row).toInt(), {}});
        }
    }
    if (!labels.empty() && itemMaint_ != nullptr) {
        itemMaint_->PrintStockLabels(labels);
    }
}

// The editor of the item's type; True when the item was saved.
bool Item::EditItem(CItem& item) {
    if (item.ItemType() == "STOCK" || item.ItemType() == "RENTAL") {
        frmStock editor(this);
        editor.Setup(itemMaint_, item);
        ui::RunModal(editor);
        return editor.Saved();
    }
    frmItem editor(this);
    editor.Setup(itemMaint_, item);
    ui::RunModal(editor);
    return editor.Saved();
}

bool Item::EditPackage(CPackage& package) {
    frmEditPackage editor(this);
    editor.Setup(itemMaint_, package);
    ui::RunModal(editor);
    return editor.Saved();
}

void Item::mnuCreateLike_Click() {
    const int selected = SingleRow(
        "Row Selection Required",
        "Please select an item row before proceeding with the Create Like feature.",
        "Select Single Row", "Please only select item row before using the Create Like feature.");
    if (selected == 0) {
        return;
    }
    FlexGrid& grid = *ui_->fgItems;
    CItem item;
    if (!item.OpenItem(Db(), Errors(), grid.RowData(selected).toInt())) {
        return;
    }
    const std::int32_t copy = item.CreateCopy(Db(), Errors());
    if (copy == 0) {
        return;
    }
    const int row = ShowRecord(copy, grid.TextMatrix(selected, kTypeCol));
    if (row > 0) {
        grid.SelectRow(selected, false);
        grid.SetCurrentCell(row, kDescriptionCol);
        grid.SelectRow(row);
    }
}

// Each item the matrix creates is shown as a row of the current tab.
void Item::mnuStockMatrix_Click() {
    std::vector<std::int32_t> created;
    if (Db() == nullptr || itemMaint_ == nullptr || !itemMaint_->StockMatrix(this, 0, &created)) {
        return;
    }
    for (const std::int32_t itemNo : created) {
        ShowRecord(itemNo, "STOCK");
    }
}

// The usual input events of the control, raised from its result grid.
bool Item::eventFilter(QObject* watched, QEvent* event) {
    auto shiftOf = [](Qt::KeyboardModifiers modifiers) {
        return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
               (modifiers & Qt::AltModifier ? 4 : 0);
    };
    auto buttonOf = [](Qt::MouseButtons buttons) {
        return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
               (buttons & Qt::MiddleButton ? 4 : 0);
    };
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            emit KeyDown(key->key(), shiftOf(key->modifiers()));
            if (!key->text().isEmpty()) {
                emit KeyPress(key->text().front().unicode());
            }
            break;
        }
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            emit KeyUp(key->key(), shiftOf(key->modifiers()));
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease: {
            if (watched != ui_->fgItems->viewport()) {
                break;
            }
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const int button = buttonOf(event->type() == QEvent::MouseButtonRelease
                                            ? Qt::MouseButtons(mouse->button())
                                            : mouse->buttons());
            const QPoint at = mouse->position().toPoint();
            const int shift = shiftOf(mouse->modifiers());
            if (event->type() == QEvent::MouseButtonPress) {
                emit MouseDown(button, shift, at.x(), at.y());
            } else if (event->type() == QEvent::MouseMove) {
                emit MouseMove(button, shift, at.x(), at.y());
            } else {
                emit MouseUp(button, shift, at.x(), at.y());
            }
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vym
