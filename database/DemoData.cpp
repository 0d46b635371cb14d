#include "DemoData.h"

#include <QDate>
#include <QDateTime>

#include <array>
#include <random>

namespace velmora::database {
namespace {

struct Place {
    const char *name;
    const char *postal;
    const char *area;
};

const Place kPlaces[] = {
    {"Beograd", "11000", "011"}, {"Novi Sad", "21000", "021"}, {"Niš", "18000", "018"}, {"Kragujevac", "34000", "034"},
    {"Subotica", "24000", "024"}, {"Zrenjanin", "23000", "023"}, {"Pančevo", "26000", "013"}, {"Čačak", "32000", "032"},
    {"Kraljevo", "36000", "036"}, {"Novi Pazar", "36300", "020"}, {"Smederevo", "11300", "026"}, {"Leskovac", "16000", "016"},
    {"Užice", "31000", "031"}, {"Vranje", "17500", "017"}, {"Valjevo", "14000", "014"}, {"Šabac", "15000", "015"},
    {"Sombor", "25000", "025"}, {"Požarevac", "12000", "012"}, {"Pirot", "18300", "010"}, {"Zaječar", "19000", "019"},
    {"Kruševac", "37000", "037"}, {"Jagodina", "35000", "035"}, {"Sremska Mitrovica", "22000", "022"}, {"Loznica", "15300", "015"},
    {"Bor", "19210", "030"}, {"Prokuplje", "18400", "027"}, {"Ćuprija", "35230", "035"}, {"Đakovica", "50000", "0390"},
    {"Aranđelovac", "34300", "034"}, {"Gornji Milanovac", "32300", "032"}, {"Vršac", "26300", "013"}, {"Kikinda", "23300", "0230"},
    {"Inđija", "22320", "022"}, {"Obrenovac", "11500", "011"}, {"Lazarevac", "11550", "011"}, {"Paraćin", "35250", "035"},
    {"Negotin", "19300", "019"}, {"Trstenik", "37240", "037"}, {"Ivanjica", "32250", "032"}, {"Žabalj", "21230", "021"},
};

const char *const kMaleNames[] = {"Marko", "Nikola", "Stefan", "Milan", "Dragan", "Zoran", "Nenad", "Dejan", "Miloš", "Aleksandar",
                                  "Đorđe", "Vladimir", "Goran", "Slobodan", "Predrag", "Bojan", "Ivan", "Željko", "Srđan", "Dušan",
                                  "Miroslav", "Branislav", "Radoš", "Vukašin", "Živorad", "Čedomir", "Ljubomir", "Petar"};
const char *const kFemaleNames[] = {"Jelena", "Milica", "Ana", "Marija", "Dragana", "Snežana", "Gordana", "Ivana", "Jovana", "Tijana",
                                    "Vesna", "Biljana", "Zorica", "Ljiljana", "Mirjana", "Nataša", "Đurđa", "Olivera", "Svetlana",
                                    "Slađana", "Danica", "Živka", "Radmila", "Branka", "Katarina", "Nevena"};
const char *const kSurnames[] = {"Jovanović", "Petrović", "Nikolić", "Marković", "Đorđević", "Stojanović", "Ilić", "Stanković",
                                 "Pavlović", "Milošević", "Popović", "Đukić", "Kostić", "Savić", "Živković", "Todorović",
                                 "Lazić", "Ristić", "Čolić", "Šarić", "Mitrović", "Obradović", "Vasić", "Kovačević", "Tomić",
                                 "Radovanović", "Stevanović", "Milenković", "Ćirić", "Janković", "Bogdanović", "Simić",
                                 "Zdravković", "Filipović", "Lukić", "Đurić", "Nedeljković", "Vučković", "Krstić", "Antić"};
const char *const kStreets[] = {"Bulevar oslobođenja", "Kneza Miloša", "Njegoševa", "Cara Dušana", "Vojvode Mišića", "Karađorđeva",
                                "Svetog Save", "Nemanjina", "Takovska", "Kralja Petra I", "Žarka Zrenjanina", "Gundulićeva",
                                "Branka Radičevića", "Jovana Cvijića", "Čika Ljubina", "Šumadijska"};
const char *const kOccupations[] = {"penzioner", "poljoprivrednik", "učitelj", "vozač", "medicinska sestra", "inženjer",
                                    "trgovac", "domaćica", "student", "zidar", "ekonomista", "bravar", "službenik", "kuvar"};
const char *const kStatuses[] = {"Osiguranik", "Penzioner", "Član porodice osiguranika", "Nezaposlen", "Dete do 15 godina",
                                 "Socijalno ugrožen", "Ratni vojni invalid", "Strani državljanin"};
const char *const kReferrals[] = {"Stenokardija", "Hipertenzija", "Dispnea pri naporu", "Palpitacije", "Sinkopa",
                                  "Bol u grudima", "Otoci potkolenica", "Poremećaj ritma", "Kontrola posle infarkta",
                                  "Srčana insuficijencija", "Vrtoglavica", "Dijabetes melitus, dekompenzovan", "Anemija",
                                  "Febrilno stanje", "Bolovi u trbuhu", "Povišene vrednosti šećera", "Hronični kašalj",
                                  "Kontrola antikoagulantne terapije", "Gubitak telesne težine", "Glavobolja"};
const char *const kDoctors[] = {"Prof. dr Miodrag Ostojić", "Doc. dr Jelena Marinković", "Dr Dragan Simić", "Dr Ana Kovačević",
                                "Dr Nebojša Tasić", "Dr Vesna Stojanov", "Dr Goran Stanković", "Dr Marija Zdravković",
                                "Dr Ivan Nedeljković", "Dr Branislava Ivanović", "Dr Predrag Mitrović", "Dr Svetlana Vujić",
                                "Dr Milan Petrović", "Dr Tatjana Potpara", "Dr Đorđe Šarić"};

struct Icd {
    const char *code;
    const char *name;
};

const Icd kIcd[] = {
    {"A09", "Dijareja i gastroenteritis verovatno infektivnog porekla"}, {"A41", "Druga sepsa"}, {"B18", "Hronični virusni hepatitis"},
    {"C18", "Zloćudni tumor debelog creva"}, {"C34", "Zloćudni tumor dušnica i pluća"}, {"C50", "Zloćudni tumor dojke"},
    {"C61", "Zloćudni tumor prostate"}, {"D50", "Anemija zbog nedostatka gvožđa"}, {"D64", "Druge anemije"},
    {"D68", "Drugi poremećaji koagulacije"}, {"E03", "Druga hipotireoza"}, {"E05", "Tireotoksikoza"},
    {"E10", "Insulinozavisni dijabetes melitus"}, {"E11", "Insulinonezavisni dijabetes melitus"}, {"E66", "Gojaznost"},
    {"E78", "Poremećaji metabolizma lipoproteina"}, {"E86", "Smanjenje zapremine tečnosti"}, {"E87", "Drugi poremećaji tečnosti i elektrolita"},
    {"F10", "Duševni poremećaji uzrokovani alkoholom"}, {"F32", "Depresivna epizoda"}, {"F41", "Drugi anksiozni poremećaji"},
    {"G20", "Parkinsonova bolest"}, {"G30", "Alchajmerova bolest"}, {"G40", "Epilepsija"}, {"G45", "Prolazni moždani ishemijski napadi"},
    {"G47", "Poremećaji spavanja"}, {"H25", "Senilna katarakta"}, {"H40", "Glaukom"}, {"I05", "Reumatske bolesti mitralnog zaliska"},
    {"I10", "Esencijalna hipertenzija"}, {"I11", "Hipertenzivna bolest srca"}, {"I12", "Hipertenzivna bolest bubrega"},
    {"I20", "Angina pektoris"}, {"I21", "Akutni infarkt srca"}, {"I22", "Ponovljeni infarkt srca"},
    {"I25", "Hronična ishemijska bolest srca"}, {"I26", "Plućna embolija"}, {"I27", "Druge plućne bolesti srca"},
    {"I34", "Nereumatske bolesti mitralnog zaliska"}, {"I35", "Nereumatske bolesti aortnog zaliska"}, {"I42", "Kardiomiopatija"},
    {"I44", "Atrioventrikularni blok i blok leve grane"}, {"I45", "Drugi poremećaji sprovođenja"}, {"I47", "Paroksizmalna tahikardija"},
    {"I48", "Atrijalna fibrilacija i treperenje"}, {"I49", "Druge srčane aritmije"}, {"I50", "Srčana insuficijencija"},
    {"I51", "Komplikacije i nedovoljno definisane bolesti srca"}, {"I63", "Infarkt mozga"}, {"I64", "Moždani udar"},
    {"I65", "Začepljenje i suženje precerebralnih arterija"}, {"I67", "Druge cerebrovaskularne bolesti"},
    {"I70", "Ateroskleroza"}, {"I71", "Aneurizma i disekcija aorte"}, {"I73", "Druge bolesti perifernih krvnih sudova"},
    {"I80", "Flebitis i tromboflebitis"}, {"I83", "Proširene vene nogu"}, {"I95", "Hipotenzija"},
    {"J06", "Akutne infekcije gornjih disajnih puteva"}, {"J15", "Bakterijska pneumonija"}, {"J18", "Pneumonija, neoznačen uzročnik"},
    {"J20", "Akutni bronhitis"}, {"J44", "Druga hronična opstruktivna bolest pluća"}, {"J45", "Astma"}, {"J96", "Respiratorna insuficijencija"},
    {"K21", "Gastroezofagealna refluksna bolest"}, {"K25", "Čir želuca"}, {"K29", "Gastritis i duodenitis"},
    {"K35", "Akutno zapaljenje slepog creva"}, {"K40", "Preponska kila"}, {"K57", "Divertikularna bolest creva"},
    {"K70", "Alkoholna bolest jetre"}, {"K74", "Fibroza i ciroza jetre"}, {"K80", "Kamen u žučnoj kesi"},
    {"K85", "Akutno zapaljenje gušterače"}, {"L03", "Celulitis"}, {"M05", "Seropozitivni reumatoidni artritis"},
    {"M10", "Giht"}, {"M17", "Artroza kolena"}, {"M51", "Drugi poremećaji intervertebralnih diskova"},
    {"M54", "Bol u leđima"}, {"M81", "Osteoporoza bez patološkog preloma"}, {"N17", "Akutna bubrežna insuficijencija"},
    {"N18", "Hronična bolest bubrega"}, {"N20", "Kamen u bubregu i mokraćovodu"}, {"N39", "Drugi poremećaji mokraćnog sistema"},
    {"N40", "Hiperplazija prostate"}, {"R00", "Poremećaji srčanog otkucaja"}, {"R06", "Poremećaji disanja"},
    {"R07", "Bol u grlu i grudima"}, {"R42", "Vrtoglavica i nesvestica"}, {"R50", "Groznica nepoznatog porekla"},
    {"R55", "Sinkopa i kolaps"}, {"S06", "Povreda unutar lobanje"}, {"S72", "Prelom butne kosti"},
    {"T78", "Neželjena dejstva, neklasifikovana na drugom mestu"}, {"Z95", "Prisustvo srčanih i vaskularnih implantata"},
};

const char *const kIcdSuffixes[] = {"", ", sa komplikacijama", ", bez komplikacija", ", nespecifikovano"};

struct Drug {
    const char *name;
    const char *dose;
    const char *restriction;
};

const Drug kDrugs[] = {
    {"Bisoprolol", "5 mg", ""}, {"Metoprolol", "50 mg", ""}, {"Karvedilol", "6,25 mg", ""}, {"Ramipril", "5 mg", ""},
    {"Perindopril", "4 mg", ""}, {"Enalapril", "10 mg", ""}, {"Lizinopril", "10 mg", ""}, {"Losartan", "50 mg", ""},
    {"Valsartan", "80 mg", ""}, {"Amlodipin", "5 mg", ""}, {"Indapamid", "1,5 mg", ""}, {"Furosemid", "40 mg", ""},
    {"Spironolakton", "25 mg", ""}, {"Atorvastatin", "20 mg", ""}, {"Rosuvastatin", "10 mg", ""}, {"Acetilsalicilna kiselina", "100 mg", ""},
    {"Klopidogrel", "75 mg", "L - uz mišljenje kardiologa"}, {"Tikagrelor", "90 mg", "RF - posle akutnog koronarnog sindroma"},
    {"Varfarin", "3 mg", "prema INR"}, {"Apiksaban", "5 mg", "RF"}, {"Rivaroksaban", "20 mg", "RF"}, {"Dabigatran", "150 mg", "RF"},
    {"Digoksin", "0,25 mg", ""}, {"Amiodaron", "200 mg", ""}, {"Propafenon", "150 mg", ""}, {"Trimetazidin", "35 mg", ""},
    {"Nitroglicerin sprej", "0,4 mg", "po potrebi"}, {"Izosorbid mononitrat", "40 mg", ""}, {"Metformin", "850 mg", ""},
    {"Gliklazid", "60 mg", ""}, {"Insulin glargin", "100 IJ/ml", "L"}, {"Levotiroksin", "50 mcg", ""},
    {"Pantoprazol", "40 mg", ""}, {"Omeprazol", "20 mg", ""}, {"Ranitidin", "150 mg", ""}, {"Alopurinol", "100 mg", ""},
    {"Kalijum hlorid", "500 mg", ""}, {"Paracetamol", "500 mg", ""}, {"Ibuprofen", "400 mg", "ne uz antikoagulanse"},
    {"Diazepam", "5 mg", ""}, {"Bromazepam", "3 mg", ""}, {"Sertralin", "50 mg", ""}, {"Amoksicilin", "500 mg", ""},
    {"Cefuroksim", "500 mg", ""}, {"Ciprofloksacin", "500 mg", ""}, {"Enoksaparin", "40 mg", "L"}, {"Salbutamol", "100 mcg", ""},
    {"Tiotropijum", "18 mcg", ""}, {"Prednizon", "20 mg", ""}, {"Vitamin D3", "1000 IJ", ""},
};

struct LabGroup {
    const char *name;
    std::array<const char *, 6> tests;
    std::array<const char *, 6> ranges;
};

const LabGroup kLab[] = {
    {"Hematologija", {"Leukociti", "Eritrociti", "Hemoglobin", "Hematokrit", "Trombociti", "Sedimentacija"},
     {"4,0 - 10,0 x10^9/L", "4,2 - 5,8 x10^12/L", "120 - 170 g/L", "0,37 - 0,49", "150 - 400 x10^9/L", "do 20 mm/h"}},
    {"Biohemija", {"Glukoza", "Urea", "Kreatinin", "Mokraćna kiselina", "AST", "ALT"},
     {"3,9 - 6,1 mmol/L", "2,5 - 7,5 mmol/L", "62 - 115 umol/L", "202 - 416 umol/L", "do 37 U/L", "do 41 U/L"}},
    {"Lipidni status", {"Holesterol", "Trigliceridi", "HDL holesterol", "LDL holesterol", "", ""},
     {"do 5,2 mmol/L", "do 1,7 mmol/L", "preko 1,0 mmol/L", "do 3,0 mmol/L", "", ""}},
    {"Elektroliti", {"Natrijum", "Kalijum", "Hloridi", "Kalcijum", "Magnezijum", ""},
     {"135 - 145 mmol/L", "3,5 - 5,1 mmol/L", "98 - 107 mmol/L", "2,2 - 2,6 mmol/L", "0,7 - 1,0 mmol/L", ""}},
    {"Kardiospecifični enzimi", {"CK", "CK-MB", "Troponin I", "LDH", "NT-proBNP", ""},
     {"do 190 U/L", "do 24 U/L", "do 0,04 ng/mL", "do 460 U/L", "do 125 pg/mL", ""}},
    {"Koagulacija", {"PT", "INR", "aPTT", "Fibrinogen", "D-dimer", ""},
     {"70 - 130 %", "0,8 - 1,2", "25 - 35 s", "2,0 - 4,0 g/L", "do 0,5 mg/L", ""}},
};

const char *const kConsultations[] = {"Neurolog", "Nefrolog", "Endokrinolog", "Pulmolog", "Gastroenterolog", "Vaskularni hirurg",
                                      "Kardiohirurg", "Psihijatar", "Oftalmolog", "Fizijatar"};
const char *const kDiagnostics[] = {"EKG", "Ehokardiografija", "Holter EKG 24h", "Test opterećenja", "RTG srca i pluća",
                                    "Koronarografija", "Dopler krvnih sudova vrata", "Holter pritiska 24h", "CT grudnog koša",
                                    "Ultrazvuk abdomena"};

const char *const kComplaints[] = {"Gušenje i zamaranje pri manjem naporu", "Bol iza grudne kosti pri naporu",
                                   "Lupanje srca i nesvestica", "Otoci potkolenica i kratak dah", "Pritiskajući bol u grudima u miru",
                                   "Povišen krvni pritisak uz glavobolju"};
const char *const kConsultFindings[] = {
    "Bez znakova fokalnog neurološkog deficita. Preporuka: kontrola po potrebi.",
    "Hronična bolest bubrega, stadijum 3a. Korigovati dozu diuretika, kontrola uree i kreatinina za mesec dana.",
    "Dijabetes dobro regulisan. Nastaviti postojeću terapiju, HbA1c za 3 meseca.",
    "Spirometrijski blaga opstrukcija. Uvesti inhalatornu terapiju.",
    "Gastritis. Uz antiagregacionu terapiju nastaviti inhibitor protonske pumpe."};
const char *const kDiagnosticFindings[] = {
    "Sinusni ritam, fr. 72/min, normogram, bez akutnih promena ST segmenta.",
    "Leva komora normalnih dimenzija, očuvane globalne sistolne funkcije, EF 55%. Blaga mitralna regurgitacija.",
    "Dominantan sinusni ritam, povremene izolovane VES, bez pauza dužih od 2 s.",
    "Test negativan za ishemiju pri opterećenju od 10 METs.",
    "Srčana senka uvećana, plućni hilusi naglašeni, bez izliva."};

class Writer {
public:
    Writer(db::Connection &connection, unsigned seed)
        : m_db(connection)
        , m_random(seed)
    {
    }

    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_random); }

    void insert(const char *table, const QStringList &columns, const db::Params &values)
    {
        QStringList quoted;
        QStringList marks;
        for (const QString &c : columns) {
            quoted << m_db.quoteIdentifier(c);
            marks << QStringLiteral("?");
        }
        m_db.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(QLatin1String(table), quoted.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                     values);
    }

    db::Connection &m_db;
    std::mt19937 m_random;
};

template <class T, size_t N>
constexpr int count(const T (&)[N])
{
    return int(N);
}

QString jmbg(const QDate &birth, bool male, int serial)
{
    QString digits = QStringLiteral("%1%2%3%4%5")
                         .arg(birth.day(), 2, 10, QLatin1Char('0'))
                         .arg(birth.month(), 2, 10, QLatin1Char('0'))
                         .arg(birth.year() % 1000, 3, 10, QLatin1Char('0'))
                         .arg(71 + serial % 9, 2, 10, QLatin1Char('0'))
                         .arg((male ? 0 : 500) + serial % 500, 3, 10, QLatin1Char('0'));
    static constexpr int weights[] = {7, 6, 5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (digits.at(i).unicode() - '0') * weights[i];
    int check = 11 - sum % 11;
    if (check > 9)
        check = 0;
    return digits + QString::number(check);
}

} // namespace

DemoCounts fillDemoData(db::Connection &connection, int patients, unsigned seed, const std::function<void(int)> &progress)
{
    Writer w(connection, seed);
    DemoCounts counts;
    connection.executeScript(QStringLiteral("BEGIN"));
    try {
        for (int i = 0; i < count(kPlaces); ++i)
            w.insert("GRAD", {"ID", "MESTO", "POSTANSKI_BROJ", "POZIVNI_BROJ"},
                     {i + 1, QString::fromUtf8(kPlaces[i].name), kPlaces[i].postal, kPlaces[i].area});
        for (int i = 0; i < count(kStatuses); ++i)
            w.insert("STATUS", {"ID", "NAZIV"}, {i + 1, QString::fromUtf8(kStatuses[i])});
        for (int i = 0; i < count(kReferrals); ++i)
            w.insert("UPUTNA_DG", {"ID", "DIJAGNOZA"}, {i + 1, QString::fromUtf8(kReferrals[i])});
        for (int i = 0; i < count(kDoctors); ++i)
            w.insert("LEKAR", {"ID", "LEKAR", "NACELNIK_ODELJENJA", "UPRAVNIK_KLINIKE", "DIREKTOR_KLINIKE"},
                     {i + 1, QString::fromUtf8(kDoctors[i]), i == 2 ? 1 : 0, i == 1 ? 1 : 0, i == 0 ? 1 : 0});
        w.insert("KLINIKE", {"ID", "NAZIV", "NAZIV_INSTITUTA", "NAZIV_KLINIKE", "GRAD", "ADRESA", "TELEFON", "BR_SPRATA", "POLIKLINIKA", "UPRAVNIK"},
                 {1, QStringLiteral("Klinički centar"), QStringLiteral("Institut za kardiovaskularne bolesti"),
                  QStringLiteral("Klinika za kardiologiju"), 1, QStringLiteral("Višegradska 26"), QStringLiteral("011/3663-000"), 3, 0, 2});
        w.insert("KLINIKE", {"ID", "NAZIV", "NAZIV_INSTITUTA", "NAZIV_KLINIKE", "GRAD", "ADRESA", "TELEFON", "BR_SPRATA", "POLIKLINIKA", "UPRAVNIK"},
                 {2, QStringLiteral("Klinički centar"), QStringLiteral("Institut za kardiovaskularne bolesti"),
                  QStringLiteral("Kardiološka poliklinika"), 1, QStringLiteral("Višegradska 26"), QStringLiteral("011/3663-100"), 0, 1, 2});

        int icd = 0;
        for (const Icd &entry : kIcd) {
            for (int s = 0; s < count(kIcdSuffixes); ++s) {
                const QString code = s == 0 ? QString::fromLatin1(entry.code) : QStringLiteral("%1.%2").arg(QLatin1String(entry.code)).arg(s == 3 ? 9 : s - 1);
                w.insert("MKB10", {"ID", "DIJAGNOZA", "SIFRA"}, {++icd, QString::fromUtf8(entry.name) + QString::fromUtf8(kIcdSuffixes[s]), code});
            }
        }
        counts.icd10 = icd;
        for (int i = 0; i < count(kDrugs); ++i)
            w.insert("LEKOVI", {"ID", "NAZIV_LEKA", "DOZA", "SIFRA", "OGRANICENJA"},
                     {i + 1, QString::fromUtf8(kDrugs[i].name), QString::fromUtf8(kDrugs[i].dose), 1000000 + 4711 * (i + 1),
                      *kDrugs[i].restriction ? QVariant(QString::fromUtf8(kDrugs[i].restriction)) : QVariant()});

        QList<QPair<int, QString>> tests; // test ID, reference range
        int testId = 0;
        for (int g = 0; g < count(kLab); ++g) {
            w.insert("GRUPA_NALAZA", {"ID", "NAZIV"}, {g + 1, QString::fromUtf8(kLab[g].name)});
            for (size_t t = 0; t < kLab[g].tests.size(); ++t) {
                if (!*kLab[g].tests[t])
                    continue;
                w.insert("NALAZI", {"ID", "NAZIV_NALAZA", "GRUPA_NALAZA_FK"}, {++testId, QString::fromUtf8(kLab[g].tests[t]), g + 1});
                w.insert("IZRAZ", {"NALAZ_FK", "DATUM", "IZRAZ"}, {testId, QDateTime(QDate(2015, 1, 1), QTime(0, 0)), QString::fromUtf8(kLab[g].ranges[t])});
                tests.append({testId, QString::fromUtf8(kLab[g].ranges[t])});
            }
        }
        for (int i = 0; i < count(kConsultations); ++i)
            w.insert("KONZILIJARNI", {"ID", "NAZIV"}, {i + 1, QString::fromUtf8(kConsultations[i])});
        for (int i = 0; i < count(kDiagnostics); ++i)
            w.insert("DIJAGNOSTIKA", {"ID", "NAZIV"}, {i + 1, QString::fromUtf8(kDiagnostics[i])});
        w.insert("_regi", {"Bekap", "rar", "BekapMreza"},
                 {QStringLiteral("/var/backups/velmora/Odeljenje_"), QStringLiteral("/var/backups/velmora/Odeljenje_"),
                  QStringLiteral("/var/backups/velmora/arhiva")});

        // Values of laboratory results are numbered per entry number across all visits.
        QHash<int, int> lastValueId;
        const QStringList visitColumns = {"PACIJENT_FK", "ID", "KLINIKA", "POSETA_BROJ", "BROJ_SOBE", "DATUM_PRIJEMA", "DATUM_OTPUSTA",
                                          "UPUTNA_DIJAGNOZA", "NACELNIK_ODELJENJA", "SIFRA_SLOVO", "SIFRA_2CIFRE", "SIFRA_1CIFRA",
                                          "VRSTA_POSETE", "Glavne tegobe", "Sadašnja bolest", "Ranije bolesti", "Opšte tegobe",
                                          "Glava i vrat", "Organi za disanje", "Organi za krvotok", "Organi za varenje",
                                          "Mokraćno-polni organi", "Kosti, zglobovi, mišići koža", "Nervni sistem",
                                          "Lična anamneza", "Porodična anamneza", "Objektivni nalaz", "EPIKRIZA"};
        for (int p = 1; p <= patients; ++p) {
            const bool male = w.chance(0.55);
            const QString first = QString::fromUtf8(male ? kMaleNames[w.pick(count(kMaleNames))] : kFemaleNames[w.pick(count(kFemaleNames))]);
            const QString middle = QString::fromUtf8(kMaleNames[w.pick(count(kMaleNames))]);
            const QString surname = QString::fromUtf8(kSurnames[w.pick(count(kSurnames))]);
            const QDate birth(w.between(1930, 2004), w.between(1, 12), w.between(1, 28));
            const int place = w.pick(count(kPlaces)) + 1;
            w.insert("PACIJENT", {"ID", "IME", "SREDNJE_IME", "PREZIME", "ADRESA", "MESTO_PREBIVALISTA", "POL", "GODINA_RODJENJA",
                                  "ZANIMANJE", "STATUS", "PolKlBr", "JMBG", "BROJ_KNJIZICE", "REGISTARSKI BROJ", "FZZ"},
                     {p, first, w.chance(0.9) ? QVariant(middle) : QVariant(), surname,
                      QStringLiteral("%1 %2").arg(QString::fromUtf8(kStreets[w.pick(count(kStreets))])).arg(w.between(1, 180)), place,
                      male ? QStringLiteral("M") : QStringLiteral("Ž"), birth.year(), QString::fromUtf8(kOccupations[w.pick(count(kOccupations))]),
                      w.pick(count(kStatuses)) + 1, QStringLiteral("%1/%2").arg(w.between(1000, 99999)).arg(w.between(10, 26)),
                      jmbg(birth, male, p), QString::number(10000000000LL + qint64(p) * 7919), QString::number(100000 + p), w.between(1, 9)});
            ++counts.patients;

            const int visits = w.between(1, 3);
            QDate admitted(w.between(2019, 2026), w.between(1, 12), w.between(1, 20));
            for (int v = 1; v <= visits; ++v) {
                const QDate discharged = admitted.addDays(w.between(2, 14));
                db::Params values = {p, v, 1, QStringLiteral("%1/%2").arg(w.between(1, 9999)).arg(admitted.year()), w.between(1, 40),
                                     admitted.startOfDay(), discharged.startOfDay(), w.pick(count(kReferrals)) + 1, 3,
                                     QStringLiteral("I"), QStringLiteral("%1").arg(w.between(10, 99)), QString::number(w.between(0, 9)), 1,
                                     QString::fromUtf8(kComplaints[w.pick(count(kComplaints))]),
                                     QStringLiteral("Tegobe traju %1 dana, pojačane poslednja dva dana.").arg(w.between(2, 30)),
                                     QStringLiteral("negira"), QStringLiteral("Bez temperature, apetit očuvan."),
                                     QStringLiteral("Vidljive sluzokože normalno prokrvljene. Vrat bez uvećanih limfnih žlezda."),
                                     QStringLiteral("Disanje vezikularno, bez pripomoćnih šumova."),
                                     QStringLiteral("Srčana akcija ritmična, tonovi jasni, TA %1/%2 mmHg.").arg(w.between(110, 180)).arg(w.between(65, 105)),
                                     QStringLiteral("Trbuh u nivou grudnog koša, mek, bezbolan."),
                                     QStringLiteral("Sukusije bubrega negativne obostrano."),
                                     QStringLiteral("Bez deformiteta, pokretljivost očuvana."),
                                     QStringLiteral("Svestan, orijentisan, bez fokalnog deficita."),
                                     QStringLiteral("Puši %1 godina, alkohol negira.").arg(w.between(0, 40)),
                                     QStringLiteral("Otac lečen od hipertenzije."),
                                     QStringLiteral("Eupnoičan, afebrilan, bez cijanoze. Potkolenice bez otoka."),
                                     QStringLiteral("Pacijent primljen radi dijagnostike i lečenja. Tokom hospitalizacije sproveden je "
                                                    "dijagnostički postupak i korigovana terapija. Otpušta se u stabilnom stanju "
                                                    "uz preporuku kontrole kod kardiologa za mesec dana.")};
                w.insert("POSETA", visitColumns, values);
                ++counts.visits;
                w.insert("VEZA_LEKAR_POSETA", {"LEKAR", "POSETA", "PACIJENT"}, {w.between(4, count(kDoctors)), v, p});
                const int diagnoses = w.between(1, 3);
                for (int d = 1; d <= diagnoses; ++d)
                    w.insert("DIJAGNOZE", {"ID", "PACIJENT_FK", "POSETA_FK", "DIJAGNOZE", "DODATAK"},
                             {d, p, v, w.between(1, icd), d == 1 ? QVariant(QStringLiteral("glavna dijagnoza")) : QVariant()});
                const int drugs = w.between(1, 4);
                for (int d = 1; d <= drugs; ++d) {
                    const int drug = w.pick(count(kDrugs));
                    w.insert("PREPORUCENA_TERAPIJA", {"ID", "PACIJENT_FK", "POSETA_FK", "LEK", "DOZA"},
                             {d, p, v, drug + 1, QStringLiteral("1 x %1 dnevno").arg(QString::fromUtf8(kDrugs[drug].dose))});
                }
                const int labTests = w.between(2, 6);
                for (int e = 1; e <= labTests; ++e) {
                    const auto &test = tests[w.pick(int(tests.size()))];
                    w.insert("NAZIV_NALAZA", {"ID", "POSETA_FK", "PACIJENT_FK", "NALAZ"}, {e, v, p, test.first});
                    const int id = ++lastValueId[e];
                    w.insert("VREDNOST_NALAZA", {"ID", "NALAZ_FK", "Poseta_FK", "Pacijent_FK", "VREDNOST"},
                             {id, e, v, p, QStringLiteral("%1,%2").arg(w.between(1, 250)).arg(w.between(0, 9))});
                    ++counts.labValues;
                }
                if (w.chance(0.4)) {
                    w.insert("NAZIV_KONZILIJARNI", {"ID", "PACIJENT_FK", "POSETA_FK", "KONZILIJARNI"}, {1, p, v, w.pick(count(kConsultations)) + 1});
                    w.insert("VREDNOST_KONZILIJARNI", {"ID", "PACIJENT_FK", "POSETA_FK", "KONZILIJARNI_FK", "VREDNOST"},
                             {1, p, v, 1, QString::fromUtf8(kConsultFindings[w.pick(count(kConsultFindings))])});
                }
                const int procedures = w.between(1, 2);
                for (int d = 1; d <= procedures; ++d) {
                    w.insert("NAZIV_DIJAGNOSTIKA", {"ID", "PACIJENT_FK", "POSETA_FK", "DIJAGNOSTIKA"}, {d, p, v, w.pick(count(kDiagnostics)) + 1});
                    w.insert("VREDNOST_DIJAGNOSTIKA", {"ID", "PACIJENT_FK", "POSETA_FK", "DIJAGNOSTIKA_FK", "VREDNOST", "DATUM"},
                             {1, p, v, d, QString::fromUtf8(kDiagnosticFindings[w.pick(count(kDiagnosticFindings))]),
                              admitted.addDays(1).startOfDay()});
                }
                admitted = discharged.addDays(w.between(30, 400));
            }
            if (progress && p % 1000 == 0)
                progress(p);
        }
        connection.executeScript(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            connection.executeScript(QStringLiteral("ROLLBACK"));
        } catch (const db::DbError &) {
        }
        throw;
    }
    return counts;
}

} // namespace velmora::database
