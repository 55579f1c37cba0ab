// The rows of the outcome list: a comparison row heads the outcome rows below it; each outcome row
// carries its record (null for outcomes that cannot be drawn) and four column texts. The loading
// library fills it through the outcomelist interface.
#pragma once

#include "outcome_list.h"

#include <QAbstractTableModel>

#include <vector>

class OutcomeModel final : public QAbstractTableModel, public outcomelist {
  public:
    static constexpr int COLUMNS = 5;
    // data() under this role: true for a comparison row.
    static constexpr int ComparisonRole = Qt::UserRole + 1;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void SetColumnTitles(const std::array<std::string, 5> &titles) override;
    void AddComparisonRow(const std::string &name) override;
    void AddOutcomeRow(const std::string &name, std::unique_ptr<outcomeDef> record,
                       const std::array<std::string, 4> &columns) override;

    bool is_comparison(int row) const;
    // An outcome row with a record and a forest plot.
    bool viewable(int row) const;
    outcomeDef *record(int row) const;
    // Windows-1252 names: the row's own, and that of the comparison heading it.
    const std::string &name(int row) const;
    std::string comparison_of(int row) const;

  private:
    struct Row {
        std::string name;
        bool comparison = false;
        std::unique_ptr<outcomeDef> record;
        std::array<std::string, 4> columns;
    };
    bool valid(int row) const { return row >= 0 && row < static_cast<int>(rows_.size()); }

    std::vector<Row> rows_;
    std::array<QString, COLUMNS> titles_;
};
