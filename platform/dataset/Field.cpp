#include "Field.h"

#include "Dataset.h"
#include "DatasetError.h"
#include "platform/core/Formatting.h"

namespace velmora::data {

Field::Field(Dataset *dataset, FieldDef def, int column)
    : m_dataset(dataset)
    , m_def(std::move(def))
    , m_column(column)
{
}

bool Field::isTextKind() const
{
    switch (m_def.type) {
    case FieldType::String:
    case FieldType::WideString:
    case FieldType::Memo:
    case FieldType::WideMemo:
        return true;
    default:
        return false;
    }
}

bool Field::isNumericKind() const
{
    switch (m_def.type) {
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::Word:
    case FieldType::Float:
    case FieldType::BCD:
        return true;
    default:
        return false;
    }
}

QVariant Field::value() const
{
    if (m_column < 0)
        return QVariant();
    const QVariant v = m_dataset->currentValue(m_column);
    if (v.isValid() && m_def.type == FieldType::Boolean)
        return v.toLongLong() != 0;
    return v;
}

QString Field::asString() const
{
    const QVariant v = value();
    if (!v.isValid())
        return QString();
    switch (v.typeId()) {
    case QMetaType::QDateTime: return format::dateTimeToText(v.toDateTime());
    case QMetaType::Double: return format::numberToText(v.toDouble());
    case QMetaType::Bool: return displayText(v);
    default: return v.toString();
    }
}

qint64 Field::asInteger() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QString)
        return v.toString().trimmed().toLongLong();
    return v.toLongLong();
}

double Field::asFloat() const
{
    const QVariant v = value();
    return v.typeId() == QMetaType::QString ? format::textToNumber(v.toString()) : v.toDouble();
}

QDateTime Field::asDateTime() const
{
    return value().toDateTime();
}

bool Field::asBoolean() const
{
    const QVariant v = value();
    return v.isValid() && (v.typeId() == QMetaType::Bool ? v.toBool() : v.toLongLong() != 0);
}

QString Field::displayText() const
{
    return displayText(value());
}

QString Field::displayText(const QVariant &v) const
{
    if (!v.isValid())
        return QString();
    if (m_def.type == FieldType::Boolean || !m_def.displayValues.isEmpty()) {
        const QStringList texts = (m_def.displayValues.isEmpty() ? QStringLiteral("Da;Ne") : m_def.displayValues).split(u';');
        const bool yes = v.typeId() == QMetaType::Bool ? v.toBool() : v.toLongLong() != 0;
        return yes ? texts.value(0) : texts.value(1);
    }
    switch (v.typeId()) {
    case QMetaType::QDateTime: return format::dateTimeToText(v.toDateTime());
    case QMetaType::Double: return format::numberToText(v.toDouble());
    default: return v.toString();
    }
}

void Field::setValue(const QVariant &value)
{
    if (m_column < 0)
        throw DatasetError(QStringLiteral("Polje '%1' se ne može menjati").arg(m_def.name));
    m_dataset->setCurrentValue(m_column, value);
}

QString Field::baseTable() const
{
    return m_column < 0 ? QString() : m_dataset->columnInfo(m_column).baseTable;
}

QString Field::baseColumn() const
{
    return m_column < 0 ? QString() : m_dataset->columnInfo(m_column).baseColumn;
}

} // namespace velmora::data
