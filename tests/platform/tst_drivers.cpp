#include "platform/db/ConnectionString.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace velmora;
using db::Backend;

class tst_Drivers : public QObject {
    Q_OBJECT

private slots:
    void initTestCase_data() { test::addBackendRows(); }

    void roundTripOfEveryType()
    {
        test::TestDatabase database(test::currentBackend());
        db::Connection &c = database.connection();
        const QDateTime admitted(QDate(2007, 3, 15), QTime(0, 0));
        const QDateTime discharged(QDate(2026, 12, 31), QTime(23, 59, 58));
        c.execute(QStringLiteral("insert into PACIJENT (ID, IME, GODINA_RODJENJA, [REGISTARSKI BROJ]) values (?, ?, ?, ?)"),
                  {7, QStringLiteral("Čedomir Đ. Šćekić-Žužić"), 1950, QVariant()});
        c.execute(QStringLiteral("insert into POSETA (PACIJENT_FK, ID, DATUM_PRIJEMA, DATUM_OTPUSTA, [Kosti, zglobovi, mišići koža], TEZINA_PRE) "
                                 "values (?, ?, ?, ?, ?, ?)"),
                  {7, 1, admitted, discharged, QString(5000, u'ž'), QVariant()});
        c.execute(QStringLiteral("insert into LEKAR (ID, LEKAR, DIREKTOR_KLINIKE) values (1, ?, ?)"), {QStringLiteral("Dr Ćirić"), true});

        QList<db::ColumnInfo> columns;
        const auto rows = c.selectRows(QStringLiteral(
            "select P.ID, P.IME, P.GODINA_RODJENJA, P.[REGISTARSKI BROJ], V.DATUM_PRIJEMA, V.DATUM_OTPUSTA, "
            "V.[Kosti, zglobovi, mišići koža], V.TEZINA_PRE, V.ID as VISIT, L.DIREKTOR_KLINIKE, L.NACELNIK_ODELJENJA "
            "from PACIJENT P inner join POSETA V on V.PACIJENT_FK = P.ID, LEKAR L"), {}, &columns);
        QCOMPARE(rows.size(), 1);
        const QVariantList &r = rows.first();
        QCOMPARE(r[0].toLongLong(), 7);
        QCOMPARE(r[1].toString(), QStringLiteral("Čedomir Đ. Šćekić-Žužić"));
        QCOMPARE(r[2].toInt(), 1950);
        QVERIFY(!r[3].isValid());
        QCOMPARE(r[4].toDateTime(), admitted);
        QCOMPARE(r[5].toDateTime(), discharged);
        QCOMPARE(r[6].toString(), QString(5000, u'ž'));
        QVERIFY(!r[7].isValid());
        QCOMPARE(r[9].toLongLong(), 1);
        QCOMPARE(r[10].toLongLong(), 0); // the column default

        QCOMPARE(columns[0].type, db::ColumnType::Integer);
        QCOMPARE(columns[1].type, db::ColumnType::Text);
        QCOMPARE(columns[1].length, 255);
        QCOMPARE(columns[2].type, db::ColumnType::SmallInt);
        QCOMPARE(columns[4].type, db::ColumnType::DateTime);
        QCOMPARE(columns[6].type, db::ColumnType::LongText);
        // Base table and column of joined and renamed columns.
        QCOMPARE(columns[3].baseTable.toUpper(), QStringLiteral("PACIJENT"));
        QCOMPARE(columns[3].baseColumn, QStringLiteral("REGISTARSKI BROJ"));
        QCOMPARE(columns[8].name.toUpper(), QStringLiteral("VISIT"));
        QCOMPARE(columns[8].baseTable.toUpper(), QStringLiteral("POSETA"));
        QCOMPARE(columns[8].baseColumn.toUpper(), QStringLiteral("ID"));
    }

    void expressionsHaveNoBaseTable()
    {
        test::TestDatabase database(test::currentBackend());
        QList<db::ColumnInfo> columns;
        const auto rows = database.connection().selectRows(QStringLiteral("select count(*) as N, 'x' as T from GRAD"), {}, &columns);
        QCOMPARE(rows.first().first().toLongLong(), 0);
        QVERIFY(columns[0].baseTable.isEmpty());
        QCOMPARE(columns[0].type, db::ColumnType::Integer);
    }

    void catalogue()
    {
        test::TestDatabase database(test::currentBackend());
        db::Connection &c = database.connection();
        QCOMPARE(c.primaryKey(QStringLiteral("Poseta")).join(u',').toUpper(), QStringLiteral("PACIJENT_FK,ID"));
        QCOMPARE(c.primaryKey(QStringLiteral("VREDNOST_KONZILIJARNI")).join(u',').toUpper(),
                 QStringLiteral("PACIJENT_FK,POSETA_FK,KONZILIJARNI_FK,ID"));
        QVERIFY(c.primaryKey(QStringLiteral("_regi")).isEmpty());
        QVERIFY(c.tableColumns(QStringLiteral("NoSuchTable")).isEmpty());

        const QList<db::TableColumn> doctor = c.tableColumns(QStringLiteral("lekar"));
        QCOMPARE(doctor.size(), 5);
        QVERIFY(doctor[0].notNull);
        QVERIFY(!doctor[1].hasDefault);
        QVERIFY(doctor[2].hasDefault);
        QCOMPARE(doctor[1].length, 255);
        bool sawNegira = false;
        for (const db::TableColumn &column : c.tableColumns(QStringLiteral("POSETA"))) {
            if (column.name == QLatin1String("Ranije bolesti")) {
                QVERIFY(column.defaultText.startsWith(QStringLiteral("'negira'")));
                sawNegira = true;
            }
        }
        QVERIFY(sawNegira);
        QVERIFY(c.tables().contains(QStringLiteral("pacijent"), Qt::CaseInsensitive));
    }

    void errorsCarryTheServersWords()
    {
        test::TestDatabase database(test::currentBackend());
        try {
            database.connection().selectRows(QStringLiteral("select NEMA from GRAD"));
            QFAIL("no error");
        } catch (const db::DbError &error) {
            QVERIFY2(error.message().contains(QStringLiteral("nema"), Qt::CaseInsensitive), error.what());
            QCOMPARE(error.sql(), QStringLiteral("select NEMA from GRAD"));
            QVERIFY(!error.code().isEmpty());
        }
        // A duplicate key is the server's refusal too.
        database.connection().execute(QStringLiteral("insert into GRAD (ID) values (1)"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, database.connection().execute(QStringLiteral("insert into GRAD (ID) values (1)")));
    }

    void refusedDeleteBeginsWithDELETE()
    {
        test::TestDatabase database(test::currentBackend());
        db::Connection &c = database.connection();
        c.execute(QStringLiteral("insert into GRAD (ID, MESTO) values (1, N'Beograd')"));
        c.execute(QStringLiteral("insert into PACIJENT (ID, MESTO_PREBIVALISTA) values (1, 1)"));
        try {
            c.execute(QStringLiteral("delete from GRAD where ID = 1"));
            QFAIL("the delete went through");
        } catch (const db::DbError &error) {
            QVERIFY2(error.message().startsWith(QLatin1String("DELETE")), error.what());
        }
        QCOMPARE(c.selectValue(QStringLiteral("select count(*) from GRAD")).toInt(), 1);
        // An insert that breaks a reference is not a refused delete.
        try {
            c.execute(QStringLiteral("insert into PACIJENT (ID, MESTO_PREBIVALISTA) values (2, 99)"));
            QFAIL("the insert went through");
        } catch (const db::DbError &error) {
            QVERIFY(!error.message().startsWith(QLatin1String("DELETE")));
        }
    }

    void twoConnectionsSeeEachOthersWrites()
    {
        test::TestDatabase database(test::currentBackend());
        auto other = database.openAnother();
        database.connection().execute(QStringLiteral("insert into STATUS (ID, NAZIV) values (1, N'Penzioner')"));
        QCOMPARE(other->selectValue(QStringLiteral("select NAZIV from STATUS where ID = 1")).toString(), QStringLiteral("Penzioner"));
        QCOMPARE(other->execute(QStringLiteral("update STATUS set NAZIV = ? where ID = ?"), {QStringLiteral("Osiguranik"), 1}), 1);
        QCOMPARE(database.connection().selectValue(QStringLiteral("select NAZIV from STATUS")).toString(), QStringLiteral("Osiguranik"));
    }

    void longStatementsTimeOut()
    {
        test::TestDatabase database(test::currentBackend(), false);
        db::Connection &c = database.connection();
        c.setTimeout(1);
        const QString slow = test::currentBackend() == Backend::SQLite
                                 ? QStringLiteral("with recursive n(x) as (select 1 union all select x + 1 from n) select count(*) from n")
                                 : QStringLiteral("select pg_sleep(5)");
        QVERIFY_THROWS_EXCEPTION(db::DbError, c.selectRows(slow));
        // The connection is still usable.
        QCOMPARE(c.selectValue(QStringLiteral("select 1")).toInt(), 1);
    }

    void connectionStrings()
    {
        const db::ConnectionString cs = db::ConnectionString::parse(
            QStringLiteral("Provider=VelmoraPG;Persist Security Info=False;User ID=ana;Password=\"a;b\"\"c\";Initial Catalog=odeljenje;Data Source=srv:5433"));
        QCOMPARE(cs.value(QStringLiteral("password")), QStringLiteral("a;b\"c"));
        QCOMPARE(cs.value(QStringLiteral("Data Source")), QStringLiteral("srv:5433"));
        QCOMPARE(cs.toString(), QStringLiteral("Provider=VelmoraPG;Persist Security Info=False;User ID=ana;Password=\"a;b\"\"c\";"
                                               "Initial Catalog=odeljenje;Data Source=srv:5433"));
        QCOMPARE(cs.toLibpq(), QStringLiteral("host='srv' port='5433' user='ana' password='a;b\"c' dbname='odeljenje' "
                                              "connect_timeout='10' application_name='Velmora'"));
        QVERIFY(db::ConnectionString::isEmbeddedServer(QStringLiteral("(LOCAL)")));
        QVERIFY(!db::ConnectionString::isEmbeddedServer(QStringLiteral("localhost")));
        QCOMPARE(db::libpqQuote(QStringLiteral("o'k\\")), QStringLiteral("'o\\'k\\\\'"));
        // An embedded database is a file of the data folder; its name never leaves it.
        QVERIFY_THROWS_EXCEPTION(db::DbError, db::openConnection(QStringLiteral("Provider=VelmoraSQLite;Initial Catalog=../x;Data Source=."), QStringLiteral("/tmp")));
        QVERIFY_THROWS_EXCEPTION(db::DbError, db::openConnection(QStringLiteral("Provider=VelmoraSQLite;Initial Catalog=nema;Data Source=."), QStringLiteral("/tmp")));
    }

    void embeddedDatabaseByConnectionString()
    {
        if (test::currentBackend() != Backend::SQLite) {
            // The same for a server database, by the program's connection string.
            const QString cs = QStringLiteral("Provider=VelmoraPG;Persist Security Info=False;User ID=postgres;Initial Catalog=postgres;Data Source=%1:%2")
                                   .arg(test::postgresHost()).arg(test::postgresPort());
            QCOMPARE(db::openConnection(cs, QString())->selectValue(QStringLiteral("select 41 + 1")).toInt(), 42);
            return;
        }
        test::TestDatabase database(Backend::SQLite);
        auto c = db::openConnection(QStringLiteral("Provider=VelmoraSQLite;Persist Security Info=False;Initial Catalog=%1;Data Source=.").arg(database.name()),
                                    database.embeddedFolder());
        QCOMPARE(c->databaseName(), database.name());
        QVERIFY(c->tables().contains(QStringLiteral("GRAD")));
    }
};

QTEST_GUILESS_MAIN(tst_Drivers)
#include "tst_drivers.moc"
