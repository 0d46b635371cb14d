#include "DatasetModel.h"

#include "platform/dataset/Dataset.h"

#include <QFont>

namespace velmora {

DatasetModel::DatasetModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void DatasetModel::setDataset(data::Dataset *dataset)
{
    if (m_dataset)
        disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    if (dataset) {
        connect(dataset, &data::Dataset::reset, this, &DatasetModel::rebuild);
        connect(dataset, &data::Dataset::rowChanged, this, [this](int row) {
            if (row >= 0)
                emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
        connect(dataset, &data::Dataset::rowInserted, this, [this](int row) {
            beginInsertRows({}, row, row);
            endInsertRows();
        });
        connect(dataset, &data::Dataset::rowRemoved, this, [this](int row) {
            beginRemoveRows({}, row, row);
            endRemoveRows();
        });
    }
    rebuild();
}

void DatasetModel::setColumns(const QList<GridColumn> &columns)
{
    m_columns = columns;
    rebuild();
}

void DatasetModel::rebuild()
{
    beginResetModel();
    m_datasetColumns.clear();
    for (const GridColumn &column : m_columns) {
        int c = -1;
        if (m_dataset) {
            if (const data::Field *field = m_dataset->findField(column.fieldName))
                c = field->column();
        }
        m_datasetColumns.append(c);
    }
    endResetModel();
}

void DatasetModel::setTitleStyle(int gridColumn, const QColor &color, bool bold)
{
    m_titleColors.insert(gridColumn, color);
    m_titleBold.insert(gridColumn, bold);
    emit headerDataChanged(Qt::Horizontal, gridColumn, gridColumn);
}

void DatasetModel::clearTitleStyles()
{
    m_titleColors.clear();
    m_titleBold.clear();
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int DatasetModel::datasetColumn(int gridColumn) const
{
    return m_datasetColumns.value(gridColumn, -1);
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_dataset ? 0 : m_dataset->recordCount();
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!m_dataset || !index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        const int c = datasetColumn(index.column());
        if (c < 0)
            return {};
        QString text = m_dataset->displayTextAt(index.row(), c);
        if (role == Qt::DisplayRole && text.contains(u'\n'))
            text = text.simplified(); // a memo shows on one line
        return text;
    }
    if (role == Qt::TextAlignmentRole) {
        const int c = datasetColumn(index.column());
        if (c >= 0 && m_dataset->columnInfo(c).type != db::ColumnType::Text && m_dataset->columnInfo(c).type != db::ColumnType::LongText
            && m_dataset->columnInfo(c).type != db::ColumnType::DateTime && m_dataset->fields().value(c)->dataType() != data::FieldType::Boolean)
            return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const GridColumn &column = m_columns.value(section);
        if (!column.title.isEmpty())
            return column.title;
        if (m_dataset) {
            if (const data::Field *field = m_dataset->findField(column.fieldName))
                return field->fieldName();
        }
        return column.fieldName;
    }
    if (orientation == Qt::Horizontal && role == Qt::ForegroundRole && m_titleColors.contains(section))
        return m_titleColors.value(section);
    if (orientation == Qt::Horizontal && role == Qt::FontRole && m_titleBold.value(section)) {
        QFont font;
        font.setBold(true);
        return font;
    }
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return m_dataset && section == m_dataset->currentPosition() ? QStringLiteral("▶") : QString();
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace velmora
