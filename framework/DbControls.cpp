#include "DbControls.h"

#include "app/YUDlg.h"
#include "platform/dataset/Dataset.h"
#include "platform/dataset/DatasetError.h"

namespace velmora {

data::Field *DbBinding::field() const
{
    return m_dataset ? m_dataset->findField(m_fieldName) : nullptr;
}

bool DbBinding::writable() const
{
    return m_dataset && m_dataset->isEditing() && field();
}

void DbBinding::bind(QObject *control, data::Dataset *dataset, const QString &fieldName)
{
    if (m_dataset)
        QObject::disconnect(m_dataset, nullptr, control, nullptr);
    m_dataset = dataset;
    m_fieldName = fieldName;
    if (!dataset)
        return;
    const auto reload = [this] {
        if (!m_loading)
            refresh();
    };
    QObject::connect(dataset, &data::Dataset::reset, control, reload);
    QObject::connect(dataset, &data::Dataset::currentChanged, control, reload);
    QObject::connect(dataset, &data::Dataset::rowChanged, control, reload);
    QObject::connect(dataset, &data::Dataset::stateChanged, control, reload);
}

TDBEdit::TDBEdit(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, &TDBEdit::edited);
}

void TDBEdit::setDataField(data::Dataset *dataset, const QString &fieldName)
{
    bind(this, dataset, fieldName);
    refresh();
}

void TDBEdit::refresh()
{
    const data::Field *f = field();
    m_pending = false;
    setText(f ? (f->isTextKind() ? f->asString() : f->displayText()) : QString());
    // Text editors take the maximum length of their column, on every backend.
    if (f && f->column() >= 0 && m_dataset->columnInfo(f->column()).length > 0)
        setMaxLength(m_dataset->columnInfo(f->column()).length);
    setReadOnly(!m_dataset || !m_dataset->isEditing());
}

void TDBEdit::edited(const QString &typed)
{
    QString text = typed;
    if (m_upper && text != text.toUpper()) {
        const int cursor = cursorPosition();
        text = text.toUpper();
        setText(text);
        setCursorPosition(cursor);
    }
    if (!writable())
        return;
    data::Field *f = field();
    m_loading = true;
    try {
        f->setValue(text.isEmpty() && !f->isTextKind() ? QVariant() : QVariant(text));
        m_pending = false;
    } catch (const data::DatasetError &) {
        m_pending = true; // not a value yet: checked when the field is left
    }
    m_loading = false;
}

void TDBEdit::commit()
{
    if (!m_pending || !writable())
        return;
    m_loading = true;
    try {
        field()->setValue(text());
        m_pending = false;
    } catch (...) {
        m_loading = false;
        throw;
    }
    m_loading = false;
}

void TDBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (!m_pending || !writable())
        return;
    try {
        commit();
    } catch (const data::DatasetError &error) {
        MessageDialog(error.message(), mtWarning, mbOK);
        setFocus();
    }
}

TDBMemo::TDBMemo(QWidget *parent)
    : QPlainTextEdit(parent)
{
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_loading || !writable())
            return;
        m_loading = true;
        field()->setValue(toPlainText());
        m_loading = false;
    });
}

void TDBMemo::setDataField(data::Dataset *dataset, const QString &fieldName)
{
    bind(this, dataset, fieldName);
    refresh();
}

void TDBMemo::refresh()
{
    const data::Field *f = field();
    m_loading = true;
    setPlainText(f ? f->asString() : QString());
    m_loading = false;
    setReadOnly(!m_dataset || !m_dataset->isEditing());
}

TDBCheckBox::TDBCheckBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
{
    setTristate(true);
}

void TDBCheckBox::setDataField(data::Dataset *dataset, const QString &fieldName)
{
    bind(this, dataset, fieldName);
    refresh();
}

void TDBCheckBox::refresh()
{
    const data::Field *f = field();
    setCheckState(!f || f->isNull() ? Qt::PartiallyChecked : f->asBoolean() ? Qt::Checked : Qt::Unchecked);
}

void TDBCheckBox::nextCheckState()
{
    if (!writable())
        return;
    const bool yes = checkState() != Qt::Checked;
    setCheckState(yes ? Qt::Checked : Qt::Unchecked);
    m_loading = true;
    field()->setValue(yes ? 1 : 0);
    m_loading = false;
}

} // namespace velmora
