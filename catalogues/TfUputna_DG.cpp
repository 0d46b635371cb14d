#include "TfUputna_DG.h"

#include "connection/TdmPodaci.h"
#include "framework/DbControls.h"
#include "framework/DbRoutines.h"
#include "framework/TfrmGrid.h"

namespace velmora {

TfUputna_DGDijalog::TfUputna_DGDijalog(TfrmGrid *owner)
    : TcDataDialog(owner)
{
    setObjectName(QStringLiteral("fUputna_DGDijalog"));
    addEdit(TabSheet1, QStringLiteral("DIJAGNOZA"), QStringLiteral("DIJAGNOZA"));
}

void TfUputna_DGDijalog::aSaveExecute()
{
    if (dataset()->state() == data::DatasetState::Insert)
        dataset()->fieldByName(QStringLiteral("ID"))->setValue(NextKey(QStringLiteral("Uputna_DG"), QStringLiteral("ID"), QString()));
    TcDataDialog::aSaveExecute();
}

TfUputna_DG::TfUputna_DG(QWidget *parent)
    : TcData(parent)
{
    setObjectName(QStringLiteral("fUputna_DG"));
    setWindowTitle(QStringLiteral("Unos uputnih dijagnoza"));
    frmMain->setDataset(dmPodaci->adsUputna_DG, {
                                 {QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                 {QStringLiteral("DIJAGNOZA"), QStringLiteral("DIJAGNOZA"), 500}});
}

void TfUputna_DG::FormCreate()
{
    TcData::FormCreate();
    frmMain->EditDialog = new TfUputna_DGDijalog(frmMain);
    dmPodaci->adsUputna_DG->open();
}

} // namespace velmora
