#pragma once

#include "ColumnStore.h"
#include "Field.h"
#include "FilterExpression.h"
#include "platform/db/Connection.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace velmora::data {

enum class DatasetState { Inactive, Browse, Edit, Insert };

enum LocateOption { loCaseInsensitive = 1, loPartialKey = 2 };
using LocateOptions = int;

// A remembered row: its place in the store and its key values, so it is found
// again after a requery.
struct Bookmark {
    qint64 row = -1;
    quint64 generation = 0;
    QVariantList keyValues;
    bool isValid() const { return row >= 0; }
};

// The client cursor: runs a statement, holds every row in a column store,
// sorts and filters through an index permutation, locates, keeps the states
// browse, edit and insert, and writes a posted row back to its table with
// bound parameters.
class Dataset : public QObject {
    Q_OBJECT
public:
    explicit Dataset(const QString &name = QString(), QObject *parent = nullptr);
    ~Dataset() override;

    // The statement in the program's dialect.
    void setCommandText(const QString &sql) { m_commandText = sql; }
    const QString &commandText() const { return m_commandText; }
    void setConnection(db::Connection *connection) { m_connection = connection; }
    db::Connection *connection() const { return m_connection; }

    // Fields declared in advance, matched to result columns by name.
    void declareField(const FieldDef &def);
    const QList<FieldDef> &declaredFields() const { return m_declared; }

    void open();
    void close();
    bool active() const { return m_state != DatasetState::Inactive; }
    DatasetState state() const { return m_state; }
    bool isEditing() const { return m_state == DatasetState::Edit || m_state == DatasetState::Insert; }
    // Re-runs the statement; filter and sort stay, the first row becomes current.
    void requery();

    int recordCount() const;
    // 1-based; 0 when there is no current row.
    int recNo() const { return m_current + 1; }
    bool isEmpty() const { return recordCount() == 0; }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    void first();
    void last();
    void next();
    void prior();
    // Makes the row at that position (0-based, in the current order) current.
    void moveTo(int position);
    int currentPosition() const { return m_current; }

    void append();
    void edit();
    void post();
    void cancel();
    void deleteRecord();
    // The current row differs from what was read (edit or insert state).
    bool modified() const;

    Bookmark bookmark() const;
    bool gotoBookmark(const Bookmark &bookmark);

    // Fields are "A;B"; values one per field. Searches in the current order
    // from the first row; a partial text may start with "%" to match anywhere.
    bool locate(const QString &fields, const QVariantList &values, LocateOptions options);

    // "A ASC, B DESC"; empty restores the query's order. Throws for unknown fields.
    void setSort(const QString &sort);
    const QString &sort() const { return m_sort; }
    // "A;B": the key fields; sorts ascending by them.
    void setIndexFieldNames(const QString &names);
    const QString &indexFieldNames() const { return m_indexFieldNames; }

    void setFilter(const QString &filter);
    const QString &filter() const { return m_filterText; }
    void setFiltered(bool filtered);
    bool filtered() const { return m_filtered; }

    // The one table that row changes of a joined result apply to.
    void setUniqueTable(const QString &table) { m_uniqueTable = table; }
    const QString &uniqueTable() const { return m_uniqueTable; }
    // The table a post writes: the unique table, or that of the first column.
    QString updateTable() const;

    const QList<Field *> &fields() const { return m_fields; }
    int fieldCount() const { return int(m_fields.size()); }
    Field *findField(const QString &name) const;
    // Throws DatasetError when there is no such field.
    Field *fieldByName(const QString &name) const;
    const db::ColumnInfo &columnInfo(int column) const { return m_columns[size_t(column)].info(); }
    int columnCount() const { return int(m_columns.size()); }

    // Values at a position of the current order, for grids.
    QVariant valueAt(int position, int column) const;
    QString displayTextAt(int position, int column) const;
    // The store row shown at a position.
    qint64 storeRowAt(int position) const;

    // While disabled, grids are not told of moves and changes; enabling
    // tells them once.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

    size_t memoryBytes() const;

signals:
    // Rows were reloaded, re-sorted or re-filtered.
    void reset();
    void currentChanged(int position);
    void rowChanged(int position);
    void rowInserted(int position);
    void rowRemoved(int position);
    void stateChanged(velmora::data::DatasetState state);

protected:
    // Reads the rows into the sink; a stored procedure overrides it.
    virtual void fetch(db::RowSink &sink);

private:
    friend class Field;
    class Loader;
    struct SortKey {
        int column;
        bool descending;
    };

    int columnIndex(const QString &name) const;
    QVariant currentValue(int column) const;
    void setCurrentValue(int column, const QVariant &value);
    void checkActive() const;
    void checkBrowseMode();
    void setState(DatasetState state);
    void rebuildFields();
    void applyOrder();  // sort, then filter: rebuilds m_ordered and m_view
    void applyFilter(); // m_view from m_ordered
    bool moveToFirstMatch(const std::function<bool(uint32_t)> &matches);
    std::vector<SortKey> parseSort(const QString &sort) const;
    bool lessThan(uint32_t a, uint32_t b) const;
    void setCurrent(int position, bool notify = true);
    bool rowMatches(uint32_t row, const std::vector<int> &columns, const QVariantList &values, LocateOptions options) const;
    QStringList keyFieldList() const;
    void removeStoreRowFromView(uint32_t row);
    void writeRow(uint32_t row, const QVariantList &values);
    void emitReset();

    // Writing back: the statements and their parameters.
    void postInsert();
    void postUpdate();
    QList<int> tableColumns(const QString &table) const;
    QList<int> keyColumns(const QString &table) const;

    QString m_commandText;
    db::Connection *m_connection = nullptr;
    QList<FieldDef> m_declared;
    QList<Field *> m_fields;
    std::vector<ColumnStore> m_columns;
    std::vector<uint8_t> m_deleted;
    size_t m_liveRows = 0;
    std::vector<uint32_t> m_ordered; // live store rows in sort order
    std::vector<uint32_t> m_view;    // m_ordered through the filter
    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;
    DatasetState m_state = DatasetState::Inactive;
    quint64 m_generation = 0;

    QString m_sort;
    std::vector<SortKey> m_sortKeys;
    QString m_indexFieldNames;
    QString m_filterText;
    bool m_filtered = false;
    std::unique_ptr<FilterExpression> m_filter;
    QString m_uniqueTable;

    // The row being edited or inserted: values, and what the row held before.
    QVariantList m_buffer;
    QVariantList m_original;
    std::vector<bool> m_changed;
    int m_disabled = 0;
    bool m_pendingReset = false;
};

} // namespace velmora::data
