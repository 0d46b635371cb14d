#include "TfNalazi.h"

#include "TfGrupaNalaza.h"
#include "app/YUDlg.h"
#include "connection/TdmPodaci.h"
#include "framework/DbControls.h"
#include "framework/DbControls.h"
#include "framework/DbRoutines.h"
#include "framework/TfrmGrid.h"
#include "platform/core/Formatting.h"

#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QVBoxLayout>

namespace velmora {
namespace {

// The ID of the current row as text; empty without one.
QString currentId(const data::Dataset *dataset)
{
    if (!dataset->active() || dataset->isEmpty())
        return QString();
    return dataset->fieldByName(QStringLiteral("ID"))->asString();
}

} // namespace

TfNalaziDijalog::TfNalaziDijalog(TfrmGrid *owner)
    : TcDataDialog(owner)
{
    setObjectName(QStringLiteral("fNalaziDijalog"));
    addEdit(TabSheet1, QStringLiteral("NAZIV NALAZA"), QStringLiteral("NAZIV_NALAZA"), tagFocusOnEdit);
}

void TfNalaziDijalog::aSaveExecute()
{
    if (dataset()->state() == data::DatasetState::Insert) {
        dataset()->fieldByName(QStringLiteral("GRUPA_NALAZA_FK"))->setValue(currentId(dmPodaci->adsGrupaNalaza));
        dataset()->fieldByName(QStringLiteral("ID"))->setValue(NextKey(QStringLiteral("Nalazi"), QStringLiteral("ID"), QString()));
    }
    TcDataDialog::aSaveExecute();
}

TfIzrazDijalog::TfIzrazDijalog(TfrmGrid *owner)
    : TcDataDialog(owner)
{
    setObjectName(QStringLiteral("fIzrazDijalog"));
    auto *layout = static_cast<QVBoxLayout *>(TabSheet1->layout());
    auto *label = new QLabel(QStringLiteral("VAŽI OD"), TabSheet1);
    edVaziOd = new QLineEdit(TabSheet1);
    edVaziOd->setObjectName(QStringLiteral("edVaziOd"));
    edVaziOd->setPlaceholderText(QStringLiteral("dd.mm.gggg"));
    edVaziOd->setMaximumWidth(140);
    QFont plain = programFont();
    plain.setPixelSize(12);
    plain.setBold(false);
    edVaziOd->setFont(plain);
    label->setBuddy(edVaziOd);
    layout->insertWidget(0, label);
    layout->insertWidget(1, edVaziOd);
    TDBEdit *expression = addEdit(TabSheet1, QStringLiteral("IZRAZ"), QStringLiteral("IZRAZ"));
    // IZRAZ comes first in the tab order, though the date stands above it.
    setTabOrder(expression, edVaziOd);
}

void TfIzrazDijalog::FormShow()
{
    TcDataDialog::FormShow();
    const data::Field *date = dataset()->findField(QStringLiteral("DATUM"));
    if (dataset()->state() == data::DatasetState::Insert)
        edVaziOd->setText(format::dateToText(QDate::currentDate()));
    else if (dataset()->state() == data::DatasetState::Edit && date)
        edVaziOd->setText(format::dateToText(date->asDateTime().date()));
    if (QWidget *first = TabSheet1->findChild<TDBEdit *>())
        first->setFocus();
}

void TfIzrazDijalog::aSaveExecute()
{
    if (dataset()->state() == data::DatasetState::Insert)
        dataset()->fieldByName(QStringLiteral("NALAZ_FK"))->setValue(currentId(dmPodaci->adsNalazi));
    bool ok = false;
    const QDate date = format::textToDate(edVaziOd->text(), &ok);
    if (!ok) {
        MessageDialog(QStringLiteral("'%1' nije ispravan datum (dd.mm.gggg).").arg(edVaziOd->text()), mtWarning, mbOK);
        edVaziOd->setFocus();
        return;
    }
    dataset()->fieldByName(QStringLiteral("DATUM"))->setValue(date.isValid() ? QVariant(date.startOfDay()) : QVariant());
    TcDataDialog::aSaveExecute();
}

TfNalazi::TfNalazi(QWidget *parent)
    : TcData(parent)
{
    setObjectName(QStringLiteral("fNalazi"));
    setWindowTitle(QStringLiteral("Unos vrste nalaza"));
    resize(900, 640);
    frmMain->setDataset(dmPodaci->adsGrupaNalaza, {{QStringLiteral("ID"), QStringLiteral("ID"), 0}, {QStringLiteral("NAZIV"), QStringLiteral("NAZIV"), 300}});
    frmNazivNalaza = addGridFrame(QStringLiteral("frmNazivNalaza"));
    frmNazivNalaza->setDataset(dmPodaci->adsNalazi, {{QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                                      {QStringLiteral("NAZIV_NALAZA"), QStringLiteral("NAZIV NALAZA"), 300}});
    frmIzraz = addGridFrame(QStringLiteral("frmIzraz"));
    frmIzraz->setDataset(dmPodaci->adsIzraz, {{QStringLiteral("DATUM"), QStringLiteral("VAŽI OD"), 100}, {QStringLiteral("IZRAZ"), QStringLiteral("IZRAZ"), 300}});
    // Three grids one above the other, a movable splitter between each pair.
    auto *splitter = new QSplitter(Qt::Vertical, this);
    clientLayout()->removeWidget(frmMain);
    for (TfrmGrid *frame : {frmMain, frmNazivNalaza, frmIzraz})
        splitter->addWidget(frame);
    splitter->setStretchFactor(2, 1);
    clientLayout()->addWidget(splitter, 1);

    connect(frmMain, &TfrmGrid::gridKeyUp, this, &TfNalazi::reloadTests);
    connect(frmMain, &TfrmGrid::gridMouseUp, this, &TfNalazi::reloadTests);
    connect(frmNazivNalaza, &TfrmGrid::gridKeyUp, this, &TfNalazi::reloadExpressions);
    connect(frmNazivNalaza, &TfrmGrid::gridMouseUp, this, &TfNalazi::reloadExpressions);
}

void TfNalazi::FormCreate()
{
    TcData::FormCreate();
    frmMain->EditDialog = new TfGrupaNalazaDijalog(frmMain);
    frmNazivNalaza->EditDialog = new TfNalaziDijalog(frmNazivNalaza);
    frmIzraz->EditDialog = new TfIzrazDijalog(frmIzraz);
    dmPodaci->adsGrupaNalaza->open();
    reloadTests();
}

void TfNalazi::reloadTests()
{
    data::Dataset *tests = dmPodaci->adsNalazi;
    const QString group = currentId(dmPodaci->adsGrupaNalaza);
    tests->close();
    if (!group.isEmpty()) {
        tests->setCommandText(QStringLiteral("select * from Nalazi where GRUPA_NALAZA_FK = ") + group);
        tests->open();
    }
    reloadExpressions();
}

void TfNalazi::reloadExpressions()
{
    data::Dataset *expressions = dmPodaci->adsIzraz;
    const QString test = currentId(dmPodaci->adsNalazi);
    expressions->close();
    if (!test.isEmpty()) {
        expressions->setCommandText(QStringLiteral("select * from IZRAZ where NALAZ_FK = ") + test);
        expressions->open();
    }
}

TfPrikazSvihNalaza::TfPrikazSvihNalaza(QWidget *parent)
    : TcData(parent)
{
    setObjectName(QStringLiteral("fPrikazSvihNalaza"));
    setWindowTitle(QStringLiteral("Prikaz svih nalaza"));
    frmMain->setDataset(dmPodaci->adsNazivNalazaDijalog, {{QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                                           {QStringLiteral("NAZIV_NALAZA"), QStringLiteral("NAZIV NALAZA"), 250},
                                                           {QStringLiteral("NAZIV_GRUPE_NALAZA"), QStringLiteral("NAZIV GRUPE NALAZA"), 250}});
}

void TfPrikazSvihNalaza::FormCreate()
{
    TcData::FormCreate();
    dmPodaci->adsNazivNalazaDijalog->open();
}

} // namespace velmora
