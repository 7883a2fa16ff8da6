// The grid's way out to other programs: the clipboard and CSV files.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSaveFile>
#include <map>
#include <set>

#include "base/csv.h"
#include "base/prompter.h"
#include "ui/flex_grid.h"
#include "ui/flex_grid_model.h"
#include "ui/qt_text.h"

namespace vym::ui {
namespace {

// Written in pieces of about this size, so a long grid never sits in memory twice.
constexpr std::size_t kWriteChunk = 1 << 20;

// A cell a spreadsheet would split (a tab, a line break or a leading quote) is
// quoted as spreadsheets quote it when they copy.
QString PasteCell(const QString& text) {
    if (!text.contains('\t') && !text.contains('\n') && !text.contains('\r') &&
        !text.startsWith('"')) {
        return text;
    }
    QString quoted = text;
    quoted.replace("\"", "\"\"");
    return '"' + quoted + '"';
}

}  // namespace

void FlexGrid::SetContextMenu(QMenu* menu) {
    screenMenu_ = menu;
}

void FlexGrid::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    if (screenMenu_ != nullptr && !screenMenu_->actions().isEmpty()) {
        menu.addActions(screenMenu_->actions());
        menu.addSeparator();
    }
    QAction* copy = menu.addAction("Copy");
    copy->setObjectName("mnuGridCopy");
    copy->setShortcut(QKeySequence::Copy);
    connect(copy, &QAction::triggered, this, [this] { CopySelection(); });
    QAction* exportCsv = menu.addAction("Export to CSV...");
    exportCsv->setObjectName("mnuGridExportCsv");
    connect(exportCsv, &QAction::triggered, this, [this] { AskExportCsv(); });
    menu.exec(event->globalPos());
    event->accept();
}

QString FlexGrid::ExportText(int row, int col) const {
    if (row > 0 && ColumnKindOf(col) == ColumnKind::CheckBox) {
        return CellChecked(row, col) ? "True" : "False";
    }
    return model_->DisplayText(row, col);
}

QString FlexGrid::SelectedText() const {
    model_->Flush();
    std::map<int, std::set<int>> cells;  // row -> columns, both in order
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        cells[index.row() + 1].insert(index.column());
    }
    if (cells.empty() && Row() > 0) {
        cells[Row()].insert(Col());
    }
    QString text;
    for (const auto& [row, cols] : cells) {
        if (IsRowHidden(row)) {
            continue;
        }
        QStringList line;
        for (int col : cols) {
            if (!IsColumnHidden(col)) {
                line.append(PasteCell(ExportText(row, col)));
            }
        }
        text += line.join('\t') + '\n';
    }
    return text;
}

void FlexGrid::CopySelection() const {
    QApplication::clipboard()->setText(SelectedText());
}

std::optional<QString> FlexGrid::ExportCsv(const QString& path) const {
    model_->Flush();
    std::vector<int> shown;
    for (int col = 0; col < Cols(); ++col) {
        if (!IsColumnHidden(col)) {
            shown.push_back(col);
        }
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    std::string out = "\xEF\xBB\xBF";  // lets spreadsheets read the file as UTF-8
    std::vector<std::string> fields(shown.size());
    for (int row = 0; row < Rows(); ++row) {
        if (row > 0 && IsRowHidden(row)) {
            continue;
        }
        for (std::size_t i = 0; i < shown.size(); ++i) {
            fields[i] = S(ExportText(row, shown[i]));
        }
        csv::AppendRecord(out, fields);
        if (out.size() >= kWriteChunk) {
            if (file.write(out.data(), static_cast<qint64>(out.size())) < 0) {
                return file.errorString();
            }
            out.clear();
        }
    }
    if (file.write(out.data(), static_cast<qint64>(out.size())) < 0 || !file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

void FlexGrid::AskExportCsv() {
    const auto path = CurrentPrompter().SaveFile("Export to CSV",
                                                 "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*", "");
    if (!path) {
        return;
    }
    if (const auto failure = ExportCsv(Q(*path))) {
        MsgBox("The grid could not be exported to " + *path + ":\r\n" + S(*failure), kExclamation);
    }
}

}  // namespace vym::ui
