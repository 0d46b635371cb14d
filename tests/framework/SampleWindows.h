#pragma once

// Small windows over the places table and a table of the test's own, built
// as the program's catalogue windows are: columns, a dialog, FormCreate.
#include "connection/TdmPodaci.h"
#include "framework/DbControls.h"
#include "framework/DbRoutines.h"
#include "framework/TcData.h"
#include "framework/TcDataDialog.h"
#include "framework/TfrmGrid.h"
#include "framework/TfrmLookUp.h"

namespace velmora::test {

class TfGradDijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfGradDijalog(TfrmGrid *owner)
        : TcDataDialog(owner)
    {
        setObjectName(QStringLiteral("fGradDijalog"));
        edMesto = addEdit(TabSheet1, QStringLiteral("MESTO"), QStringLiteral("MESTO"));
        addEdit(TabSheet1, QStringLiteral("POŠTANSKI BROJ"), QStringLiteral("POSTANSKI_BROJ"));
        addEdit(TabSheet1, QStringLiteral("POZIVNI BROJ"), QStringLiteral("POZIVNI_BROJ"));
    }
    void aSaveExecute() override
    {
        if (dataset()->state() == data::DatasetState::Insert)
            dataset()->fieldByName(QStringLiteral("ID"))->setValue(NextKey(QStringLiteral("Grad"), QStringLiteral("ID"), QString()));
        TcDataDialog::aSaveExecute();
    }
    TDBEdit *edMesto;
};

class TfGrad : public TcData {
    Q_OBJECT
public:
    TfGrad()
    {
        setObjectName(QStringLiteral("fGrad"));
        setWindowTitle(QStringLiteral("Grad"));
        frmMain->setDataset(dmPodaci->adsGrad, {{QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                                 {QStringLiteral("MESTO"), QStringLiteral("MESTO"), 150},
                                                 {QStringLiteral("POSTANSKI_BROJ"), QStringLiteral("POŠTANSKI BROJ"), 150},
                                                 {QStringLiteral("POZIVNI_BROJ"), QStringLiteral("POZIVNI BROJ"), 150}});
    }
    void FormCreate() override
    {
        TcData::FormCreate();
        frmMain->EditDialog = new TfGradDijalog(frmMain);
        dmPodaci->adsGrad->open();
    }
};

// A table of the test's own: a typed key, and a required column on a second page.
class TfProbaDijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfProbaDijalog(TfrmGrid *owner)
        : TcDataDialog(owner)
    {
        setObjectName(QStringLiteral("fProbaDijalog"));
        edId = addEdit(TabSheet1, QStringLiteral("ID"), QStringLiteral("ID"), tagKey);
        edNapomena = addEdit(TabSheet1, QStringLiteral("NAPOMENA"), QStringLiteral("NAPOMENA"));
        QWidget *second = addPage(QStringLiteral("Ostalo"));
        edNaziv = addEdit(second, QStringLiteral("NAZIV"), QStringLiteral("NAZIV"));
    }
    TDBEdit *edId;
    TDBEdit *edNapomena;
    TDBEdit *edNaziv;
};

class TfProba : public TcData {
    Q_OBJECT
public:
    explicit TfProba(data::Dataset *dataset)
        : m_dataset(dataset)
    {
        setObjectName(QStringLiteral("fProba"));
        frmMain->setDataset(dataset, {{QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                      {QStringLiteral("NAZIV"), QStringLiteral("NAZIV"), 200}});
    }
    void FormCreate() override
    {
        TcData::FormCreate();
        frmMain->EditDialog = new TfProbaDijalog(frmMain);
        m_dataset->open();
    }

private:
    data::Dataset *m_dataset;
};

// The clinic dialog's place lookup: code, list and the places window as picker.
class TfKlinikeDijalog : public TcDataDialog {
    Q_OBJECT
public:
    explicit TfKlinikeDijalog(TfrmGrid *owner)
        : TcDataDialog(owner)
    {
        setObjectName(QStringLiteral("fKlinikeDijalog"));
        addEdit(TabSheet1, QStringLiteral("NAZIV KLINIKE"), QStringLiteral("NAZIV_KLINIKE"));
        frmLookUp1 = addLookup(TabSheet1, QStringLiteral("GRAD"), QStringLiteral("GRAD"));
        frmLookUp1->Configure(QStringLiteral("ID"), QStringLiteral("Mesto"), [] { return createForm<TfGrad>(); }, QStringLiteral("Grad"));
        frmLookUp1->setList(dmPodaci->adsGrad, QStringLiteral("ID"), {QStringLiteral("MESTO")});
        addEdit(TabSheet1, QStringLiteral("ADRESA"), QStringLiteral("ADRESA"));
    }
    void aSaveExecute() override
    {
        if (dataset()->state() == data::DatasetState::Insert)
            dataset()->fieldByName(QStringLiteral("ID"))->setValue(NextKey(QStringLiteral("Klinike"), QStringLiteral("ID"), QString()));
        TcDataDialog::aSaveExecute();
    }
    TfrmLookUp *frmLookUp1;
};

class TfKlinike : public TcData {
    Q_OBJECT
public:
    TfKlinike()
    {
        setObjectName(QStringLiteral("fKlinike"));
        frmMain->setDataset(dmPodaci->adsKlinike, {{QStringLiteral("ID"), QStringLiteral("ID"), 0},
                                                     {QStringLiteral("NAZIV_KLINIKE"), QStringLiteral("NAZIV_KLINIKE"), 162},
                                                     {QStringLiteral("GRAD"), QStringLiteral("GRAD"), 0},
                                                     {QStringLiteral("NAZIV GRADA"), QStringLiteral("NAZIV GRADA"), 193}});
    }
    void FormCreate() override
    {
        TcData::FormCreate();
        frmMain->EditDialog = new TfKlinikeDijalog(frmMain);
        dmPodaci->adsKlinike->open();
    }
};

} // namespace velmora::test
