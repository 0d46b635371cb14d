#include "TfDijagnostika.h"

#include "connection/TdmPodaci.h"
#include "framework/DbControls.h"
#include "framework/DbRoutines.h"
#include "framework/TfrmGrid.h"

namespace velmora {

TfDijagnostikaDijalog::TfDijagnostikaDijalog(TfrmGrid *owner)
    : TcDataDialog(owner)
{
    setObjectName(QStringLiteral("fDijagnostikaDijalog"));
    addEdit(TabSheet1, QStringLiteral("NAZIV DIJAGNOSTIKE"), QStringLiteral("NAZIV"));
}

void TfDijagnostikaDijalog::aSaveExecute()
{
    if (dataset()->state() == data::DatasetState::Insert)
        dataset()->fieldByName(QStringLiteral("ID"))->setValue(NextKey(QStringLiteral("Dijagnostika"), QStringLiteral("ID"), QString()));
    TcDataDialog::aSaveExecute();
}

TfDijagnostika::TfDijagnostika(QWidget *parent)
    : TcData(parent)
{
    setObjectName(QStringLiteral("fDijagnostika"));
    setWindowTitle(QStringLiteral("Unos dijagnostika"));
    frmMain->setDataset(dmPodaci->adsDijagnostika, {
                                 {QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                 {QStringLiteral("NAZIV"), QStringLiteral("NAZIV"), 0}});
}

void TfDijagnostika::FormCreate()
{
    TcData::FormCreate();
    frmMain->EditDialog = new TfDijagnostikaDijalog(frmMain);
    dmPodaci->adsDijagnostika->open();
}

} // namespace velmora
