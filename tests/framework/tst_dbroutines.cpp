#include "app/Globals.h"
#include "connection/TdmPodaci.h"
#include "database/StoredProc.h"
#include "framework/DbRoutines.h"
#include "platform/dataset/Dataset.h"
#include "support/TestDatabase.h"
#include "support/TestMain.h"

using namespace velmora;

class tst_DbRoutines : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestDatabase> m_db;

    db::Connection &c() { return m_db->connection(); }

private slots:
    void initTestCase_data() { test::addBackendRows(); }

    void init()
    {
        m_db = std::make_unique<test::TestDatabase>(test::currentBackend());
        m_db->makeCurrent();
        createDataModules();
        QVERIFY(dmPodaciZajednicke->connected());
    }
    void cleanup()
    {
        destroyDataModules();
        m_db.reset();
    }

    void nextKey_data()
    {
        QTest::addColumn<QList<int>>("existing");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty table") << QList<int>{} << QString() << 1;
        QTest::newRow("gap kept") << QList<int>{1, 2, 7} << QString() << 8;
        QTest::newRow("top freed again") << QList<int>{1, 2, 3, 4} << QString() << 5;
        QTest::newRow("empty group") << QList<int>{1, 2, 7} << QStringLiteral("ID > 7") << 1;
    }

    void nextKey()
    {
        QFETCH(QList<int>, existing);
        QFETCH(QString, condition);
        QFETCH(int, expected);
        for (const int id : existing)
            c().execute(QStringLiteral("insert into GRAD (ID) values (?)"), {id});
        QCOMPARE(NextKey(QStringLiteral("Grad"), QStringLiteral("ID"), condition), expected);
    }

    void nextKeyNumbersWithinAGroup()
    {
        for (const int patient : {12, 13})
            c().execute(QStringLiteral("insert into PACIJENT (ID) values (?)"), {patient});
        for (const int visit : {1, 2})
            c().execute(QStringLiteral("insert into POSETA (PACIJENT_FK, ID) values (12, ?)"), {visit});
        for (const int visit : {1, 2, 3, 4, 5})
            c().execute(QStringLiteral("insert into POSETA (PACIJENT_FK, ID) values (13, ?)"), {visit});
        QCOMPARE(NextKey(QStringLiteral("Poseta"), QStringLiteral("ID"), QStringLiteral("PACIJENT_FK = 12")), 3);
        QCOMPARE(NextKey(QStringLiteral("Poseta"), QStringLiteral("ID"), QStringLiteral("PACIJENT_FK = 14")), 1);
    }

    void nextKeyOfTextKeysFails()
    {
        c().executeScript(QStringLiteral("CREATE TABLE SIFRE (KOD varchar(10))"));
        c().execute(QStringLiteral("insert into SIFRE (KOD) values ('7')"));
        QCOMPARE(NextKey(QStringLiteral("SIFRE"), QStringLiteral("KOD"), QString()), 8);
        c().execute(QStringLiteral("insert into SIFRE (KOD) values ('A12')"));
        try {
            NextKey(QStringLiteral("SIFRE"), QStringLiteral("KOD"), QString());
            QFAIL("a text key was numbered");
        } catch (const db::DbError &error) {
            QVERIFY2(error.message().contains(QStringLiteral("A12")), error.what());
        }
    }

    void selectValue()
    {
        QCOMPARE(SelectValue(QStringLiteral("X"), QStringLiteral("41 + 1 AS X"), QString(), QString()).toInt(), 42);
        c().execute(QStringLiteral("insert into KLINIKE (ID, NAZIV_KLINIKE, POLIKLINIKA) values (3, N'Klinika \"Sv. Đorđe''s\"', 1)"));
        const QString condition = QStringLiteral("Naziv_Klinike = N'Klinika \"Sv. Đorđe''s\"'");
        QCOMPARE(SelectValue(QStringLiteral("ID"), QStringLiteral("ID"), QStringLiteral("KLINIKE"), condition).toInt(), 3);
        QCOMPARE(SelectValue(QStringLiteral("POLIKLINIKA"), QStringLiteral("POLIKLINIKA"), QStringLiteral("KLINIKE"), condition).toInt(), 1);
        QVERIFY(!SelectValue(QStringLiteral("ID"), QStringLiteral("ID"), QStringLiteral("KLINIKE"), QStringLiteral("ID = 4")).isValid());
        QVERIFY_THROWS_EXCEPTION(db::DbError, SelectValue(QStringLiteral("ID"), QStringLiteral("ID"), QStringLiteral("NEMA"), QString()));
    }

    void rowExistsAndFindValue()
    {
        c().execute(QStringLiteral("insert into GRAD (ID, MESTO) values (5, N'Čačak')"));
        c().execute(QStringLiteral("insert into LEKAR (ID, LEKAR, DIREKTOR_KLINIKE) values (1, N'Dr Ana Đurić', 0), (2, N'Prof. dr Šćepan Žarić', 1)"));
        QVERIFY(RowExists(QStringLiteral("ID"), QStringLiteral("Grad"), QStringLiteral("ID='5'")));
        QVERIFY(!RowExists(QStringLiteral("ID"), QStringLiteral("Grad"), QStringLiteral("ID='999'")));
        QVERIFY(RowExists(QStringLiteral("ID"), QStringLiteral("Grad"), QString()));
        QCOMPARE(FindValue(QStringLiteral("LEKAR"), QStringLiteral("LEKAR"), QStringLiteral("LEKAR"), QStringLiteral("DIREKTOR_KLINIKE = 1")).toString(),
                 QStringLiteral("Prof. dr Šćepan Žarić"));
        QVERIFY(!FindValue(QStringLiteral("LEKAR"), QStringLiteral("LEKAR"), QStringLiteral("LEKAR"), QStringLiteral("UPRAVNIK_KLINIKE = 1")).isValid());
        QVERIFY(!dmPodaciZajednicke->spNadji->active()); // closed again
    }

    void isRequiredColumn()
    {
        data::Dataset visits;
        visits.setConnection(&c());
        visits.setCommandText(QStringLiteral("SELECT POSETA.*, KLINIKE.NAZIV AS NazivKlinike FROM POSETA LEFT JOIN KLINIKE ON POSETA.KLINIKA = KLINIKE.ID"));
        visits.open();
        QVERIFY(IsRequiredColumn(&visits, QStringLiteral("PACIJENT_FK")));
        QVERIFY(IsRequiredColumn(&visits, QStringLiteral("id")));
        QVERIFY(!IsRequiredColumn(&visits, QStringLiteral("KLINIKA")));
        QVERIFY(!IsRequiredColumn(&visits, QStringLiteral("Ranije bolesti"))); // its default fills it
        // The joined clinic name comes from KLINIKE.NAZIV, which may be empty.
        QVERIFY(!IsRequiredColumn(&visits, QStringLiteral("NAZIV")));
        QVERIFY(!dmPodaciZajednicke->spVratiNotNullDefValue->active());

        // A column the result does not carry is answered without the server.
        destroyDataModules();
        QVERIFY(!IsRequiredColumn(&visits, QStringLiteral("NEMA")));
        QVERIFY_THROWS_EXCEPTION(db::DbError, IsRequiredColumn(&visits, QStringLiteral("ID")));
    }

    void ifThenVar()
    {
        QCOMPARE(IfThenVar(true, QStringLiteral("&Snimi"), QStringLiteral("&Izmeni")).toString(), QStringLiteral("&Snimi"));
        QVERIFY(!IfThenVar(false, 1, QVariant()).isValid());
    }
};

VELMORA_TEST_MAIN(tst_DbRoutines)
#include "tst_dbroutines.moc"
