#include "TcDataDialog.h"

#include "DbControls.h"
#include "DbRoutines.h"
#include "TfrmGrid.h"
#include "TfrmLookUp.h"
#include "app/Globals.h"
#include "app/YUDlg.h"
#include "connection/TdmPodaci.h"
#include "database/StoredProc.h"
#include "platform/core/Formatting.h"
#include "platform/dataset/Dataset.h"
#include "platform/db/Connection.h"
#include "platform/db/Dialect.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace velmora {

TcDataDialog::TcDataDialog(TfrmGrid *owner)
    : TcMain(owner->window())
    , m_owner(owner)
{
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QFont bold = programFont();
    bold.setPixelSize(13);
    bold.setBold(true);
    setFont(bold);

    auto *layout = new QVBoxLayout(this);
    pcDialog = new QTabWidget(this);
    pcDialog->setObjectName(QStringLiteral("pcDialog"));
    layout->addWidget(pcDialog, 1);
    TabSheet1 = addPage(QStringLiteral("Podaci"));
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    layout->addWidget(Bevel1);

    const auto action = [this](const char *name, const QString &caption, const QString &hint, const QKeySequence &key) {
        auto *a = new QAction(caption, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(hint);
        a->setShortcut(key);
        addAction(a);
        return a;
    };
    aSave = action("aSave", QStringLiteral("&U redu"), QString(), Qt::CTRL | Qt::Key_S);
    aCancel = action("aCancel", QStringLiteral("&Odustani"), QString(), {});
    aCut = action("aCut", QStringLiteral("&Odseci"), QStringLiteral("Odsecanje teksta"), Qt::CTRL | Qt::Key_X);
    aCopy = action("aCopy", QStringLiteral("&Kopiraj"), QStringLiteral("Kopiraj tekst"), Qt::CTRL | Qt::Key_C);
    aPaste = action("aPaste", QStringLiteral("&Spusti"), QStringLiteral("Spusti tekst"), Qt::CTRL | Qt::Key_V);
    aSelectAll = action("aSelectAll", QStringLiteral("Označi &ceo tekst"), QStringLiteral("Označi ceo tekst"), Qt::CTRL | Qt::Key_A);
    // The editing actions reach the focused editor through its own slots.
    for (QAction *a : {aCut, aCopy, aPaste, aSelectAll})
        a->setShortcutContext(Qt::WidgetShortcut);
    connect(aCut, &QAction::triggered, this, [] { if (auto *e = qobject_cast<QLineEdit *>(QApplication::focusWidget())) e->cut(); });
    connect(aCopy, &QAction::triggered, this, [] { if (auto *e = qobject_cast<QLineEdit *>(QApplication::focusWidget())) e->copy(); });
    connect(aPaste, &QAction::triggered, this, [] { if (auto *e = qobject_cast<QLineEdit *>(QApplication::focusWidget())) e->paste(); });
    connect(aSelectAll, &QAction::triggered, this, [] { if (auto *e = qobject_cast<QLineEdit *>(QApplication::focusWidget())) e->selectAll(); });
    pmDataDialog = new QMenu(this);
    pmDataDialog->addActions({aCut, aCopy, aPaste});
    pmDataDialog->addSeparator();
    pmDataDialog->addAction(aSelectAll);

    auto *buttons = new QHBoxLayout;
    cbKont = new QCheckBox(QStringLiteral("Kontinualan unos"), this);
    cbKont->setObjectName(QStringLiteral("cbKont"));
    buttons->addWidget(cbKont);
    buttons->addStretch(1);
    btnOk = new QPushButton(aSave->text(), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOdustani = new QPushButton(aCancel->text(), this);
    btnOdustani->setObjectName(QStringLiteral("btnOdustani"));
    btnOdustani->setToolTip(QStringLiteral("Odustani"));
    for (QPushButton *b : {btnOk, btnOdustani}) {
        b->setMinimumWidth(110);
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(btnOk, &QPushButton::clicked, aSave, &QAction::trigger);
    connect(btnOdustani, &QPushButton::clicked, aCancel, &QAction::trigger);
    connect(aSave, &QAction::triggered, this, [this] { aSaveExecute(); });
    connect(aCancel, &QAction::triggered, this, &TcDataDialog::aCancelExecute);
    connect(aSave, &QAction::changed, btnOk, [this] { btnOk->setText(aSave->text()); });
}

data::Dataset *TcDataDialog::dataset() const
{
    return m_owner->dataset();
}

QWidget *TcDataDialog::addPage(const QString &caption)
{
    auto *page = new QWidget(pcDialog);
    auto *layout = new QVBoxLayout(page);
    layout->setSpacing(3);
    layout->addStretch(1);
    pcDialog->addTab(page, caption);
    return page;
}

namespace {

void place(QWidget *page, QWidget *control, const QString &label)
{
    auto *layout = static_cast<QVBoxLayout *>(page->layout());
    const int at = layout->count() - 1; // before the stretch
    if (!label.isEmpty()) {
        auto *l = new QLabel(label, page);
        l->setBuddy(control);
        layout->insertWidget(at, l);
        layout->insertWidget(at + 1, control);
    } else {
        layout->insertWidget(at, control);
    }
    QFont plain = TcMain::programFont();
    plain.setPixelSize(12);
    plain.setBold(false); // set, so it is not taken from the dialog's bold text
    control->setFont(plain);
}

} // namespace

TDBEdit *TcDataDialog::addEdit(QWidget *page, const QString &label, const QString &field, int tag)
{
    auto *edit = new TDBEdit(page);
    edit->setObjectName(QStringLiteral("ed") + QString(field).remove(u' '));
    edit->setTag(tag);
    edit->setDataField(dataset(), field);
    place(page, edit, label);
    return edit;
}

TDBMemo *TcDataDialog::addMemo(QWidget *page, const QString &label, const QString &field, int tag)
{
    auto *memo = new TDBMemo(page);
    memo->setObjectName(QStringLiteral("mem") + QString(field).remove(u' '));
    memo->setTag(tag);
    memo->setDataField(dataset(), field);
    place(page, memo, label);
    return memo;
}

TDBCheckBox *TcDataDialog::addCheckBox(QWidget *page, const QString &caption, const QString &field, int tag)
{
    auto *box = new TDBCheckBox(caption, page);
    box->setObjectName(QStringLiteral("chk") + QString(field).remove(u' '));
    box->setTag(tag);
    box->setDataField(dataset(), field);
    place(page, box, QString());
    return box;
}

TfrmLookUp *TcDataDialog::addLookup(QWidget *page, const QString &label, const QString &field, const QString &name)
{
    auto *frame = new TfrmLookUp(page, name);
    frame->setDataField(dataset(), field);
    place(page, frame, label);
    return frame;
}

void TcDataDialog::FormCreate()
{
    TcMain::FormCreate();
}

QList<QWidget *> TcDataDialog::examinedControls(QWidget *page) const
{
    QList<QWidget *> controls;
    for (QWidget *w : page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<TDBEdit *>(w) || qobject_cast<TDBMemo *>(w) || qobject_cast<TDBCheckBox *>(w) || qobject_cast<TfrmLookUp *>(w))
            controls << w;
    }
    return controls;
}

QString TcDataDialog::controlField(QWidget *control) const
{
    if (auto *lookup = qobject_cast<TfrmLookUp *>(control))
        return lookup->editedField();
    if (auto *binding = dynamic_cast<DbBinding *>(control))
        return binding->fieldName();
    return QString();
}

bool TcDataDialog::isRequired(const QString &field) const
{
    const data::Field *f = dataset()->findField(field);
    return f && f->column() >= 0 && IsRequiredColumn(dataset(), dataset()->columnInfo(f->column()).baseColumn);
}

void TcDataDialog::markRequired(QWidget *control, bool required)
{
    control->setStyleSheet(required ? QStringLiteral("background-color: rgb(255, 255, 0);") : QString());
}

void TcDataDialog::FormShow()
{
    TcMain::FormShow();
    const bool inserting = dataset()->state() == data::DatasetState::Insert;
    aSave->setText(IfThenVar(inserting, QStringLiteral("&Snimi"), QStringLiteral("&Izmeni")).toString());
    setWindowTitle(inserting ? QStringLiteral("Unos podataka") : QStringLiteral("Izmena podataka"));
    cbKont->setChecked(false);
    cbKont->setEnabled(inserting);
    PrepareControls();
}

void TcDataDialog::ApplyTagRules(QWidget *control)
{
    const auto *binding = dynamic_cast<DbBinding *>(control);
    const int tag = binding ? binding->tag() : control->property("tag").toInt();
    const data::DatasetState state = dataset()->state();
    const bool insert = state == data::DatasetState::Insert;
    const bool edit = state == data::DatasetState::Edit;
    if (((tag & tagKey) && insert) || ((tag & tagFocusOnEdit) && edit) || ((tag & tagFocusAlways) && (insert || edit))) {
        control->setEnabled(true);
        control->setFocus();
        if (auto *editor = qobject_cast<TDBEdit *>(control); editor && (tag & tagKey) && editor->field()
            && editor->field()->dataType() == data::FieldType::String)
            editor->setUpperCase(true);
    } else if (((tag & tagKey) && edit) || ((tag & tagDisabledOnEdit) && edit)) {
        control->setEnabled(false);
    } else {
        control->setEnabled(true);
    }
}

void TcDataDialog::InitLookupFrame(QWidget *control)
{
    auto *lookup = qobject_cast<TfrmLookUp *>(control);
    if (!lookup)
        return;
    if (dataset()->state() == data::DatasetState::Insert)
        lookup->cbLookBox->setCurrentIndex(-1);
    else
        lookup->Puni(lookup->dbLookField->text());
}

void TcDataDialog::PrepareControls()
{
    const bool inserting = dataset()->state() == data::DatasetState::Insert;
    QStringList tables;
    bool focused = false;
    for (int p = 0; p < pcDialog->count(); ++p) {
        for (QWidget *control : examinedControls(pcDialog->widget(p))) {
            ApplyTagRules(control);
            focused = focused || control->hasFocus();
            InitLookupFrame(control);
            const QString field = controlField(control);
            const bool required = isRequired(field);
            if (auto *box = qobject_cast<TDBCheckBox *>(control)) {
                QFont font = box->font();
                font.setBold(required);
                font.setItalic(required);
                box->setFont(font);
            } else if (auto *lookup = qobject_cast<TfrmLookUp *>(control)) {
                lookup->openList();
                lookup->dbLookFieldExit();
                markRequired(lookup->dbLookField, required);
                markRequired(lookup->cbLookBox, required);
            } else {
                markRequired(control, required);
            }
            if (inserting) {
                if (const data::Field *f = dataset()->findField(field); f && f->column() >= 0) {
                    const QString table = u'\'' + dataset()->columnInfo(f->column()).baseTable + u'\'';
                    if (!tables.contains(table))
                        tables << table;
                }
            }
        }
    }
    if (inserting && !tables.isEmpty() && dmPodaciZajednicke && dmPodaciZajednicke->connected()) {
        database::StoredProc *defaults = dmPodaciZajednicke->spVratiKoloneSaDefValue;
        defaults->close();
        defaults->setParameter(QStringLiteral("@Tabele"), tables.join(u','));
        defaults->open();
        for (int row = 0; row < defaults->recordCount(); ++row) {
            defaults->moveTo(row);
            QString value = defaults->fieldByName(QStringLiteral("COLUMN_DEF"))->asString();
            value.remove(u'(').remove(u')').remove(u'\'');
            dataset()->fieldByName(defaults->fieldByName(QStringLiteral("COLUMN_NAME"))->asString())->setValue(value);
        }
        defaults->close();
        for (int p = 0; p < pcDialog->count(); ++p) {
            for (QWidget *control : examinedControls(pcDialog->widget(p))) {
                if (auto *lookup = qobject_cast<TfrmLookUp *>(control))
                    lookup->dbLookFieldExit();
            }
        }
    }
    // Without a tagged control the first one takes the focus.
    if (!focused) {
        for (int p = 0; p < pcDialog->count(); ++p) {
            const QList<QWidget *> controls = examinedControls(pcDialog->widget(p));
            if (!controls.isEmpty()) {
                pcDialog->setCurrentIndex(p);
                if (auto *lookup = qobject_cast<TfrmLookUp *>(controls.first()))
                    lookup->dbLookField->setFocus();
                else
                    controls.first()->setFocus();
                break;
            }
        }
    }
}

void TcDataDialog::ReportKeyProblem(const QString &keyColumn, const QString &keyLiteral)
{
    MessageDialog(keyLiteral.isEmpty() ? QStringLiteral("Vrednost primarnog ključa ne može biti prazno polje.")
                                       : QStringLiteral("Vrednost sa unetim primarnim ključem vec postoji."),
                  mtWarning, mbOK);
    for (int p = 0; p < pcDialog->count(); ++p) {
        for (QWidget *control : examinedControls(pcDialog->widget(p))) {
            if (controlField(control).compare(keyColumn, Qt::CaseInsensitive) == 0) {
                pcDialog->setCurrentIndex(p);
                if (auto *lookup = qobject_cast<TfrmLookUp *>(control))
                    lookup->dbLookField->setFocus();
                else
                    control->setFocus();
                return;
            }
        }
    }
}

bool TcDataDialog::CheckRequired()
{
    for (int p = 0; p < pcDialog->count(); ++p) {
        for (QWidget *control : examinedControls(pcDialog->widget(p))) {
            bool empty = false;
            if (auto *lookup = qobject_cast<TfrmLookUp *>(control))
                empty = lookup->dbLookField->text().isEmpty();
            else if (auto *binding = dynamic_cast<DbBinding *>(control))
                empty = binding->isEmptyValue();
            if (!empty || !isRequired(controlField(control)))
                continue;
            pcDialog->setCurrentIndex(p);
            MessageDialog(QStringLiteral("Unos vrednosti u polje je obavezno!"), mtWarning, mbOK);
            if (auto *lookup = qobject_cast<TfrmLookUp *>(control))
                lookup->dbLookField->setFocus();
            else
                control->setFocus();
            return false;
        }
    }
    return true;
}

void TcDataDialog::NormaliseBeforePost()
{
    for (int p = 0; p < pcDialog->count(); ++p) {
        for (QWidget *control : examinedControls(pcDialog->widget(p))) {
            auto *edit = qobject_cast<TDBEdit *>(control);
            data::Field *f = edit ? edit->field() : nullptr;
            if (!f)
                continue;
            if ((f->dataType() == data::FieldType::Float || f->dataType() == data::FieldType::BCD) && f->isNull())
                f->setValue(0);
            else if (f->dataType() == data::FieldType::String && !f->isNull() && f->asString().isEmpty())
                f->setValue(QVariant());
        }
    }
}

void TcDataDialog::aSaveExecute()
{
    data::Dataset *d = dataset();
    // What is still typed in an editor belongs to the row.
    for (int p = 0; p < pcDialog->count(); ++p) {
        for (QWidget *control : examinedControls(pcDialog->widget(p))) {
            if (auto *edit = qobject_cast<TDBEdit *>(control))
                edit->commit();
            else if (auto *lookup = qobject_cast<TfrmLookUp *>(control))
                lookup->dbLookField->commit();
        }
    }
    const QString table = d->columnInfo(0).baseTable;
    database::StoredProc *keys = dmPodaciZajednicke->spPrimarniKljucevi;
    keys->close();
    keys->setParameter(QStringLiteral("@table_name"), table);
    keys->open();
    QStringList keyColumns;
    for (int row = 0; row < keys->recordCount(); ++row) {
        keys->moveTo(row);
        keyColumns << keys->fieldByName(QStringLiteral("COLUMN_NAME"))->asString();
    }
    keys->close();

    QStringList keyList;
    QVariantList keyValues;
    QStringList conditions;
    QString lastKey;
    QString literal;
    bool complete = !keyColumns.isEmpty();
    for (const QString &key : std::as_const(keyColumns)) {
        const data::Field *f = d->fieldByName(key);
        const QVariant value = f->value();
        if (f->dataType() == data::FieldType::DateTime)
            literal = value.isValid() ? QStringLiteral("CONVERT(smalldatetime, '") + format::dateToText(value.toDateTime().date()) + QStringLiteral("', 104)")
                                      : QString();
        else
            literal = value.isValid() ? QStringLiteral("N") + db::dialect::quoteString(f->asString()) : QString();
        keyList << key;
        keyValues << value;
        conditions << u'(' + key + u'=' + literal + u')';
        lastKey = key;
        if (literal.isEmpty()) {
            complete = false;
            break;
        }
    }
    bool taken = false;
    if (complete && d->state() == data::DatasetState::Insert)
        taken = !Globals.Connection->selectRows(QStringLiteral("select * from ") + table + QStringLiteral(" where ")
                                                + conditions.join(QStringLiteral(" and ")))
                     .isEmpty();
    if (!complete || taken) {
        ReportKeyProblem(lastKey, taken ? literal : QString());
        return;
    }
    if (!CheckRequired())
        return;
    if (!d->isEditing())
        return;
    NormaliseBeforePost();
    d->post();
    d->requery();
    d->locate(keyList.join(u';'), keyValues, 0);
    if (cbKont->isChecked()) {
        d->append();
        PrepareControls();
        return;
    }
    accept();
}

void TcDataDialog::aCancelExecute()
{
    if (dataset()->isEditing())
        dataset()->cancel();
    close();
}

void TcDataDialog::FormClose()
{
    TcMain::FormClose();
    for (int p = 0; p < pcDialog->count(); ++p) {
        for (QWidget *control : examinedControls(pcDialog->widget(p))) {
            if (auto *lookup = qobject_cast<TfrmLookUp *>(control); lookup && lookup->listTag() != tagKeepList)
                lookup->closeList();
        }
    }
    if (dataset()->isEditing())
        dataset()->cancel();
}

} // namespace velmora
