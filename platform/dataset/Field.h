#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace velmora::data {

class Dataset;

// The kinds of field the program declares (those of the original client).
enum class FieldType { Integer, SmallInt, Word, Float, BCD, String, WideString, Memo, WideMemo, DateTime, Boolean, Unknown };
enum class FieldKind { Data, Calculated, Lookup };

// A field declared in advance by a data module: its type, whether it must
// have a value, the label grids and messages show, and for flags the texts
// shown for yes and no ("Da;Ne").
struct FieldDef {
    QString name;
    FieldType type = FieldType::Unknown;
    int size = 0;
    bool required = false;
    QString displayLabel;
    QString displayValues;
    FieldKind kind = FieldKind::Data;
};

// A live view of one column of a dataset's current row.
class Field {
public:
    Field(Dataset *dataset, FieldDef def, int column);

    const QString &fieldName() const { return m_def.name; }
    QString displayLabel() const { return m_def.displayLabel.isEmpty() ? m_def.name : m_def.displayLabel; }
    FieldType dataType() const { return m_def.type; }
    FieldKind fieldKind() const { return m_def.kind; }
    bool required() const { return m_def.required; }
    int size() const { return m_def.size; }
    const QString &displayValues() const { return m_def.displayValues; }
    const FieldDef &definition() const { return m_def; }
    // The result column it reads; -1 for a field without one (calculated).
    int column() const { return m_column; }
    Dataset *dataset() const { return m_dataset; }

    bool isTextKind() const;
    bool isNumericKind() const;

    // The current row's value; invalid for NULL.
    QVariant value() const;
    bool isNull() const { return !value().isValid(); }
    QString asString() const;
    qint64 asInteger() const;
    double asFloat() const;
    QDateTime asDateTime() const;
    bool asBoolean() const;
    // As grids show it: dates dd.MM.yyyy, decimals with ",", flags "Da"/"Ne".
    QString displayText() const;
    QString displayText(const QVariant &value) const;

    // Only in the edit and insert states.
    void setValue(const QVariant &value);
    void clear() { setValue(QVariant()); }

    QString baseTable() const;
    QString baseColumn() const;

private:
    friend class Dataset;
    Dataset *m_dataset;
    FieldDef m_def;
    int m_column;
};

} // namespace velmora::data
