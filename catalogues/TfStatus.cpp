#include "TfStatus.h"

#include "connection/TdmPodaci.h"
#include "framework/DbControls.h"
#include "framework/DbRoutines.h"
#include "framework/TfrmGrid.h"

namespace velmora {

TfStatusDijalog::TfStatusDijalog(TfrmGrid *owner)
    : TcDataDialog(owner)
{
    setObjectName(QStringLiteral("fStatusDijalog"));
    addEdit(TabSheet1, QStringLiteral("NAZIV"), QStringLiteral("NAZIV"));
}

void TfStatusDijalog::aSaveExecute()
{
    if (dataset()->state() == data::DatasetState::Insert)
        dataset()->fieldByName(QStringLiteral("ID"))->setValue(NextKey(QStringLiteral("Status"), QStringLiteral("ID"), QString()));
    TcDataDialog::aSaveExecute();
}

TfStatus::TfStatus(QWidget *parent)
    : TcData(parent)
{
    setObjectName(QStringLiteral("fStatus"));
    setWindowTitle(QStringLiteral("Unos statusa"));
    frmMain->setDataset(dmPodaci->adsStatus, {
                                 {QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                 {QStringLiteral("NAZIV"), QStringLiteral("NAZIV"), 0}});
}

void TfStatus::FormCreate()
{
    TcData::FormCreate();
    frmMain->EditDialog = new TfStatusDijalog(frmMain);
    dmPodaci->adsStatus->open();
}

} // namespace velmora
