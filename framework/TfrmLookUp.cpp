#include "TfrmLookUp.h"

#include "DbControls.h"
#include "DbRoutines.h"
#include "TcData.h"
#include "app/Globals.h"
#include "app/YUDlg.h"
#include "platform/dataset/Dataset.h"
#include "platform/db/Connection.h"
#include "platform/db/Dialect.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QStyle>
#include <QToolButton>

namespace velmora {
namespace {

// The program's keys are whole numbers: any other code names no row, and is
// never sent as SQL.
bool isCode(const QString &code)
{
    bool ok = false;
    code.trimmed().toLongLong(&ok);
    return ok;
}

} // namespace

TfrmLookUp::TfrmLookUp(QWidget *parent, const QString &name)
    : QWidget(parent)
{
    setObjectName(name);
    setMinimumSize(326, 22);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    dbLookField = new TDBEdit(this);
    dbLookField->setObjectName(QStringLiteral("dbLookField"));
    dbLookField->setFixedWidth(55);
    cbLookBox = new QComboBox(this);
    cbLookBox->setObjectName(QStringLiteral("cbLookBox"));
    cbLookBox->setMinimumWidth(249);
    cbLookBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    sbLook = new QToolButton(this);
    sbLook->setObjectName(QStringLiteral("sbLook"));
    sbLook->setFixedSize(20, 21);
    sbLook->setAutoRaise(true);
    sbLook->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    sbLook->setToolTip(QStringLiteral("Poziv kataloga"));
    sbLook->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(dbLookField);
    layout->addWidget(cbLookBox, 1);
    layout->addWidget(sbLook);
    connect(sbLook, &QToolButton::clicked, this, &TfrmLookUp::sbLookClick);
    dbLookField->installEventFilter(this);
    cbLookBox->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &TfrmLookUp::focusChanged);
}

void TfrmLookUp::Configure(const QString &keyField, const QString &displayField, PickerFactory pickerClass, const QString &tableName)
{
    KeyField = keyField;
    DisplayField = displayField;
    PickerClass = std::move(pickerClass);
    TableName = tableName;
}

void TfrmLookUp::setDataField(data::Dataset *dataset, const QString &fieldName)
{
    dbLookField->setDataField(dataset, fieldName);
}

void TfrmLookUp::setList(data::Dataset *list, const QString &keyField, const QStringList &listFields, int tag)
{
    m_list = list;
    m_listKey = keyField;
    m_listFields = listFields;
    m_listTag = tag;
}

data::Dataset *TfrmLookUp::editedDataset() const
{
    return dbLookField->dataset();
}

QString TfrmLookUp::editedField() const
{
    return dbLookField->fieldName();
}

bool TfrmLookUp::editing() const
{
    return editedDataset() && editedDataset()->isEditing();
}

void TfrmLookUp::openList()
{
    if (m_list && !m_list->active())
        m_list->open();
    fillList();
}

void TfrmLookUp::closeList()
{
    if (m_list)
        m_list->close();
}

void TfrmLookUp::fillList()
{
    cbLookBox->clear();
    if (!m_list || !m_list->active())
        return;
    const data::Field *key = m_list->findField(m_listKey);
    QList<int> columns;
    for (const QString &name : std::as_const(m_listFields)) {
        if (const data::Field *f = m_list->findField(name))
            columns << f->column();
    }
    if (!key || columns.isEmpty())
        return;
    for (int row = 0; row < m_list->recordCount(); ++row) {
        QStringList parts;
        for (const int c : std::as_const(columns))
            parts << m_list->displayTextAt(row, c);
        cbLookBox->addItem(parts.join(QStringLiteral("  |  ")), m_list->valueAt(row, key->column()));
        cbLookBox->setItemData(cbLookBox->count() - 1, parts.first(), Qt::UserRole + 1);
    }
    cbLookBox->setCurrentIndex(-1);
}

QVariant TfrmLookUp::listValue() const
{
    return cbLookBox->currentIndex() < 0 ? QVariant() : cbLookBox->currentData();
}

QString TfrmLookUp::listText() const
{
    return cbLookBox->currentIndex() < 0 ? QString() : cbLookBox->currentData(Qt::UserRole + 1).toString();
}

void TfrmLookUp::setEdited(const QVariant &value)
{
    if (data::Field *field = dbLookField->field(); field && editing())
        field->setValue(value);
}

void TfrmLookUp::Puni(const QString &code)
{
    QVariantList row;
    if (isCode(code) && Globals.Connection) {
        // SELECT key, display FROM table WHERE key = code: the code is bound, never SQL.
        const QString sql = QStringLiteral("SELECT ") + KeyField + QStringLiteral(", ") + DisplayField + QStringLiteral(" FROM ") + TableName
                            + QStringLiteral("\nWHERE ") + KeyField + QStringLiteral("=?");
        const QList<QVariantList> rows = Globals.Connection->selectRows(sql, {code.trimmed().toLongLong()});
        if (!rows.isEmpty())
            row = rows.first();
    }
    if (row.isEmpty()) {
        cbLookBox->setCurrentIndex(-1);
        return;
    }
    const QString display = row.value(1).toString();
    int index = cbLookBox->findData(row.value(0));
    if (index < 0) {
        // The row is not in the list yet (an entry made in the picker): add it.
        cbLookBox->addItem(display, row.value(0));
        index = cbLookBox->count() - 1;
        cbLookBox->setItemData(index, display, Qt::UserRole + 1);
    }
    cbLookBox->setCurrentIndex(index);
    setEdited(code.isEmpty() ? QVariant() : QVariant(code.trimmed()));
}

void TfrmLookUp::dbLookFieldExit()
{
    if (!editing())
        return;
    try {
        dbLookField->commit();
    } catch (const std::exception &) {
        // a code that is no number is refused below
    }
    if (!dbLookField->text().isEmpty())
        Puni(dbLookField->text());
    else
        cbLookBox->setCurrentIndex(-1);
}

void TfrmLookUp::cbLookBoxExit()
{
    const QVariant value = listValue();
    if (!value.isValid() || !editing())
        return;
    setEdited(value);
    dbLookField->refresh();
}

void TfrmLookUp::FrameExit()
{
    if (!editing())
        return;
    const QString code = dbLookField->text().trimmed();
    if (code.isEmpty()) {
        setEdited(QVariant());
        return;
    }
    const bool exists = isCode(code)
                        && RowExists(KeyField, TableName, KeyField + QStringLiteral("=") + db::dialect::quoteString(code));
    if (exists) {
        setEdited(listValue().isValid() ? listValue() : QVariant());
        dbLookField->refresh();
        return;
    }
    MessageDialog(QStringLiteral("Podatak ne postoji u traženom katalogu !!!"), mtWarning, mbOK);
    setEdited(QVariant());
    dbLookField->clear();
    dbLookField->setFocus();
}

void TfrmLookUp::sbLookClick()
{
    std::unique_ptr<TcData> picker = PickerClass ? PickerClass() : nullptr;
    if (!picker) {
        QMessageBox::critical(window(), QStringLiteral("Pregled"),
                              QStringLiteral("Nije pridružena forma za pregled !!!\nObratite se proizvodjačima programa."));
        return;
    }
    if (cbLookBox->hasFocus()) {
        TcData::LookupLocateField = m_listFields.value(0, DisplayField);
        if (!listText().isEmpty())
            TypedText = listText();
        Globals.LastKey = TypedText.isEmpty() ? QVariant() : QVariant(TypedText);
    } else {
        TcData::LookupLocateField.clear();
        Globals.LastKey = dbLookField->text().isEmpty() ? QVariant() : QVariant(dbLookField->text());
    }
    picker->LookupMode = true;
    picker->exec();
    picker->LookupMode = false;
    picker.reset();
    if (m_list && m_list->active())
        fillList(); // the picker may have added rows
    if (!Globals.LastKey.isValid() || Globals.LastKey.isNull()) {
        cbLookBox->setCurrentIndex(-1);
        return;
    }
    Puni(Globals.LastKey.toString());
    dbLookField->refresh();
}

void TfrmLookUp::focusChanged(QWidget *old, QWidget *now)
{
    const bool wasInside = old && isAncestorOf(old);
    const bool isInside = now && isAncestorOf(now);
    if (now == cbLookBox && old != cbLookBox)
        TypedText.clear();
    if (old == dbLookField && now != dbLookField)
        dbLookFieldExit();
    if (old == cbLookBox && now != cbLookBox)
        cbLookBoxExit();
    if (wasInside && !isInside)
        FrameExit();
}

bool TfrmLookUp::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched == cbLookBox) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!key->text().isEmpty() && key->text().at(0).isPrint())
            TypedText += key->text();
    }
    if (event->type() == QEvent::KeyRelease && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F2 && sbLook->isVisible()) {
        sbLookClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace velmora
