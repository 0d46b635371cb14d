// Benchmark of the client cursor against the raw sqlite3 step-and-decode of
// the same statement, on 100k and 1M patient rows. Prints one line per
// measure: rows, milliseconds, and the ratio to the raw decode measured in
// the same run (absolute times vary between machines; the ratios hold).
#include "database/Schema.h"
#include "platform/dataset/Dataset.h"
#include "platform/db/Dialect.h"
#include "platform/db/SqliteConnection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <random>

using namespace velmora;

namespace {

const char *const kFirst[] = {"Marko", "Nikola", "Stefan", "Milan", "Dragan", "Jelena", "Milica", "Ana", "Marija", "Đorđe", "Živka",
                              "Čedomir", "Ljiljana", "Šćepan", "Snežana", "Vukašin", "Olivera", "Radoš", "Tijana", "Ćirilo"};
const char *const kSurnames[] = {"Jovanović", "Petrović", "Nikolić", "Marković", "Đorđević", "Stojanović", "Ilić", "Stanković",
                                 "Pavlović", "Milošević", "Popović", "Đukić", "Kostić", "Savić", "Živković", "Todorović", "Lazić",
                                 "Ristić", "Čolić", "Šarić", "Mitrović", "Obradović", "Vasić", "Kovačević", "Tomić", "Ćirić",
                                 "Janković", "Bogdanović", "Simić", "Zdravković", "Filipović", "Lukić", "Đurić", "Krstić", "Antić"};
const char *const kPlaces[] = {"Beograd", "Novi Sad", "Niš", "Kragujevac", "Subotica", "Čačak", "Šabac", "Ćuprija", "Užice", "Žabalj"};
const char *const kStreets[] = {"Bulevar oslobođenja", "Kneza Miloša", "Njegoševa", "Cara Dušana", "Vojvode Mišića", "Karađorđeva"};

const QString kStatement = QStringLiteral(
    "SELECT PACIJENT.*, ISNULL(PACIJENT.IME, '') + ' ' + ISNULL(PACIJENT.SREDNJE_IME, '') + ' ' + "
    "ISNULL(PACIJENT.PREZIME, '') AS Naziv, GRAD.MESTO AS NazivMesta "
    "FROM PACIJENT LEFT OUTER JOIN GRAD ON PACIJENT.MESTO_PREBIVALISTA = GRAD.ID");

void fill(db::SqliteConnection &c, int patients)
{
    database::createSchema(c);
    sqlite3 *db = c.handle();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (int i = 0; i < int(std::size(kPlaces)); ++i) {
        const QByteArray sql = QStringLiteral("INSERT INTO GRAD (ID, MESTO) VALUES (%1, '%2')").arg(i + 1).arg(QString::fromUtf8(kPlaces[i])).toUtf8();
        sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    }
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO PACIJENT (ID, IME, SREDNJE_IME, PREZIME, ADRESA, MESTO_PREBIVALISTA, POL, GODINA_RODJENJA, "
                       "ZANIMANJE, STATUS, PolKlBr, JMBG, BROJ_KNJIZICE, \"REGISTARSKI BROJ\", FZZ) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, NULL, ?, ?, ?, ?, ?)",
                       -1, &insert, nullptr);
    std::mt19937 random(42);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    for (int p = 1; p <= patients; ++p) {
        const QByteArray first = kFirst[pick(int(std::size(kFirst)))];
        const QByteArray middle = kFirst[pick(int(std::size(kFirst)))];
        const QByteArray surname = kSurnames[pick(int(std::size(kSurnames)))];
        const QByteArray address = QByteArray(kStreets[pick(int(std::size(kStreets)))]) + ' ' + QByteArray::number(pick(180) + 1);
        const QByteArray polyclinic = QByteArray::number(pick(99999)) + '/' + QByteArray::number(10 + pick(17));
        const QByteArray jmbg = QByteArray::number(1000000000000LL + qint64(random()) * 1000 % 8999999999999LL);
        const QByteArray booklet = QByteArray::number(10000000000LL + p);
        const QByteArray registration = QByteArray::number(100000 + p);
        int k = 1;
        sqlite3_bind_int(insert, k++, p);
        for (const QByteArray *text : {&first, &middle, &surname, &address})
            sqlite3_bind_text(insert, k++, text->constData(), int(text->size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, k++, pick(int(std::size(kPlaces))) + 1);
        sqlite3_bind_text(insert, k++, pick(2) ? "M" : "Ž", -1, SQLITE_STATIC);
        sqlite3_bind_int(insert, k++, 1930 + pick(75));
        sqlite3_bind_text(insert, k++, "penzioner", -1, SQLITE_STATIC);
        for (const QByteArray *text : {&polyclinic, &jmbg, &booklet, &registration})
            sqlite3_bind_text(insert, k++, text->constData(), int(text->size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, k++, 1 + pick(9));
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

// The baseline: step through the statement and decode every cell, on a
// connection of its own opened as the driver opens its own.
double rawDecode(const QString &path, qint64 *checksum)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    const QByteArray sql = db::dialect::rewrite(kStatement, db::Backend::SQLite).toUtf8();
    QElapsedTimer clock;
    clock.start();
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
    const int columns = sqlite3_column_count(stmt);
    qint64 sum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int i = 0; i < columns; ++i) {
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_INTEGER: sum += sqlite3_column_int64(stmt, i); break;
            case SQLITE_FLOAT: sum += qint64(sqlite3_column_double(stmt, i)); break;
            case SQLITE_NULL: break;
            default: {
                const unsigned char *text = sqlite3_column_text(stmt, i);
                sum += sqlite3_column_bytes(stmt, i) + text[0];
            }
            }
        }
    }
    sqlite3_finalize(stmt);
    const double ms = clock.nsecsElapsed() / 1e6;
    sqlite3_close(db);
    *checksum = sum;
    return ms;
}

long peakRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

long currentRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

void report(const char *measure, int rows, double ms, double baseline, double target)
{
    std::printf("%-32s rows=%8d  ms=%9.1f  ratio=%7.3f  target<=%.3f %s\n", measure, rows, ms, ms / baseline, target,
                ms / baseline <= target ? "ok" : "MISSED");
}

template <class F>
double timed(F &&f)
{
    QElapsedTimer clock;
    clock.start();
    f();
    return clock.nsecsElapsed() / 1e6;
}

void run(int patients)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.db"));
    {
        db::SqliteConnection c(path, db::SqliteConnection::OpenMode::CreateIfMissing);
        fill(c, patients);
    }
    db::SqliteConnection connection(path, db::SqliteConnection::OpenMode::Existing);
    qint64 checksum = 0;
    rawDecode(path, &checksum); // warm the page cache
    double baseline = 1e300;
    for (int i = 0; i < 3; ++i)
        baseline = std::min(baseline, rawDecode(path, &checksum));
    std::printf("raw sqlite3 step-and-decode      rows=%8d  ms=%9.1f  (baseline, checksum %lld)\n", patients, baseline, checksum);

    // The driver alone, into a sink that keeps nothing: what the store adds is the rest.
    struct Discard : db::RowSink {
        qint64 sum = 0;
        void columns(const QList<db::ColumnInfo> &) override {}
        void nullValue(int) override {}
        void integerValue(int, qint64 v) override { sum += v; }
        void floatValue(int, double v) override { sum += qint64(v); }
        void textValue(int, std::string_view t) override { sum += qint64(t.size()); }
        void dateTimeValue(int, qint64 v) override { sum += v; }
        void endRow() override {}
    } discard;
    double driver = 1e300;
    for (int i = 0; i < 3; ++i)
        driver = std::min(driver, timed([&] { connection.query(kStatement, {}, discard); }));
    std::printf("%-32s rows=%8d  ms=%9.1f  ratio=%7.3f  (for reference)\n", "driver into a discarding sink", patients, driver, driver / baseline);

    const long rssBefore = currentRssKb();
    data::Dataset patientsSet(QStringLiteral("adsPacijent"));
    patientsSet.setConnection(&connection);
    patientsSet.setCommandText(kStatement);
    double load = 1e300;
    for (int i = 0; i < 3; ++i) {
        patientsSet.close();
        load = std::min(load, timed([&] { patientsSet.open(); }));
    }
    report("load", patients, load, baseline, 1.6);

    report("sort by surname (sr_Latn)", patients, timed([&] { patientsSet.setSort(QStringLiteral("PREZIME ASC")); }), baseline, 1.2);
    report("sort by surname, again", patients,
           timed([&] { patientsSet.setSort(QString()); patientsSet.setSort(QStringLiteral("PREZIME ASC")); }), baseline, 1.2);
    report("sort by surname, first name", patients, timed([&] { patientsSet.setSort(QStringLiteral("PREZIME ASC, IME DESC")); }), baseline, 1.2);
    report("sort by year of birth", patients, timed([&] { patientsSet.setSort(QStringLiteral("GODINA_RODJENJA DESC")); }), baseline, 1.2);

    patientsSet.setFilter(QStringLiteral("PREZIME LIKE 'pet%' AND MESTO_PREBIVALISTA=5"));
    report("filter, two terms, first time", patients, timed([&] { patientsSet.setFiltered(true); }), baseline, 0.03);
    patientsSet.setFiltered(false);
    report("filter, two terms", patients, timed([&] { patientsSet.setFiltered(true); }), baseline, 0.03);
    const int filtered = patientsSet.recordCount();
    patientsSet.setFiltered(false);

    bool found = true;
    report("locate, full scan, first time", patients,
           timed([&] { found = patientsSet.locate(QStringLiteral("IME"), {QStringLiteral("%zzz")}, data::loCaseInsensitive | data::loPartialKey); }),
           baseline, 0.04);
    report("locate, full scan", patients,
           timed([&] { found = patientsSet.locate(QStringLiteral("PREZIME"), {QStringLiteral("%zzz")}, data::loCaseInsensitive | data::loPartialKey); }),
           baseline, 0.04);
    const long rssAfter = currentRssKb();
    std::printf("memory per row: %.0f bytes held by the dataset, %.0f bytes of resident growth (peak RSS %ld MB; %d rows filtered, found %d)\n",
                double(patientsSet.memoryBytes()) / patients, (rssAfter - rssBefore) * 1024.0 / patients, peakRssKb() / 1024,
                filtered, int(found));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QList<int> sizes = {100000, 1000000};
    if (argc > 1)
        sizes = {QByteArray(argv[1]).toInt()};
    for (const int size : sizes)
        run(size);
    return 0;
}
