#pragma once

#include <vector>

#include <QAbstractTableModel>

// Two columns, "n" and "value": the row number from 0 and the value with two
// decimals, both right-aligned. The texts are made only for the rows on
// screen, so a list of a million values opens at once.
class CValueListModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetValues(std::vector<double> values);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<double> m_values;
};
