#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QList>
#include <QPointer>

#include "platform/dataset/Dataset.h"

namespace velmora {


// One column of a grid: the field it shows, its title and width.
struct GridColumn {
    QString fieldName;
    QString title;
    int width = 0; // 0: the grid's default
};

// A table model over a dataset's current order: it reads the column store
// cell by cell as the view asks, so a million rows cost nothing to show.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(QObject *parent = nullptr);

    void setDataset(data::Dataset *dataset);
    data::Dataset *dataset() const { return m_dataset; }
    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_columns; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The dataset column a grid column shows; -1 when the field is not in the result.
    int datasetColumn(int gridColumn) const;

    // A column title's colour and weight (the search and sort columns).
    void setTitleStyle(int gridColumn, const QColor &color, bool bold);
    void clearTitleStyles();
    QColor titleColor(int gridColumn) const { return m_titleColors.value(gridColumn); }
    bool titleBold(int gridColumn) const { return m_titleBold.value(gridColumn); }

private:
    void rebuild();

    QPointer<data::Dataset> m_dataset;
    QList<GridColumn> m_columns;
    QList<int> m_datasetColumns;
    QHash<int, QColor> m_titleColors;
    QHash<int, bool> m_titleBold;
};

} // namespace velmora
