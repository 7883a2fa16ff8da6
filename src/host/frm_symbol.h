#pragma once

#include <QDialog>
#include <memory>
#include <optional>

namespace Ui {
class frmSymbol;
}

namespace vym {

// The symbol chooser for item tree icons: the symbol font's characters 33 to
// 255, ten to a row.
class frmSymbol : public QDialog {
    Q_OBJECT

  public:
    explicit frmSymbol(QWidget* parent = nullptr);
    ~frmSymbol() override;

    // The code of the character chosen with "&Ok"; nothing when the dialog was
    // cancelled or the chosen cell is empty.
    std::optional<int> SymbolCode() const { return code_; }
    bool UserCancelled() const { return cancelled_; }

    void reject() override;

  private:
    void fgSymbols_RowColChange(int row, int col);
    void cmdOk_Click();

    std::unique_ptr<Ui::frmSymbol> ui_;
    std::optional<int> code_;
    bool cancelled_ = true;
};

}  // namespace vym
