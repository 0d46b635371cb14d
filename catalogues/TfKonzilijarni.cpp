#include "TfKonzilijarni.h"

#include "connection/TdmPodaci.h"
#include "framework/DbControls.h"
#include "framework/DbRoutines.h"
#include "framework/TfrmGrid.h"

namespace velmora {

TfKonzilijarniDijalog::TfKonzilijarniDijalog(TfrmGrid *owner)
    : TcDataDialog(owner)
{
    setObjectName(QStringLiteral("fKonzilijarniDijalog"));
    addEdit(TabSheet1, QStringLiteral("NAZIV KONZILIJARNOG"), QStringLiteral("NAZIV"));
}

void TfKonzilijarniDijalog::aSaveExecute()
{
    if (dataset()->state() == data::DatasetState::Insert)
        dataset()->fieldByName(QStringLiteral("ID"))->setValue(NextKey(QStringLiteral("Konzilijarni"), QStringLiteral("ID"), QString()));
    TcDataDialog::aSaveExecute();
}

TfKonzilijarni::TfKonzilijarni(QWidget *parent)
    : TcData(parent)
{
    setObjectName(QStringLiteral("fKonzilijarni"));
    setWindowTitle(QStringLiteral("Unos konzilijarnih pregleda"));
    frmMain->setDataset(dmPodaci->adsKonzilijarni, {
                                 {QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                 {QStringLiteral("NAZIV"), QStringLiteral("NAZIV"), 0}});
}

void TfKonzilijarni::FormCreate()
{
    TcData::FormCreate();
    frmMain->EditDialog = new TfKonzilijarniDijalog(frmMain);
    dmPodaci->adsKonzilijarni->open();
}

} // namespace velmora
