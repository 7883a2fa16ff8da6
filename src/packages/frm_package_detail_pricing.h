#pragma once

#include <QDialog>
#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "gateway/error_trap.h"
#include "host/package_price_request.h"

namespace Ui {
class frmPackageDetailPricing;
}

namespace vym {

class Connection;
class ErrorObject;
class Recordset;
class ScreenContext;
struct PackagePriceLine;

// The package detail pricing: one package price (a season, a discount and a
// unit of the package) made of a price for each line of the package. The
// lines sum to the package price, which is checked against what the register
// will charge once each line is rounded to cents. Ok saves the package price
// and every line price together, or nothing.
class frmPackageDetailPricing : public QDialog {
    Q_OBJECT

  public:
    explicit frmPackageDetailPricing(QWidget* parent = nullptr);
    ~frmPackageDetailPricing() override;

    // Prepares the dialog for the package price; the package is not owned and
    // outlives the window. False when it could not be prepared (reported).
    bool Setup(ScreenContext* itemMaint, const PackagePriceRequest& request);

    // Once accepted: the saved package price, or a deleted one.
    const PackagePriceResult& Result() const { return result_; }

  private:
    struct Unit {
        QString qty;
        QString acctUnits;
        QString printQty;
    };
    bool LoadRules();
    bool LoadItems();
    void AppendLine(Recordset& rows);
    // The units of a function as a drop-down list, read once.
    QString GetUnitList(const QString& functionId);
    void ComputeTotal();
    PackagePriceLine LineOf(int row) const;
    void fgGrid_BeforeEdit(int row, int col, bool& cancel);
    void fgGrid_ValidateEdit(int row, int col, const QString& text, bool& cancel);
    void fgGrid_AfterEdit(int row, int col);
    // The checks and questions of Ok; False when the user stays.
    bool ValidatePrices();
    bool ConfirmLine(int row);
    bool ConfirmAccessRule(int row);
    bool ConfirmRounding();
    // The package price and every line price in one transaction.
    bool SavePrices();
    std::optional<std::int32_t> UpdatePackagePrice();
    std::optional<std::pair<std::int32_t, QString>> UpdatePrice(int row,
                                                                std::int32_t packagePriceNo);
    void ToggleDetails();
    void cmdOk_Click();
    void cmdDelete_Click();

    std::unique_ptr<Ui::frmPackageDetailPricing> ui_;
    ErrorTrap trap_{"frmPackageDetailPricing"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    PackagePriceRequest request_;
    PackagePriceResult result_;
    QHash<QString, QString> unitLists_;           // by function
    QHash<QString, QHash<QString, Unit>> units_;  // by function, then unit id
};

}  // namespace vym
