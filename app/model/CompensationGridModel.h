#pragma once
// The compensation grid of the file information window as a table model:
// P + 1 rows and columns for a file of P parameters, row 0 and column 0 the
// parameter names, cell (i, j) the share of parameter i subtracted from
// parameter j as a percentage. It holds its own copy of the names and
// coefficients, so what it shows stays what the window shows until it is
// filled again (the global values are read from here), and it makes no
// object per cell: a file of thousands of parameters costs one float a
// cell, and a view asks only for the cells it draws.
#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/FileRecord.h"

namespace qv {

class CompensationGridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CompensationGridModel(QObject* parent = nullptr);

    // Takes the names and coefficients of `file`; nullptr leaves only the
    // corner cell. Texts typed into cells are forgotten.
    void fill(const FileRecord* file);
    // No cells at all (not even the corner): the grid is not built.
    void clear();
    bool isFilled() const { return filled_; }

    // The text of cell (row, column); empty outside the grid.
    QString cellText(int row, int column) const;
    // A value cell shows `text` as typed from now until the next fill.
    void setTypedText(int row, int column, const QString& text);
    // The coefficients the value cells stand for, read from their texts as
    // a typed percentage is: Matrix[i - 1][j - 1] for cell (i, j), nothing
    // where a cell's text is no coefficient.
    std::vector<std::vector<std::optional<float>>> coefficients() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Row 0 and column 0 as header sections: section s of the column
    // header is cell (0, s), of the row header cell (s, 0).
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    bool isValueCell(int row, int column) const;
    float coefficient(int row, int column) const;
    const QString* typed(int row, int column) const;
    int64_t key(int row, int column) const { return static_cast<int64_t>(row) * (count_ + 1) + column; }

    bool filled_ = false;
    int count_ = 0;
    std::vector<QString> names_;       // 1..P (element 0 unused)
    std::vector<float> coefficients_;  // (i, j) at (j - 1) * P + (i - 1), column by column
    std::unordered_map<int64_t, QString> typed_;
};

}  // namespace qv
