#include "app/model/CompensationGridModel.h"

#include <algorithm>

#include "app/model/FileInfoModel.h"
#include "app/model/ToolTipText.h"
#include "core/picture/PictureText.h"

namespace qv {

CompensationGridModel::CompensationGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void CompensationGridModel::fill(const FileRecord* file) {
    beginResetModel();
    typed_.clear();
    const int P = file ? std::max(0, std::min(file->ParameterCount, static_cast<int32_t>(file->Parameters.size()) - 1)) : 0;
    count_ = P;
    names_.assign(static_cast<size_t>(P) + 1, QString());
    for (int p = 1; p <= P; ++p) names_[static_cast<size_t>(p)] = Latin1Text(file->Parameters[static_cast<size_t>(p)].Name);
    coefficients_.assign(static_cast<size_t>(P) * static_cast<size_t>(P), 0.0f);
    if (file) {
        const EventMatrix<float>& m = file->CompensationMatrix;
        // Column by column, the order the matrix keeps them in.
        for (int j = 1; j <= P; ++j)
            for (int i = 1; i <= P; ++i)
                if (m.contains(i, j)) coefficients_[static_cast<size_t>(j - 1) * P + static_cast<size_t>(i - 1)] = m(i, j);
    }
    filled_ = true;
    endResetModel();
}

void CompensationGridModel::clear() {
    beginResetModel();
    typed_.clear();
    count_ = 0;
    names_.clear();
    names_.shrink_to_fit();
    coefficients_.clear();
    coefficients_.shrink_to_fit();
    filled_ = false;
    endResetModel();
}

bool CompensationGridModel::isValueCell(int row, int column) const {
    return filled_ && row >= 1 && column >= 1 && row <= count_ && column <= count_;
}

float CompensationGridModel::coefficient(int row, int column) const {
    return coefficients_[static_cast<size_t>(column - 1) * count_ + static_cast<size_t>(row - 1)];
}

const QString* CompensationGridModel::typed(int row, int column) const {
    if (typed_.empty()) return nullptr;
    const auto it = typed_.find(key(row, column));
    return it == typed_.end() ? nullptr : &it->second;
}

QString CompensationGridModel::cellText(int row, int column) const {
    if (!filled_ || row < 0 || column < 0 || row > count_ || column > count_) return {};
    if (row == 0 && column == 0) return {};
    if (row == 0) return names_[static_cast<size_t>(column)];
    if (column == 0) return names_[static_cast<size_t>(row)];
    if (const QString* t = typed(row, column)) return *t;
    return Latin1Text(CompensationCellText(coefficient(row, column)));
}

void CompensationGridModel::setTypedText(int row, int column, const QString& text) {
    if (!isValueCell(row, column)) return;
    typed_[key(row, column)] = text;
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

std::vector<std::vector<std::optional<float>>> CompensationGridModel::coefficients() const {
    std::vector<std::vector<std::optional<float>>> out(static_cast<size_t>(count_));
    for (int i = 1; i <= count_; ++i) {
        std::vector<std::optional<float>>& row = out[static_cast<size_t>(i - 1)];
        row.resize(static_cast<size_t>(count_));
        for (int j = 1; j <= count_; ++j) {
            std::optional<float>& cell = row[static_cast<size_t>(j - 1)];
            if (const QString* t = typed(i, j)) {
                const QByteArray bytes = t->toLatin1();
                cell = CompensationFromPercent(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
                continue;
            }
            // A zero reads back as itself; every other coefficient goes
            // through the text its cell shows, as a typed one would.
            const float c = coefficient(i, j);
            cell = c == 0.0f ? std::optional<float>(c) : CompensationFromPercent(CompensationCellText(c));
        }
    }
    return out;
}

int CompensationGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !filled_ ? 0 : count_ + 1;
}

int CompensationGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !filled_ ? 0 : count_ + 1;
}

QVariant CompensationGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    // The columns are narrow: a name or value cut in its cell shows whole
    // in its tooltip.
    if (role == Qt::DisplayRole) return cellText(index.row(), index.column());
    if (role == Qt::ToolTipRole) return PlainToolTip(cellText(index.row(), index.column()));
    return {};
}

QVariant CompensationGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const QString name = orientation == Qt::Horizontal ? cellText(0, section) : cellText(section, 0);
    return role == Qt::ToolTipRole ? PlainToolTip(name) : name;
}

Qt::ItemFlags CompensationGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace qv
