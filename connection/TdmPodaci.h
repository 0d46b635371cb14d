#pragma once

#include "TcDataModule.h"

namespace velmora {

namespace data {
class Dataset;
}
namespace database {
class StoredProc;
}

// The clinical data module: one dataset per table or join that the windows
// show, and the stored procedures of the printouts. Windows bind to these and
// never create long-lived datasets of their own.
class TdmPodaci : public TcDataModule {
    Q_OBJECT
public:
    explicit TdmPodaci(QObject *parent = nullptr);

    data::Dataset *adsPacijent;
    data::Dataset *adsPoseta;
    data::Dataset *adsVeza_Lekar_Poseta;
    data::Dataset *adsGrad;
    data::Dataset *adsLekar;
    data::Dataset *adsKlinike;
    data::Dataset *adsStatus;
    data::Dataset *adsUputna_DG;
    data::Dataset *adsNalazi;
    data::Dataset *adsGrupaNalaza;
    data::Dataset *adsIzraz;
    data::Dataset *adsNazivNalaza;
    data::Dataset *adsVrednostNalaza;
    data::Dataset *adsNazivNalazaDijalog;
    data::Dataset *adsMKB10;
    data::Dataset *adsDijagnoza;
    data::Dataset *adsLekovi;
    data::Dataset *adsPreporucenaTerapija;
    data::Dataset *adsKonzilijarni;
    data::Dataset *adsNazivKonzilijarni;
    data::Dataset *adsVrednostKonzilijarni;
    data::Dataset *adsDijagnostika;
    data::Dataset *adsNazivDijagnostika;
    data::Dataset *adsVrednostDijagnostika;
    data::Dataset *adsPosetaZaStampu;

    database::StoredProc *spOtpusnaLista;
    database::StoredProc *spLabNalazi;
    database::StoredProc *spKlinikaZaStampu;
    database::StoredProc *spStampaDijagnostika;
    database::StoredProc *spStampaKonzilijarni;
    database::StoredProc *spStampaPreporuceneTerapije;

private:
    data::Dataset *dataset(const char *name, const QString &sql, const char *indexFieldNames);
};

// The shared data module: the generic procedures the window framework calls.
class TdmPodaciZajednicke : public TcDataModule {
    Q_OBJECT
public:
    explicit TdmPodaciZajednicke(QObject *parent = nullptr);

    database::StoredProc *spNadji;
    database::StoredProc *spPrimarniKljucevi;
    database::StoredProc *spVratiKoloneSaDefValue;
    database::StoredProc *spVratiNotNullDefValue;
};

// The two modules of the running program, created after the login.
inline TdmPodaci *dmPodaci = nullptr;
inline TdmPodaciZajednicke *dmPodaciZajednicke = nullptr;

// Step 8 of the start-up: the clinical module, then the shared one, each
// connecting as it is created; a failure is reported by the application error
// handler and leaves that module unconnected.
void createDataModules();
// At the program's end: both modules close their datasets and connections.
void destroyDataModules();

} // namespace velmora
