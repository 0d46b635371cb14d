#include "TfLekovi.h"

#include "connection/TdmPodaci.h"
#include "framework/DbControls.h"
#include "framework/DbRoutines.h"
#include "framework/TfrmGrid.h"

namespace velmora {

TfLekoviDijalog::TfLekoviDijalog(TfrmGrid *owner)
    : TcDataDialog(owner)
{
    setObjectName(QStringLiteral("fLekoviDijalog"));
    addEdit(TabSheet1, QStringLiteral("NAZIV LEKA"), QStringLiteral("NAZIV_LEKA"));
    addEdit(TabSheet1, QStringLiteral("DOZA"), QStringLiteral("DOZA"));
    addEdit(TabSheet1, QStringLiteral("ŠIFRA"), QStringLiteral("SIFRA"))->setMaximumWidth(120);
    addEdit(TabSheet1, QStringLiteral("OGRANIČENJA"), QStringLiteral("OGRANICENJA"));
}

void TfLekoviDijalog::aSaveExecute()
{
    if (dataset()->state() == data::DatasetState::Insert)
        dataset()->fieldByName(QStringLiteral("ID"))->setValue(NextKey(QStringLiteral("Lekovi"), QStringLiteral("ID"), QString()));
    TcDataDialog::aSaveExecute();
}

TfLekovi::TfLekovi(QWidget *parent)
    : TcData(parent)
{
    setObjectName(QStringLiteral("fLekovi"));
    setWindowTitle(QStringLiteral("Unos lekova"));
    frmMain->setDataset(dmPodaci->adsLekovi, {
                                 {QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                 {QStringLiteral("NAZIV_LEKA"), QStringLiteral("NAZIV LEKA"), 189},
                                 {QStringLiteral("DOZA"), QStringLiteral("DOZA"), 215},
                                 {QStringLiteral("SIFRA"), QStringLiteral("ŠIFRA"), 0},
                                 {QStringLiteral("OGRANICENJA"), QStringLiteral("OGRANIČENJA"), 249}});
}

void TfLekovi::FormCreate()
{
    TcData::FormCreate();
    frmMain->EditDialog = new TfLekoviDijalog(frmMain);
    dmPodaci->adsLekovi->open();
}

} // namespace velmora
