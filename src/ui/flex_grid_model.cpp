#include "ui/flex_grid_model.h"

#include <QBrush>
#include <algorithm>

#include "base/date.h"
#include "base/format.h"
#include "base/value.h"
#include "ui/symbol_font.h"

namespace vym::ui {

namespace {

// A copy that takes only the room of its bytes. A row built by toUtf8 or by
// appending has room to grow (toUtf8 takes three bytes a character); kept for
// every row of a large load, that room would double the grid's memory, and
// given back it would leave holes that the next rows are too large to use.
QByteArray Exact(const QByteArray& bytes) {
    return QByteArray(bytes.constData(), bytes.size());
}

// Appends a cell's text to a packed row, escaping what would end the cell.
void AppendCell(QByteArray& packed, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (!utf8.contains('\t') && !utf8.contains('\\')) {
        packed += utf8;
        return;
    }
    for (const char c : utf8) {
        if (c == '\t') {
            packed += "\\t";
        } else if (c == '\\') {
            packed += "\\\\";
        } else {
            packed += c;
        }
    }
}

// Where cell `col` of a packed row begins and ends; begin is -1 when the row
// has fewer cells.
std::pair<qsizetype, qsizetype> CellSpan(const QByteArray& packed, int col) {
    qsizetype begin = 0;
    for (int i = 0; i < col; ++i) {
        const qsizetype tab = packed.indexOf('\t', begin);
        if (tab < 0) {
            return {-1, -1};
        }
        begin = tab + 1;
    }
    const qsizetype end = packed.indexOf('\t', begin);
    return {begin, end < 0 ? packed.size() : end};
}

QString CellText(const QByteArray& packed, int col) {
    const auto [begin, end] = CellSpan(packed, col);
    if (begin < 0) {
        return {};
    }
    const char* first = packed.constData() + begin;
    const char* last = packed.constData() + end;
    if (std::find(first, last, '\\') == last) {
        return QString::fromUtf8(first, end - begin);
    }
    QByteArray text;
    for (const char* c = first; c != last; ++c) {
        if (*c == '\\' && c + 1 != last) {
            ++c;
            text += *c == 't' ? '\t' : *c;
        } else {
            text += *c;
        }
    }
    return QString::fromUtf8(text);
}

void ReplaceCell(QByteArray& packed, int col, const QString& text) {
    const auto [begin, end] = CellSpan(packed, col);
    if (begin < 0) {
        const int cells = static_cast<int>(packed.count('\t')) + 1;
        packed += QByteArray(col - cells + 1, '\t');
        AppendCell(packed, text);
        return;
    }
    QByteArray cell;
    AppendCell(cell, text);
    packed.replace(begin, end - begin, cell);
}

// Drops the cells from `count` on.
void Truncate(QByteArray& packed, int count) {
    const qsizetype begin = CellSpan(packed, count).first;
    if (begin >= 0) {
        packed.truncate(std::max<qsizetype>(begin - 1, 0));
    }
}

}  // namespace

QList<ComboEntry> ParseComboList(const QString& list) {
    QList<ComboEntry> entries;
    const QStringList parts = list.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part.startsWith(QLatin1Char('#'))) {
            const qsizetype semi = part.indexOf(QLatin1Char(';'));
            if (semi < 0) {
                entries.append({part.mid(1), part.mid(1)});
            } else {
                entries.append({part.mid(1, semi - 1), part.mid(semi + 1)});
            }
        } else {
            entries.append({part, part});
        }
    }
    return entries;
}

FlexGridModel::FlexGridModel(QObject* parent) : QAbstractTableModel(parent) {
    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(0);
    connect(&flushTimer_, &QTimer::timeout, this, &FlexGridModel::Flush);
}

FlexGridModel::~FlexGridModel() = default;

int FlexGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : announced_;
}

int FlexGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount();
}

bool FlexGridModel::IsTrueText(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    bool ok = false;
    const double n = t.toDouble(&ok);
    return ok && n != 0.0;
}

QString FlexGridModel::FormatText(const Column& column, const QString& text) const {
    if (column.format.isEmpty() || text.isEmpty()) {
        return text;
    }
    const std::string utf8 = text.toStdString();
    Value value;
    Date date;
    if (const auto number = ParseNumber(utf8)) {
        value = Value(*number);
    } else if (Date::ParseIso(utf8, date)) {
        value = Value(date);
    } else {
        value = Value(utf8);  // dates as users write them; other text shows as it stands
    }
    return QString::fromStdString(Format(value, column.format.toStdString()));
}

bool FlexGridModel::SameAsRowAbove(int row, int col) const {
    for (int above = row - 1; above >= 1; --above) {
        if (!rows_[above - 1].hidden) {
            return Text(above, col) == Text(row, col);
        }
    }
    return false;
}

QString FlexGridModel::DisplayText(int row, int col) const {
    if (row == 0) {
        return col < ColumnCount() ? columns_[col].heading : QString();
    }
    const Column& column = columns_.at(col);
    const QString text = Text(row, col);
    switch (column.kind) {
        case Kind::CheckBox:
            return QString();
        case Kind::ComboList:
            for (const ComboEntry& entry : column.combo) {
                if (entry.key == text) {
                    return entry.text;
                }
            }
            return text;
        case Kind::Text:
        case Kind::Button:
            break;
    }
    if (column.symbolFont) {
        QString shown;
        for (const QChar c : text) {
            shown += SymbolFont::DisplayText(c.unicode());
        }
        return shown;
    }
    return FormatText(column, text);
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= announced_ || index.column() >= ColumnCount()) {
        return {};
    }
    const int row = index.row() + 1;
    const int col = index.column();
    const Column& column = columns_[col];
    const Row& r = rows_[index.row()];
    const CellLook* look = FindLook(r, col);
    const RowStyle* style = StyleOf(r);
    switch (role) {
        case Qt::DisplayRole:
            if (column.merge && SameAsRowAbove(row, col)) {
                return QString();
            }
            return DisplayText(row, col);
        case Qt::EditRole:
            return Text(row, col);
        case Qt::CheckStateRole:
            if (column.kind != Kind::CheckBox) {
                return {};
            }
            return IsTrueText(Text(row, col)) ? Qt::Checked : Qt::Unchecked;
        case Qt::TextAlignmentRole:
            return headerData(col, Qt::Horizontal, role);
        case Qt::FontRole:
            if (look != nullptr && look->font) {
                return *look->font;
            }
            if (column.font && row >= column.fontFromRow) {
                return *column.font;
            }
            if (column.symbolFont) {
                return SymbolFont::Font();
            }
            return {};
        case Qt::BackgroundRole:
            if (look != nullptr && look->background.isValid()) {
                return QBrush(look->background);
            }
            if (style != nullptr && style->background.isValid()) {
                return QBrush(style->background);
            }
            return {};
        case Qt::ForegroundRole:
            if (look != nullptr && look->foreground.isValid()) {
                return QBrush(look->foreground);
            }
            if (style != nullptr && style->foreground.isValid()) {
                return QBrush(style->foreground);
            }
            return {};
        default:
            return {};
    }
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    }
    if (section < 0 || section >= ColumnCount()) {
        return {};
    }
    const Column& column = columns_[section];
    switch (role) {
        case Qt::DisplayRole:
            return column.heading;
        case Qt::FontRole: {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        case Qt::TextAlignmentRole: {
            Qt::Alignment h;
            switch (column.align) {
                case Align::Left:
                    h = Qt::AlignLeft;
                    break;
                case Align::Center:
                    h = Qt::AlignHCenter;
                    break;
                case Align::Right:
                    h = Qt::AlignRight;
                    break;
                case Align::Default:
                    // Numbers and dates read best right-aligned, check boxes centred.
                    h = column.kind == Kind::CheckBox ? Qt::AlignHCenter
                        : column.format.isEmpty()     ? Qt::AlignLeft
                                                      : Qt::AlignRight;
                    break;
            }
            return int(h | Qt::AlignVCenter);
        }
        default:
            return {};
    }
}

Qt::ItemFlags FlexGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int row = index.row() + 1;
    if (CellEditable(row, index.column())) {
        const Kind kind = columns_[index.column()].kind;
        if (kind == Kind::CheckBox) {
            f |= Qt::ItemIsUserCheckable;
        } else {
            f |= Qt::ItemIsEditable;
        }
    }
    return f;
}

void FlexGridModel::SetColumns(std::vector<Column> columns) {
    flushTimer_.stop();
    beginResetModel();
    columns_ = std::move(columns);
    rows_.clear();
    announced_ = 0;
    endResetModel();
}

void FlexGridModel::SetColumnCount(int count) {
    count = std::max(count, 0);
    const int old = ColumnCount();
    if (count > old) {
        beginInsertColumns(QModelIndex(), old, count - 1);
        columns_.resize(count);
        endInsertColumns();
    } else if (count < old) {
        beginRemoveColumns(QModelIndex(), count, old - 1);
        columns_.resize(count);
        for (Row& row : rows_) {
            Truncate(row.packed, count);
            if (row.extras) {
                std::erase_if(row.extras->looks,
                              [&](const auto& look) { return look.first >= count; });
                std::erase_if(row.extras->cellData,
                              [&](const auto& data) { return data.first >= count; });
            }
        }
        endRemoveColumns();
    }
}

FlexGridModel::Column& FlexGridModel::EditColumn(int col) {
    return columns_.at(col);
}

void FlexGridModel::ColumnChanged(int col) {
    emit headerDataChanged(Qt::Horizontal, col, col);
    if (announced_ > 0) {
        emit dataChanged(index(0, col), index(announced_ - 1, col));
    }
}

void FlexGridModel::SetDataRows(int rows) {
    rows = std::max(rows, 0);
    const int old = DataRows();
    if (rows > old) {
        rows_.resize(rows);
        Flush();
        return;
    }
    if (rows < announced_) {
        beginRemoveRows(QModelIndex(), rows, announced_ - 1);
        rows_.resize(rows);
        announced_ = rows;
        endRemoveRows();
    } else {
        rows_.resize(rows);
    }
}

FlexGridModel::Row FlexGridModel::MakeRow(const QStringList& cells) const {
    Row row;
    const qsizetype count = std::min<qsizetype>(cells.size(), ColumnCount());
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0) {
            row.packed += '\t';
        }
        AppendCell(row.packed, cells[i]);
    }
    row.packed = Exact(row.packed);
    return row;
}

void FlexGridModel::ReserveRows(int rows) {
    rows_.reserve(static_cast<std::size_t>(std::max(rows, 0)));
}

void FlexGridModel::AppendRow(const QStringList& cells) {
    rows_.push_back(MakeRow(cells));
    if (!holdBack_ && !flushTimer_.isActive()) {
        flushTimer_.start();
    }
}

void FlexGridModel::AppendRow(const QString& tabSeparated) {
    Row row;
    row.packed = tabSeparated.toUtf8();
    if (row.packed.contains('\\')) {
        row.packed.replace("\\", "\\\\");
    }
    Truncate(row.packed, ColumnCount());
    row.packed = Exact(row.packed);
    rows_.push_back(std::move(row));
    if (!holdBack_ && !flushTimer_.isActive()) {
        flushTimer_.start();
    }
}

void FlexGridModel::InsertRow(int row, const QStringList& cells) {
    Flush();
    const int at = std::clamp(row - 1, 0, DataRows());
    beginInsertRows(QModelIndex(), at, at);
    rows_.insert(rows_.begin() + at, MakeRow(cells));
    ++announced_;
    endInsertRows();
}

void FlexGridModel::RemoveRow(int row) {
    const int at = row - 1;
    if (at < 0 || at >= DataRows()) {
        return;
    }
    if (at < announced_) {
        beginRemoveRows(QModelIndex(), at, at);
        rows_.erase(rows_.begin() + at);
        --announced_;
        endRemoveRows();
    } else {
        rows_.erase(rows_.begin() + at);
    }
}

void FlexGridModel::RemoveAllRows() {
    flushTimer_.stop();
    if (announced_ > 0) {
        beginRemoveRows(QModelIndex(), 0, announced_ - 1);
        rows_.clear();
        announced_ = 0;
        endRemoveRows();
    }
    // Gives back the room of a large load, not only its rows.
    std::vector<Row>().swap(rows_);
}

void FlexGridModel::Flush() {
    flushTimer_.stop();
    const int total = DataRows();
    if (total > announced_) {
        beginInsertRows(QModelIndex(), announced_, total - 1);
        announced_ = total;
        endInsertRows();
    }
}

void FlexGridModel::SetHoldBack(bool hold) {
    holdBack_ = hold;
    if (hold) {
        flushTimer_.stop();
    } else {
        Flush();
    }
}

const FlexGridModel::CellLook* FlexGridModel::FindLook(const Row& row, int col) const {
    if (row.extras) {
        for (const auto& [column, look] : row.extras->looks) {
            if (column == col) {
                return &look;
            }
        }
    }
    return nullptr;
}

FlexGridModel::CellLook& FlexGridModel::LookAt(int row, int col) {
    RowExtras& extras = ExtrasOf(rows_.at(row - 1));
    for (auto& [column, look] : extras.looks) {
        if (column == col) {
            return look;
        }
    }
    return extras.looks.emplace_back(col, CellLook{}).second;
}

FlexGridModel::RowExtras& FlexGridModel::ExtrasOf(Row& row) {
    if (!row.extras) {
        row.extras = std::make_unique<RowExtras>();
    }
    return *row.extras;
}

const FlexGridModel::RowStyle* FlexGridModel::StyleOf(const Row& row) const {
    if (row.style == 0) {
        return nullptr;
    }
    const auto style = rowStyles_.constFind(styleNames_[row.style]);
    return style != rowStyles_.constEnd() ? &*style : nullptr;
}

void FlexGridModel::NotifyCell(int row, int col) {
    if (row - 1 >= announced_) {
        return;
    }
    // A merged column's next row may now show (or hide) its text.
    const int last = columns_[col].merge ? std::min(row, announced_ - 1) : row - 1;
    emit dataChanged(index(row - 1, col), index(last, col));
}

void FlexGridModel::NotifyRow(int row) {
    if (row >= 1 && row - 1 < announced_ && ColumnCount() > 0) {
        emit dataChanged(index(row - 1, 0), index(row - 1, ColumnCount() - 1));
    }
}

QString FlexGridModel::Text(int row, int col) const {
    if (row < 1 || row > DataRows() || col < 0 || col >= ColumnCount()) {
        return {};
    }
    return CellText(rows_[row - 1].packed, col);
}

void FlexGridModel::SetText(int row, int col, const QString& text) {
    if (row < 1 || row > DataRows() || col < 0 || col >= ColumnCount()) {
        return;
    }
    ReplaceCell(rows_[row - 1].packed, col, text);
    NotifyCell(row, col);
}

QVariant FlexGridModel::CellData(int row, int col) const {
    if (row < 1 || row > DataRows() || !rows_[row - 1].extras) {
        return {};
    }
    for (const auto& [column, data] : rows_[row - 1].extras->cellData) {
        if (column == col) {
            return data;
        }
    }
    return {};
}

void FlexGridModel::SetCellData(int row, int col, const QVariant& data) {
    if (row < 1 || row > DataRows() || col < 0 || col >= ColumnCount()) {
        return;
    }
    auto& cells = ExtrasOf(rows_[row - 1]).cellData;
    for (auto& [column, held] : cells) {
        if (column == col) {
            held = data;
            return;
        }
    }
    cells.emplace_back(col, data);
}

QVariant FlexGridModel::RowData(int row) const {
    if (row < 1 || row > DataRows()) {
        return {};
    }
    const Row& held = rows_[row - 1];
    if (held.numbered) {
        return held.number;
    }
    return held.extras ? held.extras->data : QVariant();
}

void FlexGridModel::SetRowData(int row, const QVariant& data) {
    if (row < 1 || row > DataRows()) {
        return;
    }
    Row& held = rows_[row - 1];
    held.numbered = data.typeId() == QMetaType::Int;
    held.number = held.numbered ? data.toInt() : 0;
    if (held.extras || (!held.numbered && data.isValid())) {
        ExtrasOf(held).data = held.numbered ? QVariant() : data;
    }
}

bool FlexGridModel::RowHidden(int row) const {
    return row >= 1 && row <= DataRows() && rows_[row - 1].hidden;
}

void FlexGridModel::SetRowHidden(int row, bool hidden) {
    if (row >= 1 && row <= DataRows()) {
        rows_[row - 1].hidden = hidden;
        NotifyRow(row + 1);  // merged cells below may change
    }
}

void FlexGridModel::SetRowStyleName(int row, const QString& name) {
    if (row >= 1 && row <= DataRows()) {
        qsizetype index = name.isEmpty() ? 0 : styleNames_.indexOf(name);
        if (index < 0) {
            index = styleNames_.size();
            styleNames_.append(name);
        }
        rows_[row - 1].style = static_cast<std::uint16_t>(index);
        NotifyRow(row);
    }
}

void FlexGridModel::DefineRowStyle(const QString& name, const RowStyle& style) {
    rowStyles_.insert(name, style);
    if (announced_ > 0 && ColumnCount() > 0) {
        emit dataChanged(index(0, 0), index(announced_ - 1, ColumnCount() - 1));
    }
}

void FlexGridModel::SetCellFont(int row, int col, const QFont& font) {
    if (row >= 1 && row <= DataRows() && col >= 0 && col < ColumnCount()) {
        LookAt(row, col).font = font;
        NotifyCell(row, col);
    }
}

void FlexGridModel::SetCellBackground(int row, int col, const QColor& colour) {
    if (row >= 1 && row <= DataRows() && col >= 0 && col < ColumnCount()) {
        LookAt(row, col).background = colour;
        NotifyCell(row, col);
    }
}

void FlexGridModel::SetCellForeground(int row, int col, const QColor& colour) {
    if (row >= 1 && row <= DataRows() && col >= 0 && col < ColumnCount()) {
        LookAt(row, col).foreground = colour;
        NotifyCell(row, col);
    }
}

void FlexGridModel::SetGridEditable(bool editable) {
    gridEditable_ = editable;
}

bool FlexGridModel::CellEditable(int row, int col) const {
    if (!gridEditable_ || row < 1 || col < 0 || col >= ColumnCount()) {
        return false;
    }
    const Column& column = columns_[col];
    return column.editable && column.kind != Kind::Button;
}

}  // namespace vym::ui
