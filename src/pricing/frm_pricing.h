#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "gateway/error_trap.h"
#include "host/row_conflict.h"

namespace Ui {
class frmPricing;
}

namespace vym {

class CItem;
class ScreenContext;
class CPackage;
class Connection;
class ErrorObject;
class frmAddPrice;

// The item price list ("Item Pricing"): every active price of one item, or of
// one package, by extension item, season, discount and unit, in one grid.
// Nothing is written until Ok saves every changed row together.
class frmPricing : public QDialog {
    Q_OBJECT

  public:
    explicit frmPricing(QWidget* parent = nullptr);
    ~frmPricing() override;

    // Prepares the screen for the item, or for the package in package mode
    // (oPackage not null); both not owned and outliving the window. Connection
    // and error object come from itemMaint (not owned). False when it could not
    // be prepared (reported); the caller then does not show it.
    bool Setup(ScreenContext* itemMaint, CItem* oItem, CPackage* oPackage = nullptr);

  private:
    // False after an error (reported).
    bool LoadPrices();
    bool LoadRules();
    void ApplyTabFilter();
    void ToggleDetail();
    void AddPrice();
    void AppendPrice(const frmAddPrice& dialog, bool extension);
    void DeleteRow();
    // `version`: the version of the price read (0 for none).
    bool DeletePrice(std::int32_t priceNo, std::int32_t version);
    // Validation on Ok: False at the first refusal.
    bool ValidatePrices();
    // Selects a row, bringing up its tab when it is on the other one.
    void ShowRow(int row);
    // Deletes, then saves the changed rows, all or nothing; the grid takes the
    // results only once everything is saved. When another station saved or
    // deleted one of the prices since they were loaded, the user may reload
    // the prices; otherwise the rows keep what the user typed.
    bool UpdatePrices();
    struct SavedPrice {
        std::int32_t priceNo = 0;
        std::int32_t version = 0;
    };
    // The row's price number and version after a save; nullopt after a refusal.
    std::optional<SavedPrice> UpdatePrice(int row);
    // Package mode: the package detail pricing of the row's package price.
    void fgPrices_CellButtonClick(int row, int col);
    void fgPrices_BeforeEdit(int row, int col, bool& cancel);
    void fgPrices_ValidateEdit(int row, int col, const QString& text, bool& cancel);
    void fgPrices_AfterEdit(int row, int col);
    void cmdOk_Click();

    std::unique_ptr<Ui::frmPricing> ui_;
    ErrorTrap trap_{"frmPricing"};
    ScreenContext* itemMaint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    CItem* item_ = nullptr;
    CPackage* package_ = nullptr;
    bool packageMode_ = false;
    bool accessRules_ = false;  // the item prompts for an access number
    // The text an edited price cell takes once the edit is committed.
    std::optional<QString> editedText_;
    RowConflict conflict_;
};

}  // namespace vym
