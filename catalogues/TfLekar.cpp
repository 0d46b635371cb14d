#include "TfLekar.h"

#include "connection/TdmPodaci.h"
#include "framework/DbControls.h"
#include "framework/DbRoutines.h"
#include "framework/TfrmGrid.h"

namespace velmora {

TfLekarDijalog::TfLekarDijalog(TfrmGrid *owner)
    : TcDataDialog(owner)
{
    setObjectName(QStringLiteral("fLekarDijalog"));
    addEdit(TabSheet1, QStringLiteral("LEKAR"), QStringLiteral("LEKAR"));
    addCheckBox(TabSheet1, QStringLiteral("NAČELNIK ODELJENJA"), QStringLiteral("NACELNIK_ODELJENJA"));
    addCheckBox(TabSheet1, QStringLiteral("UPRAVNIK KLINIKE"), QStringLiteral("UPRAVNIK_KLINIKE"));
    addCheckBox(TabSheet1, QStringLiteral("DIREKTOR KLINIKE"), QStringLiteral("DIREKTOR_KLINIKE"));
}

void TfLekarDijalog::aSaveExecute()
{
    if (dataset()->state() == data::DatasetState::Insert)
        dataset()->fieldByName(QStringLiteral("ID"))->setValue(NextKey(QStringLiteral("Lekar"), QStringLiteral("ID"), QString()));
    TcDataDialog::aSaveExecute();
}

TfLekar::TfLekar(QWidget *parent)
    : TcData(parent)
{
    setObjectName(QStringLiteral("fLekar"));
    setWindowTitle(QStringLiteral("Unos lekara"));
    frmMain->setDataset(dmPodaci->adsLekar, {
                                 {QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                 {QStringLiteral("LEKAR"), QStringLiteral("LEKAR"), 200},
                                 {QStringLiteral("NACELNIK_ODELJENJA"), QStringLiteral("NAČELNIK ODELJENJA"), 0},
                                 {QStringLiteral("UPRAVNIK_KLINIKE"), QStringLiteral("UPRAVNIK KLINIKE"), 0},
                                 {QStringLiteral("DIREKTOR_KLINIKE"), QStringLiteral("DIREKTOR KLINIKE"), 0}});
}

void TfLekar::FormCreate()
{
    TcData::FormCreate();
    frmMain->EditDialog = new TfLekarDijalog(frmMain);
    dmPodaci->adsLekar->open();
}

} // namespace velmora
