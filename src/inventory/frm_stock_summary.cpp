#include "inventory/frm_stock_summary.h"

#include <QMenu>
#include <QTreeWidgetItem>
#include <optional>

#include "base/date.h"
#include "base/format.h"
#include "base/prompter.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "host/screen_context.h"
#include "ui/key_tree.h"
#include "ui/qt_text.h"
#include "ui_frm_stock_summary.h"

namespace vym {
namespace {

QString YearKey(int year) {
    return QString("Y%1").arg(year);
}

QString MonthKey(int year, int month) {
    return QString("Y%1M%2").arg(year).arg(month);
}

// A whole number from first to last typed into an input box; nullopt after
// telling the user, or when the user gave no answer (silently).
std::optional<int> AskNumber(const char* prompt, const char* title, int defaultValue, int first,
                             int last, const char* outOfRange) {
    const auto answer = InputBox(prompt, title, std::to_string(defaultValue));
    const QString text = answer ? QString::fromStdString(*answer).trimmed() : QString();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    bool number = false;
    const int value = text.toInt(&number);
    if (!number || value < first || value > last) {
        MsgBox(outOfRange, kInformation, title);
        return std::nullopt;
    }
    return value;
}

}  // namespace

frmStockSummary::frmStockSummary(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmStockSummary>()) {
    ui_->setupUi(this);
    ui_->tvwSummary->setHeaderLabel("Year / Month (#Transactions)");
    ui_->tvwSummary->setHeaderHidden(false);

    mnuTable_ = new QMenu("&Table", this);
    mnuTable_->setObjectName("mnuTable");
    QAction* mnuAddYearMonth = mnuTable_->addAction("&Add Year\\Month...");
    mnuAddYearMonth->setObjectName("mnuAddYearMonth");
    QAction* mnuPost = mnuTable_->addAction("&Post");
    mnuPost->setObjectName("mnuPost");
    connect(mnuAddYearMonth, &QAction::triggered, this, &frmStockSummary::mnuAddYearMonth_Click);
    connect(mnuPost, &QAction::triggered, this, &frmStockSummary::mnuPost_Click);

    connect(ui_->tvwSummary, &QWidget::customContextMenuRequested, this,
            &frmStockSummary::tvwSummary_ContextMenu);
    connect(ui_->tvwSummary, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* node) {
        ui_->tvwSummary->setCurrentItem(node);
        mnuPost_Click();
    });
}

frmStockSummary::~frmStockSummary() = default;

void frmStockSummary::Setup(ScreenContext* itemMaint) {
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    FillBranches();
}

void frmStockSummary::FillBranches() {
    ui::KeyTree& tree = *ui_->tvwSummary;
    tree.ClearNodes();
    if (db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "FillBranches", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetItemStockSummary");
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const vym::Value year = rows->Fields("s_year").Value();
            const vym::Value month = rows->Fields("s_month").Value();
            const int y = NullToZero(year).ToLong();
            const int m = NullToZero(month).ToLong();
            if (tree.Node(YearKey(y)) == nullptr) {
                tree.AddNode({}, YearKey(y), QString::fromStdString(Format(year, "0000")), {}, y);
            }
            tree.AddNode(YearKey(y), MonthKey(y, m),
                         QString::fromStdString(Format(month, "00")) + " (" +
                             ui::FieldText(*rows, "trans") + ")",
                         {}, m);
        }
    });
    tree.expandAll();
    if (tree.topLevelItemCount() == 0) {
        MsgBox("There are no batch scans to display", kInformation, "Batch Scans");
    }
}

// The menu acts on the node under the mouse.
void frmStockSummary::tvwSummary_ContextMenu(const QPoint& position) {
    QTreeWidgetItem* node = ui_->tvwSummary->itemAt(position);
    if (node != nullptr) {
        ui_->tvwSummary->setCurrentItem(node);
    }
    mnuTable_->popup(ui_->tvwSummary->viewport()->mapToGlobal(position));
}

void frmStockSummary::mnuAddYearMonth_Click() {
    const vym::Date today = vym::Date::Today();
    const auto year = AskNumber("Enter Year to Post", "Post Year", today.Year(), 1900, 9999,
                                "The year to post must be from 1900 to 9999.");
    if (!year) {
        return;
    }
    const auto month = AskNumber("Enter Month to Post", "Post Month", today.Month(), 1, 12,
                                 "The month to post must be from 1 to 12.");
    if (month) {
        PostStockSummary(*year, *month);
    }
}

void frmStockSummary::mnuPost_Click() {
    const ui::KeyTree& tree = *ui_->tvwSummary;
    const QTreeWidgetItem* node = tree.currentItem();
    if (node == nullptr || node->parent() == nullptr) {
        MsgBox("You must select a Month node to Post", kInformation, "Error Posting");
        return;
    }
    PostStockSummary(tree.Tag(tree.KeyOf(node->parent())).toInt(),
                     tree.Tag(tree.KeyOf(node)).toInt());
}

bool frmStockSummary::PostStockSummary(int year, int month) {
    const auto email = InputBox(
        "Please provide an email address.  This address will be used to send notification of "
        "process completion or error.",
        "Email Address Required");
    const QString address = email ? QString::fromStdString(*email).trimmed() : QString();
    if (address.isEmpty() || db_ == nullptr) {
        return false;
    }
    bool posted = false;
    trap_.Run(errors_, "PostStockSummary", &db_->Native(), [&] {
        auto command =
            NewProcedure(*db_, "VYM_SP_INV_STOCK_SUMMARY_JOB",
                         {{"@year", year}, {"@month", month}, {"@email", address.toStdString()}});
        if (!db_->Execute(*command)) {
            return;
        }
        if (NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong() != 0) {
            MsgBox(NullToEmpty(command->Parameters["@message"].Value), kInformation,
                   "Error Posting");
            return;
        }
        posted = true;
        MsgBox(
            "Stock Summary scheduled for posting.  You will will receive an email when the "
            "posting is complete.",
            kInformation);
    });
    return posted;
}

}  // namespace vym
