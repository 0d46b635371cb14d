#include "TfMKB10.h"

#include "connection/TdmPodaci.h"
#include "framework/DbControls.h"
#include "framework/DbRoutines.h"
#include "framework/TfrmGrid.h"

namespace velmora {

TfMKB10Dijalog::TfMKB10Dijalog(TfrmGrid *owner)
    : TcDataDialog(owner)
{
    setObjectName(QStringLiteral("fMKB10Dijalog"));
    addEdit(TabSheet1, QStringLiteral("DIJAGNOZA"), QStringLiteral("DIJAGNOZA"));
    addEdit(TabSheet1, QStringLiteral("ŠIFRA"), QStringLiteral("SIFRA"));
}

void TfMKB10Dijalog::aSaveExecute()
{
    if (dataset()->state() == data::DatasetState::Insert)
        dataset()->fieldByName(QStringLiteral("ID"))->setValue(NextKey(QStringLiteral("MKB10"), QStringLiteral("ID"), QString()));
    TcDataDialog::aSaveExecute();
}

TfMKB10::TfMKB10(QWidget *parent)
    : TcData(parent)
{
    setObjectName(QStringLiteral("fMKB10"));
    setWindowTitle(QStringLiteral("Unos MKB10"));
    frmMain->setDataset(dmPodaci->adsMKB10, {
                                 {QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                 {QStringLiteral("DIJAGNOZA"), QStringLiteral("DIJAGNOZA"), 500},
                                 {QStringLiteral("SIFRA"), QStringLiteral("SIFRA"), 0}});
}

void TfMKB10::FormCreate()
{
    TcData::FormCreate();
    frmMain->EditDialog = new TfMKB10Dijalog(frmMain);
    dmPodaci->adsMKB10->open();
}

} // namespace velmora
