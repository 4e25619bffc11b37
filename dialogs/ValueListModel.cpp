#include "dialogs/ValueListModel.h"

#include <utility>

#include "core/Format.h"

void CValueListModel::SetValues(std::vector<double> values)
{
    beginResetModel();
    m_values = std::move(values);
    endResetModel();
}

int CValueListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_values.size());
}

int CValueListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant CValueListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= m_values.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole)
        return {};
    if (index.column() == 0)
        return QString::number(index.row());
    return QString::fromStdString(FormatFixed(m_values[static_cast<std::size_t>(index.row())], 2));
}

QVariant CValueListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole)
        return {};
    return section == 0 ? QStringLiteral("n") : QStringLiteral("value");
}
