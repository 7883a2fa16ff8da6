#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <memory>
#include <vector>

namespace Ui {
class frmPickList;
}

namespace vym {

class Recordset;

// The generic pick list: the caller fills it from an open recordset, shows it
// modally and reads the chosen row back by column.
class frmPickList : public QDialog {
    Q_OBJECT

  public:
    // One purchase-order line, indexed by POLineVariant.
    using POLine = std::array<QString, 6>;

    explicit frmPickList(QWidget* parent = nullptr);
    ~frmPickList() override;

    void SetFormCaption(const QString& caption);

    // One column per field, keyed by the field name and headed by it in proper
    // case with "_" as blanks; one row per record. The recordset stays the
    // caller's and is read to its end.
    void FillRecordset(Recordset& recordset);
    // Purchase-order-line mode: the fields line_no, qty_ord, qty_received,
    // item_no, stock_id and ItemDesc; several rows may be selected.
    void FillRecordsetPOLines(Recordset& recordset);

    // Hides the column keyed by the field name (without regard to case).
    void HideColumn(const QString& name);

    // The current row's text in a column given by index or by key (field name,
    // without regard to case); "" when no row is current. Throws
    // vym::Error(kItemNotFound) for a column the list does not have.
    QString ColumnText(int column) const;
    QString ColumnText(const QString& key) const;

    // The selected purchase-order lines, top to bottom.
    std::vector<POLine> SelectedLines() const;

    // True unless "&Ok" closed the dialog.
    bool UserCancelled() const { return cancelled_; }

    void reject() override;

  private:
    void cmdOk_Click();
    void StartFill(bool multiSelect);

    std::unique_ptr<Ui::frmPickList> ui_;
    bool cancelled_ = true;
};

}  // namespace vym
