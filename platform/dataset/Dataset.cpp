#include "Dataset.h"

#include "DatasetError.h"
#include "TextFold.h"
#include "platform/db/Dialect.h"

#include <QHash>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace velmora::data {
namespace {

FieldType fieldTypeOf(const db::ColumnInfo &info)
{
    switch (info.type) {
    case db::ColumnType::Integer: return FieldType::Integer;
    case db::ColumnType::SmallInt: return FieldType::SmallInt;
    case db::ColumnType::Float: return FieldType::Float;
    case db::ColumnType::LongText: return FieldType::WideMemo;
    case db::ColumnType::DateTime: return FieldType::DateTime;
    case db::ColumnType::Boolean: return FieldType::Boolean;
    case db::ColumnType::Text:
    case db::ColumnType::Unknown: break;
    }
    return FieldType::WideString;
}

const QString kLostRow = QStringLiteral(
    "Podatak nije snimljen: u međuvremenu ga je izmenila ili obrisala druga radna stanica. "
    "Vaš unos je sačuvan u prozoru; osvežite spisak (F5) i pokušajte ponovo.");

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (!a.isValid() || !b.isValid())
        return a.isValid() == b.isValid();
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString)
        return a.toString() == b.toString();
    if (a.typeId() == QMetaType::QDateTime || b.typeId() == QMetaType::QDateTime)
        return a.toDateTime() == b.toDateTime();
    if (a.typeId() == QMetaType::Double || b.typeId() == QMetaType::Double)
        return a.toDouble() == b.toDouble();
    return a.toLongLong() == b.toLongLong();
}

// Values as parameters: flags as 0 and 1.
QVariant parameterValue(const QVariant &v)
{
    return v.typeId() == QMetaType::Bool ? QVariant(qint64(v.toBool() ? 1 : 0)) : v;
}

} // namespace

// Fills the column stores straight from the driver.
class Dataset::Loader : public db::RowSink {
public:
    explicit Loader(std::vector<ColumnStore> &columns) : m_columns(columns) {}
    size_t rows = 0;

    void columns(const QList<db::ColumnInfo> &columns) override
    {
        m_columns.clear();
        m_columns.reserve(size_t(columns.size()));
        for (const db::ColumnInfo &info : columns)
            m_columns.emplace_back(info);
    }
    void nullValue(int column) override { m_columns[size_t(column)].appendNull(); }
    void integerValue(int column, qint64 value) override { m_columns[size_t(column)].appendInteger(value); }
    void floatValue(int column, double value) override { m_columns[size_t(column)].appendReal(value); }
    void textValue(int column, std::string_view utf8) override { m_columns[size_t(column)].appendText(utf8); }
    void dateTimeValue(int column, qint64 msecs) override { m_columns[size_t(column)].appendDateTime(msecs); }
    void endRow() override { ++rows; }

private:
    std::vector<ColumnStore> &m_columns;
};

Dataset::Dataset(const QString &name, QObject *parent)
    : QObject(parent)
{
    setObjectName(name);
}

Dataset::~Dataset()
{
    qDeleteAll(m_fields);
}

void Dataset::declareField(const FieldDef &def)
{
    m_declared.append(def);
    if (!active())
        rebuildFields();
}

void Dataset::fetch(db::RowSink &sink)
{
    if (!m_connection)
        throw DatasetError(QStringLiteral("%1: nema veze sa bazom podataka").arg(objectName()));
    m_connection->query(m_commandText, {}, sink);
}

void Dataset::open()
{
    if (active())
        return;
    std::vector<ColumnStore> columns;
    Loader loader(columns);
    fetch(loader);

    m_columns = std::move(columns);
    m_deleted.assign(loader.rows, 0);
    m_liveRows = loader.rows;
    ++m_generation;
    rebuildFields();
    m_state = DatasetState::Browse;
    try {
        m_sortKeys = parseSort(m_sort);
        m_filter.reset();
        if (m_filtered && !m_filterText.trimmed().isEmpty())
            m_filter = std::make_unique<FilterExpression>(m_filterText, [this](const QString &name) -> const ColumnStore * {
                const int c = columnIndex(name);
                return c < 0 ? nullptr : &m_columns[size_t(c)];
            });
    } catch (...) {
        close();
        throw;
    }
    applyOrder();
    m_current = m_view.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_view.empty();
    emit stateChanged(m_state);
    emitReset();
}

void Dataset::close()
{
    if (!active())
        return;
    m_buffer.clear();
    m_original.clear();
    m_columns.clear();
    m_deleted.clear();
    m_ordered.clear();
    m_view.clear();
    m_liveRows = 0;
    m_current = -1;
    m_bof = m_eof = true;
    m_filter.reset();
    m_state = DatasetState::Inactive;
    rebuildFields();
    emit stateChanged(m_state);
    emitReset();
}

void Dataset::requery()
{
    checkActive();
    checkBrowseMode();
    close();
    open();
}

void Dataset::rebuildFields()
{
    qDeleteAll(m_fields);
    m_fields.clear();
    std::vector<bool> used(m_declared.size(), false);
    for (int c = 0; c < int(m_columns.size()); ++c) {
        const db::ColumnInfo &info = m_columns[size_t(c)].info();
        FieldDef def;
        bool declared = false;
        for (qsizetype d = 0; d < m_declared.size(); ++d) {
            if (!used[size_t(d)] && m_declared[d].kind == FieldKind::Data
                && m_declared[d].name.compare(info.name, Qt::CaseInsensitive) == 0) {
                def = m_declared[d];
                used[size_t(d)] = true;
                declared = true;
                break;
            }
        }
        if (!declared) {
            def.name = info.name;
            def.type = fieldTypeOf(info);
            def.size = info.length;
        }
        m_fields.append(new Field(this, def, c));
    }
    // Declared fields without a result column (calculated ones, or all of them while closed).
    for (qsizetype d = 0; d < m_declared.size(); ++d) {
        if (!used[size_t(d)])
            m_fields.append(new Field(this, m_declared[d], -1));
    }
}

int Dataset::columnIndex(const QString &name) const
{
    for (int c = 0; c < int(m_columns.size()); ++c) {
        if (m_columns[size_t(c)].info().name.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

Field *Dataset::findField(const QString &name) const
{
    for (Field *field : m_fields) {
        if (field->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return field;
    }
    return nullptr;
}

Field *Dataset::fieldByName(const QString &name) const
{
    if (Field *field = findField(name))
        return field;
    throw DatasetError(QStringLiteral("%1: polje '%2' ne postoji").arg(objectName(), name));
}

void Dataset::checkActive() const
{
    if (!active())
        throw DatasetError(QStringLiteral("%1: tabela nije otvorena").arg(objectName()));
}

void Dataset::checkBrowseMode()
{
    if (isEditing())
        post();
}

void Dataset::setState(DatasetState state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void Dataset::emitReset()
{
    if (m_disabled > 0) {
        m_pendingReset = true;
        return;
    }
    emit reset();
    emit currentChanged(m_current);
}

int Dataset::recordCount() const
{
    return int(m_view.size());
}

qint64 Dataset::storeRowAt(int position) const
{
    return position >= 0 && size_t(position) < m_view.size() ? qint64(m_view[size_t(position)]) : -1;
}

void Dataset::setCurrent(int position, bool notify)
{
    const int count = recordCount();
    const int target = count == 0 ? -1 : std::clamp(position, 0, count - 1);
    const bool moved = target != m_current;
    m_current = target;
    if (notify && moved && m_disabled == 0)
        emit currentChanged(m_current);
}

void Dataset::first()
{
    checkActive();
    checkBrowseMode();
    setCurrent(0);
    m_bof = true;
    m_eof = m_view.empty();
}

void Dataset::last()
{
    checkActive();
    checkBrowseMode();
    setCurrent(recordCount() - 1);
    m_eof = true;
    m_bof = m_view.empty();
}

void Dataset::next()
{
    checkActive();
    checkBrowseMode();
    if (m_current + 1 >= recordCount()) {
        m_eof = true;
        return;
    }
    setCurrent(m_current + 1);
    m_bof = false;
    m_eof = false;
}

void Dataset::prior()
{
    checkActive();
    checkBrowseMode();
    if (m_current <= 0) {
        m_bof = true;
        return;
    }
    setCurrent(m_current - 1);
    m_bof = false;
    m_eof = false;
}

void Dataset::moveTo(int position)
{
    checkActive();
    if (position == m_current)
        return;
    checkBrowseMode();
    setCurrent(position);
    m_bof = m_current <= 0;
    m_eof = m_current >= recordCount() - 1;
}

QVariant Dataset::currentValue(int column) const
{
    if (m_current < 0 || column < 0 || column >= int(m_columns.size()))
        return QVariant();
    if (isEditing())
        return m_buffer.value(column);
    return m_columns[size_t(column)].value(m_view[size_t(m_current)]);
}

void Dataset::setCurrentValue(int column, const QVariant &value)
{
    if (!isEditing())
        throw DatasetError(QStringLiteral("%1: podatak nije u stanju izmene ili unosa").arg(objectName()));
    const ColumnStore &store = m_columns[size_t(column)];
    QVariant coerced = store.coerce(value);
    const bool empty = !value.isValid() || value.isNull()
                       || (value.typeId() == QMetaType::QString && value.toString().isEmpty()
                           && store.storage() != ColumnStore::Storage::Text);
    if (!coerced.isValid() && !empty)
        throw DatasetError(QStringLiteral("'%1' nije ispravna vrednost za polje '%2'").arg(value.toString(), store.info().name));
    if (store.info().type == db::ColumnType::Boolean && coerced.isValid())
        coerced = coerced.toLongLong() != 0;
    m_buffer[column] = coerced;
    m_changed[size_t(column)] = true;
    if (m_disabled == 0)
        emit rowChanged(m_current);
}

QVariant Dataset::valueAt(int position, int column) const
{
    if (position < 0 || size_t(position) >= m_view.size() || column < 0 || column >= int(m_columns.size()))
        return QVariant();
    if (isEditing() && position == m_current)
        return m_buffer.value(column);
    return m_columns[size_t(column)].value(m_view[size_t(position)]);
}

QString Dataset::displayTextAt(int position, int column) const
{
    const QVariant v = valueAt(position, column);
    if (!v.isValid())
        return QString();
    if (column < m_fields.size() && m_fields[column]->column() == column)
        return m_fields[column]->displayText(v);
    return v.toString();
}

bool Dataset::modified() const
{
    if (!isEditing())
        return false;
    for (int c = 0; c < m_buffer.size(); ++c) {
        if (!sameValue(m_buffer[c], m_original[c]))
            return true;
    }
    return false;
}

void Dataset::append()
{
    checkActive();
    checkBrowseMode();
    for (ColumnStore &column : m_columns)
        column.appendNull();
    const auto row = uint32_t(m_deleted.size());
    m_deleted.push_back(0);
    ++m_liveRows;
    m_ordered.push_back(row);
    m_view.push_back(row);
    m_buffer = QVariantList(int(m_columns.size()));
    m_original = m_buffer;
    m_changed.assign(m_columns.size(), false);
    m_current = recordCount() - 1;
    m_bof = m_eof = false;
    setState(DatasetState::Insert);
    if (m_disabled == 0) {
        emit rowInserted(m_current);
        emit currentChanged(m_current);
    }
}

void Dataset::edit()
{
    checkActive();
    if (isEditing())
        return;
    if (isEmpty()) {
        append(); // editing an empty list starts a new row
        return;
    }
    m_buffer.clear();
    for (int c = 0; c < int(m_columns.size()); ++c)
        m_buffer.append(m_columns[size_t(c)].value(m_view[size_t(m_current)]));
    m_original = m_buffer;
    m_changed.assign(m_columns.size(), false);
    setState(DatasetState::Edit);
}

void Dataset::cancel()
{
    if (!isEditing())
        return;
    const bool inserting = m_state == DatasetState::Insert;
    m_buffer.clear();
    m_original.clear();
    if (inserting) {
        // The appended row is the store's last one: take it away again.
        const uint32_t row = uint32_t(m_deleted.size() - 1);
        for (ColumnStore &column : m_columns)
            column.popBack();
        m_deleted.pop_back();
        --m_liveRows;
        m_ordered.erase(std::remove(m_ordered.begin(), m_ordered.end(), row), m_ordered.end());
        const auto it = std::find(m_view.begin(), m_view.end(), row);
        const int position = int(it - m_view.begin());
        if (it != m_view.end())
            m_view.erase(it);
        setState(DatasetState::Browse);
        m_current = std::min(m_current, recordCount() - 1);
        if (m_disabled == 0) {
            emit rowRemoved(position);
            emit currentChanged(m_current);
        }
        return;
    }
    setState(DatasetState::Browse);
    if (m_disabled == 0)
        emit rowChanged(m_current);
}

QString Dataset::updateTable() const
{
    if (!m_uniqueTable.isEmpty())
        return m_uniqueTable;
    return m_columns.empty() ? QString() : m_columns.front().info().baseTable;
}

QList<int> Dataset::tableColumns(const QString &table) const
{
    QList<int> result;
    for (int c = 0; c < int(m_columns.size()); ++c) {
        const db::ColumnInfo &info = m_columns[size_t(c)].info();
        if (!info.baseColumn.isEmpty() && info.baseTable.compare(table, Qt::CaseInsensitive) == 0)
            result.append(c);
    }
    return result;
}

QList<int> Dataset::keyColumns(const QString &table) const
{
    const QList<int> columns = tableColumns(table);
    QList<int> keys;
    for (const QString &key : m_connection->primaryKey(table)) {
        int found = -1;
        for (const int c : columns) {
            if (m_columns[size_t(c)].info().baseColumn.compare(key, Qt::CaseInsensitive) == 0) {
                found = c;
                break;
            }
        }
        if (found < 0)
            return columns; // a key column the statement does not read: every column identifies the row
        keys.append(found);
    }
    return keys.isEmpty() ? columns : keys;
}

void Dataset::post()
{
    if (!isEditing())
        return;
    for (const Field *field : std::as_const(m_fields)) {
        if (field->required() && field->column() >= 0 && !m_buffer.value(field->column()).isValid())
            throw DatasetError(QStringLiteral("Polje '%1' mora imati vrednost.").arg(field->displayLabel()));
    }
    if (!m_connection)
        throw DatasetError(QStringLiteral("%1: nema veze sa bazom podataka").arg(objectName()));
    if (m_state == DatasetState::Insert)
        postInsert();
    else
        postUpdate();

    const uint32_t row = m_view[size_t(m_current)];
    writeRow(row, m_buffer);
    m_buffer.clear();
    m_original.clear();
    setState(DatasetState::Browse);
    if (m_disabled == 0)
        emit rowChanged(m_current);
}

void Dataset::writeRow(uint32_t row, const QVariantList &values)
{
    for (int c = 0; c < int(m_columns.size()); ++c)
        m_columns[size_t(c)].setValue(row, values.value(c));
}

void Dataset::postInsert()
{
    const QString table = updateTable();
    if (table.isEmpty())
        throw DatasetError(QStringLiteral("%1: nije poznata tabela u koju se upisuje").arg(objectName()));
    QStringList names;
    QStringList marks;
    db::Params params;
    for (const int c : tableColumns(table)) {
        if (!m_changed[size_t(c)] || !m_buffer[c].isValid())
            continue;
        names << m_connection->quoteIdentifier(m_columns[size_t(c)].info().baseColumn);
        marks << QStringLiteral("?");
        params << parameterValue(m_buffer[c]);
    }
    const QString target = m_connection->quoteIdentifier(table);
    const QString sql = names.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(target)
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(target, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    m_connection->execute(sql, params);
}

void Dataset::postUpdate()
{
    const QString table = updateTable();
    QList<int> changed;
    for (const int c : tableColumns(table)) {
        if (!sameValue(m_buffer[c], m_original[c]))
            changed.append(c);
    }
    if (changed.isEmpty())
        return;
    const bool pg = m_connection->backend() == db::Backend::PostgreSQL;
    const QString same = pg ? QStringLiteral(" IS NOT DISTINCT FROM ?") : QStringLiteral(" IS ?");
    QStringList sets;
    QStringList where;
    db::Params setParams;
    db::Params whereParams;
    for (const int c : changed) {
        sets << m_connection->quoteIdentifier(m_columns[size_t(c)].info().baseColumn) + QStringLiteral(" = ?");
        setParams << parameterValue(m_buffer[c]);
    }
    // The row as it was read: its key, and the old values of what changed, so a
    // row another workstation changed or removed in the meantime is not overwritten.
    QList<int> criteria = keyColumns(table);
    for (const int c : changed) {
        if (!criteria.contains(c))
            criteria.append(c);
    }
    for (const int c : criteria) {
        where << m_connection->quoteIdentifier(m_columns[size_t(c)].info().baseColumn) + same;
        whereParams << parameterValue(m_original[c]);
    }
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                            .arg(m_connection->quoteIdentifier(table), sets.join(QStringLiteral(", ")), where.join(QStringLiteral(" AND ")));
    if (m_connection->execute(sql, setParams + whereParams) == 0)
        throw DatasetError(kLostRow, sql);
}

void Dataset::deleteRecord()
{
    checkActive();
    if (m_state == DatasetState::Insert) {
        cancel();
        return;
    }
    cancel();
    if (isEmpty())
        throw DatasetError(QStringLiteral("%1: nema podatka za brisanje").arg(objectName()));
    const QString table = updateTable();
    const uint32_t row = m_view[size_t(m_current)];
    QStringList where;
    db::Params params;
    const bool pg = m_connection->backend() == db::Backend::PostgreSQL;
    for (const int c : keyColumns(table)) {
        where << m_connection->quoteIdentifier(m_columns[size_t(c)].info().baseColumn)
                     + (pg ? QStringLiteral(" IS NOT DISTINCT FROM ?") : QStringLiteral(" IS ?"));
        params << parameterValue(m_columns[size_t(c)].value(row));
    }
    if (where.isEmpty())
        throw DatasetError(QStringLiteral("%1: nije poznata tabela iz koje se briše").arg(objectName()));
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_connection->quoteIdentifier(table), where.join(QStringLiteral(" AND ")));
    if (m_connection->execute(sql, params) == 0)
        throw DatasetError(QStringLiteral("Podatak nije obrisan: u međuvremenu ga je izmenila ili obrisala druga radna stanica. "
                                          "Osvežite spisak (F5)."),
                           sql);
    removeStoreRowFromView(row);
}

void Dataset::removeStoreRowFromView(uint32_t row)
{
    m_deleted[row] = 1;
    --m_liveRows;
    m_ordered.erase(std::find(m_ordered.begin(), m_ordered.end(), row));
    const auto it = std::find(m_view.begin(), m_view.end(), row);
    const int position = int(it - m_view.begin());
    m_view.erase(it);
    m_current = std::min(m_current, recordCount() - 1);
    if (m_disabled == 0) {
        emit rowRemoved(position);
        emit currentChanged(m_current);
    }
}

QStringList Dataset::keyFieldList() const
{
    QStringList names;
    for (const QString &name : m_indexFieldNames.split(u';', Qt::SkipEmptyParts))
        names << name.trimmed();
    return names;
}

Bookmark Dataset::bookmark() const
{
    Bookmark b;
    b.row = storeRowAt(m_current);
    b.generation = m_generation;
    if (b.row >= 0) {
        for (const QString &name : keyFieldList()) {
            const int c = columnIndex(name);
            b.keyValues.append(c < 0 ? QVariant() : m_columns[size_t(c)].value(size_t(b.row)));
        }
    }
    return b;
}

bool Dataset::gotoBookmark(const Bookmark &b)
{
    checkActive();
    if (!b.isValid())
        return false;
    if (b.generation == m_generation && size_t(b.row) < m_deleted.size() && !m_deleted[size_t(b.row)]) {
        const auto it = std::find(m_view.begin(), m_view.end(), uint32_t(b.row));
        if (it != m_view.end()) {
            moveTo(int(it - m_view.begin()));
            return true;
        }
    }
    // After a requery the row is found again by its key.
    const QStringList keys = keyFieldList();
    if (keys.isEmpty() || keys.size() != b.keyValues.size())
        return false;
    return locate(keys.join(u';'), b.keyValues, 0);
}

bool Dataset::rowMatches(uint32_t row, const std::vector<int> &columns, const QVariantList &values, LocateOptions options) const
{
    for (size_t i = 0; i < columns.size(); ++i) {
        const ColumnStore &store = m_columns[size_t(columns[i])];
        const QVariant &wanted = values[qsizetype(i)];
        if (!wanted.isValid() || wanted.isNull()) {
            if (!store.isNull(row))
                return false;
            continue;
        }
        if (store.isNull(row))
            return false;
        if (store.storage() == ColumnStore::Storage::Text) {
            const QString text = wanted.toString();
            const bool partial = options & loPartialKey;
            const bool anywhere = partial && text.startsWith(u'%');
            const QString needle = anywhere ? text.mid(1) : text;
            const bool fold = options & loCaseInsensitive;
            const std::string key = fold ? folded(needle.toStdString()) : needle.toStdString();
            const std::string_view value = fold ? store.foldedText(row) : store.text(row);
            const bool hit = anywhere ? value.find(key) != std::string_view::npos
                             : partial ? value.substr(0, key.size()) == key
                                       : value == key;
            if (!hit)
                return false;
            continue;
        }
        const QVariant v = store.coerce(wanted);
        if (!v.isValid())
            return false;
        if (store.storage() == ColumnStore::Storage::Real) {
            if (store.real(row) != v.toDouble())
                return false;
        } else {
            const qint64 n = store.info().type == db::ColumnType::DateTime ? db::toStoredMsecs(v.toDateTime()) : v.toLongLong();
            if (store.integer(row) != n)
                return false;
        }
    }
    return true;
}

bool Dataset::locate(const QString &fields, const QVariantList &values, LocateOptions options)
{
    checkActive();
    std::vector<int> columns;
    for (const QString &name : fields.split(u';', Qt::SkipEmptyParts)) {
        const int c = columnIndex(name.trimmed());
        if (c < 0)
            throw DatasetError(QStringLiteral("%1: polje '%2' ne postoji").arg(objectName(), name));
        columns.push_back(c);
    }
    if (columns.empty() || int(columns.size()) != values.size())
        throw DatasetError(QStringLiteral("%1: pretraga traži po jednu vrednost za svako polje").arg(objectName()));
    checkBrowseMode();

    // One text column, the usual search: the needle is prepared once.
    if (columns.size() == 1 && m_columns[size_t(columns[0])].storage() == ColumnStore::Storage::Text && values[0].isValid()
        && !values[0].isNull()) {
        const ColumnStore &store = m_columns[size_t(columns[0])];
        const QString text = values[0].toString();
        const bool partial = options & loPartialKey;
        const bool anywhere = partial && text.startsWith(u'%');
        const bool fold = options & loCaseInsensitive;
        const std::string key = fold ? folded((anywhere ? text.mid(1) : text).toStdString()) : (anywhere ? text.mid(1) : text).toStdString();
        if (fold && !store.isEmpty())
            store.foldedText(0); // the cache is built once, before the scan
        return moveToFirstMatch([&](uint32_t row) {
            if (store.isNull(row))
                return false;
            const std::string_view value = fold ? store.foldedText(row) : store.text(row);
            return anywhere  ? value.find(key) != std::string_view::npos
                   : partial ? value.size() >= key.size() && std::memcmp(value.data(), key.data(), key.size()) == 0
                             : value == key;
        });
    }
    return moveToFirstMatch([&](uint32_t row) { return rowMatches(row, columns, values, options); });
}

std::vector<Dataset::SortKey> Dataset::parseSort(const QString &sort) const
{
    std::vector<SortKey> keys;
    for (const QString &part : sort.split(u',', Qt::SkipEmptyParts)) {
        QStringList words = part.trimmed().split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty())
            continue;
        bool descending = false;
        if (words.size() > 1) {
            const QString direction = words.last().toUpper();
            if (direction == QLatin1String("DESC") || direction == QLatin1String("ASC")) {
                descending = direction == QLatin1String("DESC");
                words.removeLast();
            }
        }
        QString name = words.join(u' ');
        if (name.startsWith(u'[') && name.endsWith(u']'))
            name = name.mid(1, name.size() - 2);
        const int c = columnIndex(name);
        if (c < 0)
            throw DatasetError(QStringLiteral("%1: ne može se sortirati po polju '%2'").arg(objectName(), name));
        keys.push_back({c, descending});
    }
    return keys;
}

bool Dataset::lessThan(uint32_t a, uint32_t b) const
{
    for (const SortKey &key : m_sortKeys) {
        const ColumnStore &store = m_columns[size_t(key.column)];
        const bool nullA = store.isNull(a);
        const bool nullB = store.isNull(b);
        int order = 0;
        if (nullA || nullB) {
            order = nullA == nullB ? 0 : nullA ? -1 : 1; // NULL first when ascending
        } else {
            switch (store.storage()) {
            case ColumnStore::Storage::Integer: {
                const qint64 x = store.integer(a), y = store.integer(b);
                order = x < y ? -1 : x > y ? 1 : 0;
                break;
            }
            case ColumnStore::Storage::Real: {
                const double x = store.real(a), y = store.real(b);
                order = x < y ? -1 : x > y ? 1 : 0;
                break;
            }
            case ColumnStore::Storage::Text: {
                const uint64_t pa = store.sortKeyPrefix(a), pb = store.sortKeyPrefix(b);
                if (pa != pb) {
                    order = pa < pb ? -1 : 1;
                } else {
                    const std::string_view ka = store.sortKey(a), kb = store.sortKey(b);
                    order = ka.compare(kb);
                }
                break;
            }
            }
        }
        if (order != 0)
            return key.descending ? order > 0 : order < 0;
    }
    return false;
}

void Dataset::applyFilter()
{
    if (!m_filter) {
        m_view = m_ordered;
        return;
    }
    // Evaluated in store order, where the column data lies in sequence; the
    // sorted order then only looks the answers up.
    std::vector<uint8_t> passes(m_deleted.size(), 0);
    for (uint32_t row = 0; row < m_deleted.size(); ++row)
        passes[row] = !m_deleted[row] && m_filter->matches(row);
    m_view.clear();
    for (const uint32_t row : m_ordered) {
        if (passes[row])
            m_view.push_back(row);
    }
}

bool Dataset::moveToFirstMatch(const std::function<bool(uint32_t)> &matches)
{
    // The store is scanned in sequence; the current order decides which match is first.
    std::vector<uint8_t> hits(m_deleted.size(), 0);
    bool any = false;
    for (uint32_t row = 0; row < m_deleted.size(); ++row) {
        if (!m_deleted[row] && matches(row)) {
            hits[row] = 1;
            any = true;
        }
    }
    if (!any)
        return false;
    for (size_t pos = 0; pos < m_view.size(); ++pos) {
        if (hits[m_view[pos]]) {
            moveTo(int(pos));
            return true;
        }
    }
    return false;
}

void Dataset::applyOrder()
{
    m_ordered.clear();
    m_ordered.reserve(m_liveRows);
    for (uint32_t row = 0; row < m_deleted.size(); ++row) {
        if (!m_deleted[row])
            m_ordered.push_back(row);
    }
    if (!m_sortKeys.empty()) {
        // Build the caches before sorting, outside the comparisons.
        for (const SortKey &key : m_sortKeys) {
            if (m_columns[size_t(key.column)].storage() == ColumnStore::Storage::Text && !m_ordered.empty())
                m_columns[size_t(key.column)].sortKeyPrefix(0);
        }
        std::stable_sort(m_ordered.begin(), m_ordered.end(), [this](uint32_t a, uint32_t b) { return lessThan(a, b); });
    }
    applyFilter();
}

void Dataset::setSort(const QString &sort)
{
    if (!active()) {
        parseSort(QString()); // nothing to check against yet
        m_sort = sort.trimmed();
        return;
    }
    std::vector<SortKey> keys = parseSort(sort); // throws before anything changes
    checkBrowseMode();
    const qint64 row = storeRowAt(m_current);
    m_sort = sort.trimmed();
    m_sortKeys = std::move(keys);
    applyOrder();
    const auto it = std::find(m_view.begin(), m_view.end(), uint32_t(row));
    m_current = it == m_view.end() ? (m_view.empty() ? -1 : 0) : int(it - m_view.begin());
    emitReset();
}

void Dataset::setIndexFieldNames(const QString &names)
{
    QStringList parts;
    for (const QString &name : names.split(u';', Qt::SkipEmptyParts))
        parts << name.trimmed();
    setSort(parts.join(QStringLiteral(", ")));
    m_indexFieldNames = parts.join(u';');
}

void Dataset::setFilter(const QString &filter)
{
    m_filterText = filter;
    if (active() && m_filtered)
        setFiltered(true);
}

void Dataset::setFiltered(bool filtered)
{
    if (!active()) {
        m_filtered = filtered;
        return;
    }
    std::unique_ptr<FilterExpression> expression;
    if (filtered && !m_filterText.trimmed().isEmpty())
        expression = std::make_unique<FilterExpression>(m_filterText, [this](const QString &name) -> const ColumnStore * {
            const int c = columnIndex(name);
            return c < 0 ? nullptr : &m_columns[size_t(c)];
        });
    checkBrowseMode();
    m_filtered = filtered;
    m_filter = std::move(expression);
    applyFilter(); // the order stays
    m_current = m_view.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_view.empty();
    emitReset();
}

void Dataset::disableControls()
{
    ++m_disabled;
}

void Dataset::enableControls()
{
    if (m_disabled == 0 || --m_disabled > 0)
        return;
    m_pendingReset = false;
    emit reset();
    emit currentChanged(m_current);
}

size_t Dataset::memoryBytes() const
{
    size_t bytes = m_deleted.capacity() + (m_ordered.capacity() + m_view.capacity()) * sizeof(uint32_t);
    for (const ColumnStore &column : m_columns)
        bytes += column.memoryBytes();
    return bytes;
}

} // namespace velmora::data
