#include "TfKlinike.h"

#include "TfGrad.h"
#include "TfLekar.h"
#include "connection/TdmPodaci.h"
#include "framework/DbControls.h"
#include "framework/DbRoutines.h"
#include "framework/TfrmGrid.h"
#include "framework/TfrmLookUp.h"

namespace velmora {

TfKlinikeDijalog::TfKlinikeDijalog(TfrmGrid *owner)
    : TcDataDialog(owner)
{
    setObjectName(QStringLiteral("fKlinikeDijalog"));
    addEdit(TabSheet1, QStringLiteral("NAZIV"), QStringLiteral("NAZIV"));
    addEdit(TabSheet1, QStringLiteral("NAZIV INSTITUTA"), QStringLiteral("NAZIV_INSTITUTA"));
    addEdit(TabSheet1, QStringLiteral("NAZIV KLINIKE"), QStringLiteral("NAZIV_KLINIKE"));
    frmLookUp1 = addLookup(TabSheet1, QStringLiteral("GRAD"), QStringLiteral("GRAD"), QStringLiteral("frmLookUp1"));
    frmLookUp1->Configure(QStringLiteral("ID"), QStringLiteral("Mesto"), [] { return createForm<TfGrad>(); }, QStringLiteral("Grad"));
    frmLookUp1->setList(dmPodaci->adsGrad, QStringLiteral("ID"), {QStringLiteral("MESTO")});
    addEdit(TabSheet1, QStringLiteral("ADRESA"), QStringLiteral("ADRESA"));
    addEdit(TabSheet1, QStringLiteral("TELEFON"), QStringLiteral("TELEFON"));
    addEdit(TabSheet1, QStringLiteral("BROJ SPRATA"), QStringLiteral("BR_SPRATA"))->setMaximumWidth(120);
    addCheckBox(TabSheet1, QStringLiteral("POLIKLINIKA"), QStringLiteral("POLIKLINIKA"));
    frmUpravnik = addLookup(TabSheet1, QStringLiteral("UPRAVNIK KLINIKE"), QStringLiteral("UPRAVNIK"), QStringLiteral("frmUpravnik"));
    frmUpravnik->Configure(QStringLiteral("ID"), QStringLiteral("LEKAR"), [] { return createForm<TfLekar>(); }, QStringLiteral("LEKAR"));
    frmUpravnik->setList(dmPodaci->adsLekar, QStringLiteral("ID"), {QStringLiteral("LEKAR")});
}

void TfKlinikeDijalog::aSaveExecute()
{
    if (dataset()->state() == data::DatasetState::Insert)
        dataset()->fieldByName(QStringLiteral("ID"))->setValue(NextKey(QStringLiteral("Klinike"), QStringLiteral("ID"), QString()));
    TcDataDialog::aSaveExecute();
}

TfKlinike::TfKlinike(QWidget *parent)
    : TcData(parent)
{
    setObjectName(QStringLiteral("fKlinike"));
    setWindowTitle(QStringLiteral("Unos klinika"));
    frmMain->setDataset(dmPodaci->adsKlinike, {{QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                                 {QStringLiteral("NAZIV"), QStringLiteral("NAZIV"), 214},
                                                 {QStringLiteral("NAZIV_INSTITUTA"), QStringLiteral("NAZIV_INSTITUTA"), 178},
                                                 {QStringLiteral("NAZIV_KLINIKE"), QStringLiteral("NAZIV_KLINIKE"), 162},
                                                 {QStringLiteral("GRAD"), QStringLiteral("GRAD"), 0},
                                                 {QStringLiteral("NAZIV GRADA"), QStringLiteral("NAZIV GRADA"), 193},
                                                 {QStringLiteral("ADRESA"), QStringLiteral("ADRESA"), 101},
                                                 {QStringLiteral("TELEFON"), QStringLiteral("TELEFON"), 127},
                                                 {QStringLiteral("BR_SPRATA"), QStringLiteral("BR_SPRATA"), 0}});
}

void TfKlinike::FormCreate()
{
    TcData::FormCreate();
    frmMain->EditDialog = new TfKlinikeDijalog(frmMain);
    dmPodaci->adsKlinike->open();
}

} // namespace velmora
