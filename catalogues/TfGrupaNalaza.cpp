#include "TfGrupaNalaza.h"

#include "connection/TdmPodaci.h"
#include "framework/DbControls.h"
#include "framework/DbRoutines.h"
#include "framework/TfrmGrid.h"

namespace velmora {

TfGrupaNalazaDijalog::TfGrupaNalazaDijalog(TfrmGrid *owner)
    : TcDataDialog(owner)
{
    setObjectName(QStringLiteral("fGrupaNalazaDijalog"));
    addEdit(TabSheet1, QStringLiteral("NAZIV"), QStringLiteral("NAZIV"));
}

void TfGrupaNalazaDijalog::aSaveExecute()
{
    if (dataset()->state() == data::DatasetState::Insert)
        dataset()->fieldByName(QStringLiteral("ID"))->setValue(NextKey(QStringLiteral("Grupa_Nalaza"), QStringLiteral("ID"), QString()));
    TcDataDialog::aSaveExecute();
}

TfGrupaNalaza::TfGrupaNalaza(QWidget *parent)
    : TcData(parent)
{
    setObjectName(QStringLiteral("fGrupaNalaza"));
    setWindowTitle(QStringLiteral("Unos grupe nalaza"));
    frmMain->setDataset(dmPodaci->adsGrupaNalaza, {
                                 {QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                 {QStringLiteral("NAZIV"), QStringLiteral("NAZIV"), 0}});
}

void TfGrupaNalaza::FormCreate()
{
    TcData::FormCreate();
    frmMain->EditDialog = new TfGrupaNalazaDijalog(frmMain);
    dmPodaci->adsGrupaNalaza->open();
}

} // namespace velmora
