#include "TdmPodaci.h"

#include "TfLogin.h"

#include "app/ErrorHandler.h"
#include "app/Globals.h"
#include "database/StoredProc.h"
#include "platform/dataset/Dataset.h"

namespace velmora {
namespace {

using data::FieldDef;
using data::FieldType;

FieldDef field(const char *name, FieldType type, const char *label = "", bool required = false)
{
    FieldDef def;
    def.name = QString::fromUtf8(name);
    def.type = type;
    def.displayLabel = QString::fromUtf8(label);
    def.required = required;
    return def;
}

FieldDef flag(const char *name, const char *label)
{
    FieldDef def = field(name, FieldType::Boolean, label);
    def.displayValues = QStringLiteral("Da;Ne");
    return def;
}

void declare(data::Dataset *dataset, std::initializer_list<FieldDef> fields)
{
    for (const FieldDef &def : fields)
        dataset->declareField(def);
}

constexpr FieldType Int = FieldType::Integer;
constexpr FieldType Small = FieldType::SmallInt;
constexpr FieldType Text = FieldType::WideString;
constexpr FieldType Memo = FieldType::WideMemo;
constexpr FieldType Date = FieldType::DateTime;

void declarePatient(data::Dataset *d)
{
    declare(d, {field("ID", Int, "ID", true), field("IME", Text, "IME"), field("SREDNJE_IME", Text, "SREDNJE IME"),
                field("PREZIME", Text, "PREZIME"), field("ADRESA", Text, "ADRESA"),
                field("MESTO_PREBIVALISTA", Int, "MESTO PREBIVALIŠTA"), field("POL", Text, "POL"),
                field("GODINA_RODJENJA", Small, "GODINA ROĐENJA"), field("ZANIMANJE", Text, "ZANIMANJE"),
                field("STATUS", Int, "STATUS"), field("PolKlBr", Text, "POLIKLINIČKI BROJ"), field("JMBG", Text, "JMBG"),
                field("BROJ_KNJIZICE", Text, "BROJ KNJIŽICE"), field("REGISTARSKI BROJ", Text, "REGISTARSKI BROJ"),
                field("FZZ", Small, "FZZ")});
}

void declareVisit(data::Dataset *d)
{
    declare(d, {field("PACIJENT_FK", Int, "PACIJENT", true), field("ID", Int, "ID", true), field("KLINIKA", Int, "KLINIKA"),
                field("POSETA_BROJ", Text, "POSETA BROJ"), field("BROJ_SOBE", Int, "BROJ SOBE"),
                field("DATUM_PRIJEMA", Date, "DATUM PRIJEMA"), field("DATUM_OTPUSTA", Date, "DATUM OTPUSTA"),
                field("DATUM_POSETA", Date, "DATUM POSETA"), field("UPUTNA_DIJAGNOZA", Int, "UPUTNA DIJAGNOZA"),
                field("NACELNIK_ODELJENJA", Int, "NAČELNIK ODELJENJA"), field("SIFRA_SLOVO", Text, "ŠIFRA SLOVO"),
                field("SIFRA_2CIFRE", Text, "ŠIFRA 2CIFRE"), field("SIFRA_1CIFRA", Text, "ŠIFRA 1CIFRA"),
                field("VRSTA_POSETE", Int, "VRSTA POSETE"), field("Glavne tegobe", Text, "Glavne tegobe"),
                field("Sadašnja bolest", Memo, "Sadašnja bolest"), field("Ranije bolesti", Memo, "Ranije bolesti"),
                field("Opšte tegobe", Memo, "Opšte tegobe"), field("Glava i vrat", Memo, "Glava i vrat"),
                field("Organi za disanje", Memo, "Organi za disanje"), field("Organi za krvotok", Memo, "Organi za krvotok"),
                field("Organi za varenje", Memo, "Organi za varenje"), field("Mokraćno-polni organi", Memo, "Mokraćno-polni organi"),
                field("Kosti, zglobovi, mišići koža", Memo, "Kosti, zglobovi, mišići koža"),
                field("Nervni sistem", Memo, "Nervni sistem"), field("Lična anamneza", Memo, "Lična anamneza"),
                field("Porodična anamneza", Text, "Porodična anamneza"), field("Objektivni nalaz", Memo, "Objektivni nalaz"),
                field("EPIKRIZA", Memo, "EPIKRIZA"), field("IZVESTAJ", Memo, "IZVEŠTAJ"),
                field("ANAMNEZA_STATUS", Memo, "ANAMNEZA STATUS"), field("DATUM", Date), field("TEZINA_PRE", Int, "TEŽINA PRE"),
                field("TEZINA_POSLE", Int, "TEŽINA POSLE"), field("TA", Text, "TA"), field("IZDVOJENA_PLAZMA", Text, "IZDVOJENA PLAZMA"),
                field("SUPSTITUCIJA", Text), field("KOMPLIKACIJE", Text)});
}

// Entries and values of a visit: the visit's two columns and the row's number are required.
void declareVisitRecord(data::Dataset *d, std::initializer_list<const char *> required)
{
    for (const char *name : required)
        d->declareField(field(name, Int, name, true));
}

} // namespace

data::Dataset *TdmPodaci::dataset(const char *name, const QString &sql, const char *indexFieldNames)
{
    data::Dataset *d = component<data::Dataset>(QString::fromLatin1(name));
    d->setCommandText(sql);
    d->setIndexFieldNames(QString::fromLatin1(indexFieldNames));
    return d;
}

TdmPodaci::TdmPodaci(QObject *parent)
    : TcDataModule(parent)
{
    setObjectName(QStringLiteral("dmPodaci"));

    adsPacijent = dataset("adsPacijent",
                          QStringLiteral("SELECT PACIJENT.*, ISNULL(PACIJENT.IME, '') + ' ' + ISNULL(PACIJENT.SREDNJE_IME, '') + ' ' + "
                                         "ISNULL(PACIJENT.PREZIME, '') AS Naziv, GRAD.MESTO AS NazivMesta "
                                         "FROM PACIJENT LEFT OUTER JOIN GRAD ON PACIJENT.MESTO_PREBIVALISTA = GRAD.ID"),
                          "Id");
    declarePatient(adsPacijent);

    const QString visitJoins = QStringLiteral(
        "LEFT OUTER JOIN UPUTNA_DG ON POSETA.UPUTNA_DIJAGNOZA = UPUTNA_DG.ID "
        "LEFT OUTER JOIN LEKAR ON POSETA.NACELNIK_ODELJENJA = LEKAR.ID "
        "LEFT OUTER JOIN KLINIKE ON POSETA.KLINIKA = KLINIKE.ID");
    adsPoseta = dataset("adsPoseta",
                        QStringLiteral("SELECT POSETA.*, KLINIKE.NAZIV AS NazivKlinike, UPUTNA_DG.DIJAGNOZA, LEKAR.LEKAR FROM POSETA ")
                            + visitJoins,
                        "Id");
    declareVisit(adsPoseta);

    adsVeza_Lekar_Poseta = dataset("adsVeza_Lekar_Poseta",
                                   QStringLiteral("SELECT VEZA_LEKAR_POSETA.*, LEKAR.LEKAR AS [NAZIV LEKARA] FROM VEZA_LEKAR_POSETA "
                                                  "INNER JOIN LEKAR ON VEZA_LEKAR_POSETA.LEKAR = LEKAR.ID"),
                                   "Lekar;Poseta;Pacijent");
    declareVisitRecord(adsVeza_Lekar_Poseta, {"LEKAR", "POSETA"});

    adsGrad = dataset("adsGrad", QStringLiteral("select * from Grad"), "Id");
    declare(adsGrad, {field("ID", Int, "ID"), field("MESTO", Text, "MESTO"), field("POSTANSKI_BROJ", Text, "POŠTANSKI BROJ"),
                      field("POZIVNI_BROJ", Text, "POZIVNI BROJ")});
    adsLekar = dataset("adsLekar", QStringLiteral("select * from Lekar"), "Id");
    declare(adsLekar, {field("ID", Int, "ID", true), field("LEKAR", Text, "LEKAR"), flag("NACELNIK_ODELJENJA", "NAČELNIK ODELJENJA"),
                       flag("UPRAVNIK_KLINIKE", "UPRAVNIK KLINIKE"), flag("DIREKTOR_KLINIKE", "DIREKTOR KLINIKE")});
    adsKlinike = dataset("adsKlinike",
                         QStringLiteral("select Klinike.*, Grad.Mesto as [NAZIV GRADA] from Klinike left join Grad on Klinike.Grad = Grad.Id"),
                         "Id");
    declare(adsKlinike, {field("ID", Int, "ID"), field("NAZIV", Text, "NAZIV"), field("NAZIV_INSTITUTA", Text, "NAZIV INSTITUTA"),
                         field("NAZIV_KLINIKE", Text, "NAZIV KLINIKE"), field("GRAD", Int, "GRAD"), field("ADRESA", Text, "ADRESA"),
                         field("TELEFON", Text, "TELEFON"), field("BR_SPRATA", Int, "BROJ SPRATA"), flag("POLIKLINIKA", "POLIKLINIKA"),
                         field("UPRAVNIK", Int, "UPRAVNIK KLINIKE"), field("NAZIV GRADA", Text, "NAZIV GRADA")});
    adsStatus = dataset("adsStatus", QStringLiteral("select * from STATUS"), "Id");
    adsUputna_DG = dataset("adsUputna_DG", QStringLiteral("select * from UPUTNA_DG"), "Id");

    adsNalazi = dataset("adsNalazi", QStringLiteral("select * from Nalazi"), "Id");
    declare(adsNalazi, {field("ID", Int, "ID", true), field("NAZIV_NALAZA", Text, "NAZIV NALAZA"), field("GRUPA_NALAZA_FK", Int, "GRUPA")});
    adsGrupaNalaza = dataset("adsGrupaNalaza", QStringLiteral("select * from GRUPA_NALAZA"), "Id");
    adsIzraz = dataset("adsIzraz", QStringLiteral("select * from IZRAZ"), "Datum");
    declare(adsIzraz, {field("DATUM", Date, "VAŽI OD", true), field("IZRAZ", Text, "IZRAZ")});
    adsNazivNalaza = dataset("adsNazivNalaza",
                             QStringLiteral("SELECT     NAZIV_NALAZA.*, NALAZI.NAZIV_NALAZA FROM NAZIV_NALAZA "
                                            "INNER JOIN NALAZI ON NAZIV_NALAZA.NALAZ = NALAZI.ID"),
                             "Id;Poseta_Fk");
    declareVisitRecord(adsNazivNalaza, {"ID", "POSETA_FK"});
    adsVrednostNalaza = dataset("adsVrednostNalaza", QStringLiteral("SELECT * FROM Vrednost_Nalaza"), "Nalaz_FK;Poseta_FK;Id");
    declareVisitRecord(adsVrednostNalaza, {"ID", "NALAZ_FK", "Poseta_FK"});
    adsNazivNalazaDijalog = dataset("adsNazivNalazaDijalog",
                                    QStringLiteral("SELECT NALAZI.ID, NALAZI.NAZIV_NALAZA, GRUPA_NALAZA.NAZIV AS NAZIV_GRUPE_NALAZA "
                                                   "FROM NALAZI INNER JOIN GRUPA_NALAZA ON NALAZI.GRUPA_NALAZA_FK = GRUPA_NALAZA.ID"),
                                    "ID");

    adsMKB10 = dataset("adsMKB10", QStringLiteral("select * from MKB10"), "Id");
    adsDijagnoza = dataset("adsDijagnoza",
                           QStringLiteral("SELECT     DIJAGNOZE.*, MKB10.DIJAGNOZA, MKB10.SIFRA FROM         DIJAGNOZE "
                                          "LEFT OUTER JOIN MKB10 ON DIJAGNOZE.DIJAGNOZE = MKB10.ID"),
                           "Pacijent_FK;Poseta_FK;ID");
    declareVisitRecord(adsDijagnoza, {"ID", "PACIJENT_FK", "POSETA_FK"});
    adsLekovi = dataset("adsLekovi", QStringLiteral("SELECT     *  FROM LEKOVI"), "ID");
    adsPreporucenaTerapija = dataset("adsPreporucenaTerapija",
                                     QStringLiteral("SELECT     PREPORUCENA_TERAPIJA.*, LEKOVI.NAZIV_LEKA, LEKOVI.OGRANICENJA, LEKOVI.SIFRA, "
                                                    "LEKOVI.DOZA as DozaLeka FROM         PREPORUCENA_TERAPIJA "
                                                    "LEFT OUTER JOIN LEKOVI ON PREPORUCENA_TERAPIJA.LEK = LEKOVI.ID"),
                                     "Pacijent_FK;Poseta_FK;ID");

    adsKonzilijarni = dataset("adsKonzilijarni", QStringLiteral("SELECT     *  FROM KONZILIJARNI"), "ID");
    adsNazivKonzilijarni = dataset("adsNazivKonzilijarni",
                                   QStringLiteral("SELECT     NAZIV_KONZILIJARNI.*, KONZILIJARNI.NAZIV FROM         NAZIV_KONZILIJARNI "
                                                  "LEFT OUTER JOIN KONZILIJARNI ON NAZIV_KONZILIJARNI.KONZILIJARNI = KONZILIJARNI.ID"),
                                   "Pacijent_FK;Poseta_FK;ID");
    adsVrednostKonzilijarni = dataset("adsVrednostKonzilijarni", QStringLiteral("select * from VREDNOST_KONZILIJARNI"),
                                      "Pacijent_FK;Poseta_FK;Konzilijarni_FK;ID");
    adsDijagnostika = dataset("adsDijagnostika", QStringLiteral("SELECT     *  FROM DIJAGNOSTIKA"), "ID");
    adsNazivDijagnostika = dataset("adsNazivDijagnostika",
                                   QStringLiteral("select NAZIV_DIJAGNOSTIKA.*, DIJAGNOSTIKA.NAZIV AS NAZIV_DIJAGNOSTIKE from NAZIV_DIJAGNOSTIKA "
                                                  "LEFT OUTER JOIN DIJAGNOSTIKA ON NAZIV_DIJAGNOSTIKA.DIJAGNOSTIKA = DIJAGNOSTIKA.ID"),
                                   "Pacijent_FK;Poseta_FK;ID");
    declareVisitRecord(adsNazivDijagnostika, {"ID", "PACIJENT_FK", "POSETA_FK"});
    adsVrednostDijagnostika = dataset("adsVrednostDijagnostika", QStringLiteral("select * from VREDNOST_DIJAGNOSTIKA"),
                                      "Pacijent_FK;Poseta_FK;DIJAGNOSTIKA_FK;ID");
    declareVisitRecord(adsVrednostDijagnostika, {"ID", "PACIJENT_FK", "POSETA_FK", "DIJAGNOSTIKA_FK"});
    declare(adsVrednostDijagnostika, {field("DATUM", Date, "DATUM"), field("VREDNOST", Memo, "VREDNOST")});

    adsPosetaZaStampu = dataset("adsPosetaZaStampu",
                                QStringLiteral("SELECT POSETA.*, KLINIKE.NAZIV AS NazivKlinike, UPUTNA_DG.DIJAGNOZA, LEKAR.LEKAR "
                                               "FROM PACIJENT INNER JOIN POSETA ON PACIJENT.ID = POSETA.PACIJENT_FK "
                                               "LEFT OUTER JOIN GRAD ON PACIJENT.MESTO_PREBIVALISTA = GRAD.ID ")
                                    + visitJoins,
                                "Id");

    spOtpusnaLista = component<database::StoredProc>(QStringLiteral("spOtpusnaLista"), QStringLiteral("sp_OtpusnaLista;1"));
    spLabNalazi = component<database::StoredProc>(QStringLiteral("spLabNalazi"), QStringLiteral("sp_LabNalazi;1"));
    spKlinikaZaStampu = component<database::StoredProc>(QStringLiteral("spKlinikaZaStampu"), QStringLiteral("sp_KlinikaZaStampu;1"));
    spStampaDijagnostika = component<database::StoredProc>(QStringLiteral("spStampaDijagnostika"), QStringLiteral("sp_StampaDijagnostika"));
    spStampaKonzilijarni = component<database::StoredProc>(QStringLiteral("spStampaKonzilijarni"), QStringLiteral("sp_StampaKonzilijarni;1"));
    spStampaPreporuceneTerapije = component<database::StoredProc>(QStringLiteral("spStampaPreporuceneTerapije"),
                                                                  QStringLiteral("sp_StampaPreporuceneTerapije;1"));
}

TdmPodaciZajednicke::TdmPodaciZajednicke(QObject *parent)
    : TcDataModule(parent)
{
    setObjectName(QStringLiteral("dmPodaciZajednicke"));
    spNadji = component<database::StoredProc>(QStringLiteral("spNadji"), QStringLiteral("sp_Nadji;1"));
    spPrimarniKljucevi = component<database::StoredProc>(QStringLiteral("spPrimarniKljucevi"), QStringLiteral("sp_PrimarniKljucevi;1"));
    spVratiKoloneSaDefValue = component<database::StoredProc>(QStringLiteral("spVratiKoloneSaDefValue"),
                                                              QStringLiteral("sp_VratiKoloneSaDefValue;1"));
    spVratiNotNullDefValue = component<database::StoredProc>(QStringLiteral("spVratiNotNullDefValue"),
                                                             QStringLiteral("sp_VratiNotNullDefValue;1"));
}

void createDataModules()
{
    destroyDataModules();
    dmPodaci = new TdmPodaci;
    try {
        dmPodaci->create();
    } catch (const std::exception &error) {
        reportError(error, dmPodaci);
    }
    dmPodaciZajednicke = new TdmPodaciZajednicke;
    try {
        dmPodaciZajednicke->create();
    } catch (const std::exception &error) {
        reportError(error, dmPodaciZajednicke);
    }
    // The login's connection served until a module connected.
    if (Globals.Connection != loginConnection.get())
        loginConnection.reset();
}

void destroyDataModules()
{
    delete dmPodaciZajednicke;
    dmPodaciZajednicke = nullptr;
    delete dmPodaci;
    dmPodaci = nullptr;
    if (!Globals.Connection && loginConnection)
        Globals.Connection = loginConnection.get();
}

} // namespace velmora
