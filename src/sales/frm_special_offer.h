#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"
#include "host/row_conflict.h"

namespace Ui {
class frmSpecialOffer;
}

namespace vym {

class Connection;
class ErrorObject;
class ScreenContext;

// "Special Offer Maintenance": the offers in the upper grid, edited in
// place and written by Apply or Ok, and the detail lines of the current
// offer in the lower grid, each written at once by the detail screen.
class frmSpecialOffer : public QDialog {
    Q_OBJECT

  public:
    explicit frmSpecialOffer(QWidget* parent = nullptr);
    ~frmSpecialOffer() override;

    // Loads the offers and the details of the first (itemMaint not owned).
    void Setup(ScreenContext* itemMaint);
    // Writes the new offers and those edited since they were read or saved,
    // and deletes the marked ones, all or nothing.
    // False after the message of the row at fault; the grid then still holds
    // everything as typed.
    bool SaveOffers();

  private:
    void LoadOffers();
    void LoadDetails();
    void AddOffer();
    void DeleteOffer();
    void AddDetail();
    void EditDetail();
    void DeleteDetail();
    // Opens the detail screen on the current offer's line (0 for a new one).
    void OpenDetail(std::int32_t seqNo);
    // Saves the row; offerNo and version then hold what the database gave it.
    bool UpdateOffer(int row, std::int32_t& offerNo, std::int32_t& version);
    void fgOffers_BeforeEdit(int row, int col, bool& cancel);
    void fgOffers_ValidateEdit(int row, int col, const QString& text, bool& cancel);
    void fgOffers_AfterEdit(int row, int col);
    void fgOffers_RowColChange(int row, int col);
    void cmdApply_Click();
    void cmdOk_Click();

    std::unique_ptr<Ui::frmSpecialOffer> ui_;
    ErrorTrap trap_{"frmSpecialOffer"};
    ScreenContext* itemMaint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    int detailsOf_ = 0;  // the offer row whose details are shown
    // A save refused because another station saved an offer or line since.
    RowConflict conflict_;
};

}  // namespace vym
