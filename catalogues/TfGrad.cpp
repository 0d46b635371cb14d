#include "TfGrad.h"

#include "connection/TdmPodaci.h"
#include "framework/DbControls.h"
#include "framework/DbRoutines.h"
#include "framework/TfrmGrid.h"

namespace velmora {

TfGradDijalog::TfGradDijalog(TfrmGrid *owner)
    : TcDataDialog(owner)
{
    setObjectName(QStringLiteral("fGradDijalog"));
    addEdit(TabSheet1, QStringLiteral("MESTO"), QStringLiteral("MESTO"));
    addEdit(TabSheet1, QStringLiteral("POŠTANSKI BROJ"), QStringLiteral("POSTANSKI_BROJ"));
    addEdit(TabSheet1, QStringLiteral("POZIVNI BROJ"), QStringLiteral("POZIVNI_BROJ"));
}

void TfGradDijalog::aSaveExecute()
{
    if (dataset()->state() == data::DatasetState::Insert)
        dataset()->fieldByName(QStringLiteral("ID"))->setValue(NextKey(QStringLiteral("Grad"), QStringLiteral("ID"), QString()));
    TcDataDialog::aSaveExecute();
}

TfGrad::TfGrad(QWidget *parent)
    : TcData(parent)
{
    setObjectName(QStringLiteral("fGrad"));
    setWindowTitle(QStringLiteral("Grad"));
    frmMain->setDataset(dmPodaci->adsGrad, {
                                 {QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                 {QStringLiteral("MESTO"), QStringLiteral("MESTO"), 150},
                                 {QStringLiteral("POSTANSKI_BROJ"), QStringLiteral("POŠTANSKI BROJ"), 150},
                                 {QStringLiteral("POZIVNI_BROJ"), QStringLiteral("POZIVNI BROJ"), 150}});
}

void TfGrad::FormCreate()
{
    TcData::FormCreate();
    frmMain->EditDialog = new TfGradDijalog(frmMain);
    dmPodaci->adsGrad->open();
}

} // namespace velmora
