#include "outcome_model.h"

#include "cp1252.h"

namespace {

QString qtext(const std::string &ansi) {
    return QString::fromStdString(cp1252::to_utf8(ansi));
}

bool drawable_method(const std::string &method) {
    return !method.starts_with("No numerical data") && !method.starts_with("Other data [Not viewable]");
}

} // namespace

int OutcomeModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int OutcomeModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : COLUMNS;
}

QVariant OutcomeModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || !valid(index.row())) return {};
    const Row &row = rows_[index.row()];
    if (role == ComparisonRole) return row.comparison;
    if (role != Qt::DisplayRole) return {};
    if (index.column() == 0) return qtext(row.name);
    return row.comparison ? QString() : qtext(row.columns[index.column() - 1]);
}

QVariant OutcomeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= COLUMNS)
        return {};
    return titles_[section];
}

Qt::ItemFlags OutcomeModel::flags(const QModelIndex &index) const {
    // A comparison row cannot be selected.
    if (index.isValid() && valid(index.row()) && rows_[index.row()].comparison) return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void OutcomeModel::SetColumnTitles(const std::array<std::string, 5> &titles) {
    for (int i = 0; i < COLUMNS; ++i)
        titles_[i] = qtext(titles[i]);
    emit headerDataChanged(Qt::Horizontal, 0, COLUMNS - 1);
}

void OutcomeModel::AddComparisonRow(const std::string &name) {
    int at = rowCount();
    beginInsertRows({}, at, at);
    rows_.push_back({name, true, nullptr, {}});
    endInsertRows();
}

void OutcomeModel::AddOutcomeRow(const std::string &name, std::unique_ptr<outcomeDef> record,
                                 const std::array<std::string, 4> &columns) {
    int at = rowCount();
    beginInsertRows({}, at, at);
    rows_.push_back({name, false, std::move(record), columns});
    endInsertRows();
}

bool OutcomeModel::is_comparison(int row) const {
    return valid(row) && rows_[row].comparison;
}

bool OutcomeModel::viewable(int row) const {
    return valid(row) && !rows_[row].comparison && rows_[row].record &&
           drawable_method(rows_[row].columns[2]);
}

outcomeDef *OutcomeModel::record(int row) const {
    return valid(row) ? rows_[row].record.get() : nullptr;
}

const std::string &OutcomeModel::name(int row) const {
    static const std::string none;
    return valid(row) ? rows_[row].name : none;
}

std::string OutcomeModel::comparison_of(int row) const {
    for (int r = row; r >= 0; --r)
        if (is_comparison(r)) return rows_[r].name;
    return {};
}
