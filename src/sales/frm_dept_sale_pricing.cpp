#include "sales/frm_dept_sale_pricing.h"

#include <QPushButton>
#include <map>
#include <vector>

#include "base/prompter.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/transaction.h"
#include "host/screen_context.h"
#include "model/csale.h"
#include "sales/sale_price_rules.h"
#include "sales/sale_pricing_header.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui/show_refusal.h"
#include "ui_frm_dept_sale_pricing.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::Q;
using ui::S;

namespace {

// A combo-list entry; "|" and ";" would end the entry early.
QString ListEntry(const QString& key, QString text) {
    return "|#" + key + ";" + text.replace('|', '/').replace(';', ',');
}

}  // namespace

frmDeptSalePricing::frmDeptSalePricing(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmDeptSalePricing>()) {
    ui_->setupUi(this);
    header_ = std::make_unique<SalePricingHeader>(
        SalePricingHeader::Widgets{ui_->lblSale, ui_->cmbLocation, ui_->dtpStart, ui_->dtpEnd,
                                   ui_->txtPercent, ui_->txtFlat, nullptr});

    FlexGrid& grid = *ui_->fgDept;
    grid.SetFormatString(
        "SeqNo|Changed|Model|Vendor|Department|Rpt Dept|Rpt Sub Dept|>Percentage|>Discount|"
        "VendorId");
    const char* keys[] = {"SeqNo",
                          "Changed",
                          "Model_Id",
                          "Vendor",
                          "Department",
                          "report_department_id",
                          "report_sub_department_id",
                          "Percentage",
                          "Discount",
                          "VendorId"};
    for (int col = kSeqNo; col <= kVendorId; ++col) {
        grid.SetColumnKey(col, keys[col]);
        grid.SetColumnEditable(col, col != kSeqNo && col != kChanged && col != kVendorId);
    }
    grid.SetColumnHidden(kSeqNo, true);
    grid.SetColumnHidden(kChanged, true);
    grid.SetColumnHidden(kVendorId, true);
    grid.SetColumnKind(kVendor, FlexGrid::ColumnKind::Button);
    grid.SetSelectionMode(FlexGrid::SelectionMode::MultiRow);
    grid.SetEditable(true);

    connect(&grid, &FlexGrid::BeforeEdit, this, &frmDeptSalePricing::fgDept_BeforeEdit);
    connect(&grid, &FlexGrid::ValidateEdit, this, &frmDeptSalePricing::fgDept_ValidateEdit);
    connect(&grid, &FlexGrid::AfterEdit, this,
            [&grid](int row, int) { grid.SetTextMatrix(row, kChanged, "True"); });
    connect(&grid, &FlexGrid::CellButtonClick, this, &frmDeptSalePricing::fgDept_CellButtonClick);
    connect(&grid, &FlexGrid::DeleteKeyPressed, this, &frmDeptSalePricing::DeleteRows);
    connect(ui_->cmdApplyPercent, &QPushButton::clicked, this, [this] {
        ApplyToSelected([this](FlexGrid& g, int row) {
            g.SetTextMatrix(row, kPercentage, AmountText(header_->Percent(), true));
        });
    });
    connect(ui_->cmdApplyFlat, &QPushButton::clicked, this, [this] {
        ApplyToSelected([this](FlexGrid& g, int row) {
            g.SetTextMatrix(row, kDiscount, AmountText(header_->Flat(), true));
        });
    });
    connect(ui_->cmdAdd, &QPushButton::clicked, this, &frmDeptSalePricing::cmdAdd_Click);
    connect(ui_->cmdDelete, &QPushButton::clicked, this, &frmDeptSalePricing::DeleteRows);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmDeptSalePricing::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmDeptSalePricing::~frmDeptSalePricing() = default;

void frmDeptSalePricing::Setup(ScreenContext* itemMaint, CSale* sale) {
    if (!screen_.Open(itemMaint, sale, *header_, trap_)) {
        return;
    }
    LoadLists();
    LoadLines();
}

QString frmDeptSalePricing::ListOf(const char* procedure, const char* key, const QString& first,
                                   ProcedureArguments arguments) {
    QString list = ListEntry(QString(), first);
    trap_.Run(screen_.errors, "LoadLists", &screen_.db->Native(), [&] {
        auto command = NewProcedure(*screen_.db, procedure, arguments);
        auto rows = screen_.db->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            list += ListEntry(FieldText(*rows, key), FieldText(*rows, "Description"));
        }
    });
    return list.mid(1);
}

void frmDeptSalePricing::LoadLists() {
    FlexGrid& grid = *ui_->fgDept;
    grid.SetColumnComboList(kModel, ListOf("VYM_SP_ITEM_GetItemStockModel", "model_id", "<Any>",
                                           {{"@stock_type_id", "RETAIL"}, {"@is_active", true}}));
    grid.SetColumnComboList(kDepartment, ListOf("VYM_SP_ITEM_DEPARTMENT_get", "department_id",
                                                QString(), {{"@department_type_id", "RETAIL"}}));
}

void frmDeptSalePricing::LoadLines() {
    FlexGrid& grid = *ui_->fgDept;
    grid.Clear();
    if (!screen_.sale->OpenSaleDepts(screen_.db, screen_.errors)) {
        return;
    }
    for (const auto& [seqNo, line] : screen_.sale->SaleDepts()) {
        grid.AddItem(QString());
        const int row = grid.Rows() - 1;
        const QString cells[] = {QString::number(seqNo),
                                 "False",
                                 Q(line.ModelId),
                                 Q(line.VendorName),
                                 Q(line.DepartmentId),
                                 Q(line.ReportDepartmentId),
                                 Q(line.ReportSubDepartmentId),
                                 AmountText(sale_price::PercentOf(line.SaleFixedPercentage), true),
                                 AmountText(line.SaleFixedAmount, true),
                                 Q(line.VendorId)};
        for (int col = kSeqNo; col <= kVendorId; ++col) {
            grid.SetTextMatrix(row, col, cells[col]);
        }
    }
    grid.AutoSizeColumns();
}

template <class Set>
void frmDeptSalePricing::ApplyToSelected(Set set) {
    if (screen_.sale == nullptr || !header_->ReadInto(*screen_.sale, *this)) {
        return;
    }
    FlexGrid& grid = *ui_->fgDept;
    for (const int row : grid.SelectedRows()) {
        set(grid, row);
        grid.SetTextMatrix(row, kChanged, "True");
    }
}

void frmDeptSalePricing::cmdAdd_Click() {
    FlexGrid& grid = *ui_->fgDept;
    grid.AddItem(QString());
    const int row = grid.Rows() - 1;
    grid.SetTextMatrix(row, kChanged, "True");
    grid.SetCurrentCell(row, kDepartment);
}

void frmDeptSalePricing::DeleteRows() {
    FlexGrid& grid = *ui_->fgDept;
    const QList<int> rows = grid.SelectedRows();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        const auto seqNo = static_cast<std::int16_t>(grid.TextMatrix(*row, kSeqNo).toInt());
        if (auto line = screen_.sale->SaleDepts().find(seqNo);
            line != screen_.sale->SaleDepts().end()) {
            line->second.DeleteRecord = true;
        }
        grid.RemoveItem(*row);
    }
}

// The report lists follow the row's department and report department.
void frmDeptSalePricing::fgDept_BeforeEdit(int row, int col, bool&) {
    FlexGrid& grid = *ui_->fgDept;
    if (col == kRptDept) {
        grid.SetColumnComboList(
            kRptDept, ListOf("VYM_SP_ITEM_GetItemStockRptDept", "report_department_id", QString(),
                             {{"@department_id", S(grid.TextMatrix(row, kDepartment))}}));
    } else if (col == kRptSubDept) {
        grid.SetColumnComboList(
            kRptSubDept,
            ListOf("VYM_SP_ITEM_GetItemStockSubRptDept", "report_sub_department_id", QString(),
                   {{"@report_department_id", S(grid.TextMatrix(row, kRptDept))}}));
    }
}

void frmDeptSalePricing::fgDept_ValidateEdit(int row, int col, const QString& text, bool& cancel) {
    if (col != kPercentage && col != kDiscount) {
        return;
    }
    FlexGrid& grid = *ui_->fgDept;
    const std::string typed = S(text);
    const std::string percent = col == kPercentage ? typed : std::string();
    const std::string discount = col == kDiscount ? typed : std::string();
    if (const Verdict refusal =
            sale_price::CheckDeptLine(row, percent, discount, "fgDept", kPercentage, kDiscount)) {
        MsgBox(refusal->message, refusal->style, refusal->title);
        cancel = true;
        return;
    }
    // One discount per line: the other one goes.
    if (AmountOf(text) != Currency{}) {
        grid.SetTextMatrix(row, col == kPercentage ? kDiscount : kPercentage, QString());
    }
}

void frmDeptSalePricing::fgDept_CellButtonClick(int row, int col) {
    FlexGrid& grid = *ui_->fgDept;
    if (col != kVendor || screen_.context == nullptr) {
        return;
    }
    QString name;
    const QString id =
        screen_.context->SelectVendor(this, grid.TextMatrix(row, kVendorId), &name, nullptr);
    if (id.isEmpty()) {
        return;
    }
    grid.SetTextMatrix(row, kVendor, name);
    grid.SetTextMatrix(row, kVendorId, id);
    grid.SetTextMatrix(row, kChanged, "True");
}

bool frmDeptSalePricing::SaveRow(int row) {
    FlexGrid& grid = *ui_->fgDept;
    const auto seqNo = static_cast<std::int16_t>(grid.TextMatrix(row, kSeqNo).toInt());
    auto found = screen_.sale->SaleDepts().find(seqNo);
    CSaleDept* line = found != screen_.sale->SaleDepts().end() ? &found->second : nullptr;
    if (seqNo == 0) {
        line = &screen_.sale->AddSaleDept();
        grid.SetTextMatrix(row, kSeqNo, QString::number(line->SeqNo));
    }
    if (line == nullptr) {
        MsgBox("Error updating the sale dept.", kInformation, "Update Failed");
        return false;
    }
    line->ModelId = S(grid.TextMatrix(row, kModel));
    line->VendorName = S(grid.TextMatrix(row, kVendor));
    line->VendorId = S(grid.TextMatrix(row, kVendorId));
    line->DepartmentId = S(grid.TextMatrix(row, kDepartment));
    line->ReportDepartmentId = S(grid.TextMatrix(row, kRptDept));
    line->ReportSubDepartmentId = S(grid.TextMatrix(row, kRptSubDept));
    line->SaleFixedAmount = AmountOf(grid.TextMatrix(row, kDiscount));
    line->SaleFixedPercentage = sale_price::FractionOf(AmountOf(grid.TextMatrix(row, kPercentage)));
    line->DataChanged = true;
    if (line->Update(screen_.db, screen_.errors)) {
        return true;
    }
    conflict_.Refused(line->RowConflict());
    return false;
}

// All or nothing: when a step fails the transaction is rolled back and the
// deleted lines go back into the sale, with the sale and every line at the
// version read, so that Ok may be pressed again.
bool frmDeptSalePricing::SaveData() {
    FlexGrid& grid = *ui_->fgDept;
    for (int row = 1; row < grid.Rows(); ++row) {
        if (const Verdict refusal = sale_price::CheckDeptLine(
                row, S(grid.TextMatrix(row, kPercentage)), S(grid.TextMatrix(row, kDiscount)),
                "fgDept", kPercentage, kDiscount)) {
            grid.SetCurrentCell(row, refusal->column);
            return ui::ShowRefusal(*refusal, *this);
        }
    }
    std::vector<CSaleDept> deleted;
    std::map<std::int16_t, std::int32_t> versions;
    for (const auto& [seqNo, line] : screen_.sale->SaleDepts()) {
        if (line.DeleteRecord) {
            deleted.push_back(line);
        }
        versions.emplace(seqNo, line.RowVersion);
    }
    const std::int32_t version = screen_.sale->RowVersion;
    bool saved = false;
    trap_.Run(screen_.errors, "SaveData", &screen_.db->Native(), [&] {
        Transaction transaction(*screen_.db);
        if (!screen_.sale->Update(screen_.db, screen_.errors)) {
            return;
        }
        for (const CSaleDept& copy : deleted) {
            CSaleDept& line = screen_.sale->SaleDepts().at(copy.SeqNo);
            line.Update(screen_.db, screen_.errors);
            if (screen_.sale->SaleDepts().contains(copy.SeqNo)) {
                conflict_.Refused(line.RowConflict());
                return;  // the delete was refused
            }
        }
        for (int row = 1; row < grid.Rows(); ++row) {
            if (grid.TextMatrix(row, kChanged) == "True" && !SaveRow(row)) {
                return;
            }
        }
        transaction.Commit();
        saved = true;
    });
    if (!saved) {
        for (const CSaleDept& copy : deleted) {
            screen_.sale->SaleDepts().insert_or_assign(copy.SeqNo, copy);
        }
        for (auto& [seqNo, line] : screen_.sale->SaleDepts()) {
            line.RowVersion = versions.contains(seqNo) ? versions.at(seqNo) : 0;
        }
        if (screen_.ReloadAfterConflict(version, conflict_)) {
            Setup(screen_.context, screen_.sale);
        }
    }
    return saved;
}

void frmDeptSalePricing::cmdOk_Click() {
    if (screen_.db == nullptr || screen_.sale == nullptr ||
        !header_->ReadInto(*screen_.sale, *this) || !SaveData()) {
        return;
    }
    userCanceled_ = false;
    accept();
}

}  // namespace vym
