#include "database/DemoData.h"
#include "database/Procedures.h"
#include "database/StoredProc.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace velmora;

namespace {

QStringList columnNames(data::Dataset &d)
{
    QStringList names;
    for (int c = 0; c < d.columnCount(); ++c)
        names << d.columnInfo(c).name.toUpper();
    return names;
}

} // namespace

class tst_Procedures : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestDatabase> m_db;

private slots:
    void initTestCase_data() { test::addBackendRows(); }
    void init()
    {
        m_db = std::make_unique<test::TestDatabase>(test::currentBackend());
        database::fillDemoData(m_db->connection(), 12);
    }
    void cleanup() { m_db.reset(); }

    void resultColumns_data()
    {
        QTest::addColumn<QString>("procedure");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<bool>("rows");
        QTest::newRow("sp_LabNalazi") << "sp_LabNalazi;1" << QVariantList{1, 1}
                                      << QStringList{"NAZIVGRUPENALAZA", "ID", "PACIJENTID", "POSETAID"} << true;
        QTest::newRow("sp_KlinikaZaStampu") << "sp_KlinikaZaStampu;1" << QVariantList{1}
                                            << QStringList{"ID", "NAZIV", "NAZIV_INSTITUTA", "NAZIV_KLINIKE", "ADRESA", "TELEFON", "GRAD"} << true;
        QTest::newRow("sp_StampaDijagnostika") << "sp_StampaDijagnostika" << QVariantList{1, 1}
                                               << QStringList{"PACIJENT_FK", "POSETA_FK", "ID", "DIJAGNOSTIKA", "PACIJENT_FK_1", "POSETA_FK_1",
                                                              "DIJAGNOSTIKA_FK", "ID_1", "VREDNOST", "DATUM", "NAZIVDIJAGNOSTIKE"} << true;
        QTest::newRow("sp_StampaKonzilijarni") << "sp_StampaKonzilijarni;1" << QVariantList{1, 1}
                                               << QStringList{"ID", "PACIJENT_FK", "POSETA_FK", "KONZILIJARNI", "ID_1", "NAZIV"} << false;
        QTest::newRow("sp_StampaPreporuceneTerapije") << "sp_StampaPreporuceneTerapije" << QVariantList{1, 1}
                                                      << QStringList{"ID", "PACIJENT_FK", "POSETA_FK", "LEK", "DOZA", "NAZIV_LEKA"} << true;
        QTest::newRow("sp_Nadji") << "sp_Nadji;1" << QVariantList{"LEKAR", "LEKAR", "DIREKTOR_KLINIKE = 1"} << QStringList{"LEKAR"} << true;
        QTest::newRow("sp_PrimarniKljucevi") << "sp_PrimarniKljucevi;1" << QVariantList{"Poseta"} << QStringList{"COLUMN_NAME"} << true;
        QTest::newRow("sp_VratiKoloneSaDefValue") << "sp_VratiKoloneSaDefValue;1" << QVariantList{"'LEKAR'"}
                                                  << QStringList{"COLUMN_NAME", "COLUMN_DEF"} << true;
        QTest::newRow("sp_VratiNotNullDefValue") << "sp_VratiNotNullDefValue;1" << QVariantList{"'POSETA'", "ID"}
                                                 << QStringList{"TABLE_NAME", "COLUMN_NAME"} << true;
    }

    void resultColumns()
    {
        QFETCH(QString, procedure);
        QFETCH(QVariantList, arguments);
        QFETCH(QStringList, columns);
        QFETCH(bool, rows);
        database::StoredProc proc(QStringLiteral("sp"), procedure);
        proc.setConnection(&m_db->connection());
        const QStringList parameters = proc.parameterNames();
        for (int i = 0; i < arguments.size(); ++i)
            proc.setParameter(parameters[i], arguments[i]);
        proc.open();
        QCOMPARE(columnNames(proc), columns);
        if (rows)
            QVERIFY(!proc.isEmpty());
    }

    void dischargeLetterRow()
    {
        database::StoredProc proc(QStringLiteral("spOtpusnaLista"), QStringLiteral("sp_OtpusnaLista;1"));
        proc.setConnection(&m_db->connection());
        proc.setParameter(QStringLiteral("@PacijentID"), 2);
        proc.setParameter(QStringLiteral("PosetaID"), 1);
        proc.open();
        QCOMPARE(proc.recordCount(), 1);
        const QStringList names = columnNames(proc);
        for (const char *name : {"IME", "REGISTARSKI BROJ", "ID_1", "KOSTI, ZGLOBOVI, MIŠIĆI KOŽA", "EPIKRIZA", "NAZIVMESTA", "NAZIV", "DIJAGNOZA", "LEKAR"})
            QVERIFY2(names.contains(QString::fromUtf8(name)), name);
        QCOMPARE(proc.fieldByName(QStringLiteral("ID"))->asInteger(), 2);
        QCOMPARE(proc.fieldByName(QStringLiteral("ID_1"))->asInteger(), 1);
        QVERIFY(proc.fieldByName(QStringLiteral("Naziv"))->asString().contains(proc.fieldByName(QStringLiteral("PREZIME"))->asString()));
        QCOMPARE(proc.fieldByName(QStringLiteral("LEKAR"))->asString(), QStringLiteral("Dr Dragan Simić"));
    }

    void defaultsLeaveTheConstants()
    {
        database::StoredProc proc(QStringLiteral("spVratiKoloneSaDefValue"), QStringLiteral("sp_VratiKoloneSaDefValue"));
        proc.setConnection(&m_db->connection());
        proc.setParameter(QStringLiteral("@Tabele"), QStringLiteral("'LEKAR','POSETA'"));
        proc.open();
        QMap<QString, QString> defaults;
        for (proc.first(); !proc.eof(); proc.next()) {
            QString text = proc.fieldByName(QStringLiteral("COLUMN_DEF"))->asString();
            text.remove(u'(').remove(u')').remove(u'\''); // what the edit dialog does
            defaults.insert(proc.fieldByName(QStringLiteral("COLUMN_NAME"))->asString().toUpper(), text);
            if (proc.recNo() == proc.recordCount())
                break;
        }
        QCOMPARE(defaults.value(QStringLiteral("NACELNIK_ODELJENJA")), QStringLiteral("0"));
        QCOMPARE(defaults.value(QStringLiteral("DIREKTOR_KLINIKE")), QStringLiteral("0"));
        QCOMPARE(defaults.value(QStringLiteral("VRSTA_POSETE")), QStringLiteral("1"));
        QCOMPARE(defaults.value(QStringLiteral("RANIJE BOLESTI")), QStringLiteral("negira"));
        QCOMPARE(defaults.size(), 5);
    }

    void requiredColumnsAndKeys()
    {
        database::StoredProc keys(QStringLiteral("spPrimarniKljucevi"), QStringLiteral("sp_PrimarniKljucevi;1"));
        keys.setConnection(&m_db->connection());
        keys.setParameter(QStringLiteral("@table_name"), QStringLiteral("Vrednost_Nalaza"));
        keys.open();
        QCOMPARE(keys.recordCount(), 2);
        QCOMPARE(keys.fieldByName(QStringLiteral("COLUMN_NAME"))->asString().toUpper(), QStringLiteral("NALAZ_FK"));

        database::StoredProc required(QStringLiteral("spVratiNotNullDefValue"), QStringLiteral("sp_VratiNotNullDefValue;1"));
        required.setConnection(&m_db->connection());
        for (const auto &[column, expected] : {std::pair{"PACIJENT_FK", true}, std::pair{"KLINIKA", false},
                                               std::pair{"VRSTA_POSETE", false}, std::pair{"NEMA", false}}) {
            required.close();
            required.setParameter(QStringLiteral("@Tabele"), QStringLiteral("'POSETA'"));
            required.setParameter(QStringLiteral("@column_name"), QString::fromLatin1(column));
            required.open();
            QCOMPARE(!required.isEmpty(), expected);
        }
    }

    void namesWithSpacesWorkEverywhere()
    {
        db::Connection &c = m_db->connection();
        c.execute(QStringLiteral("update POSETA set [Mokraćno-polni organi] = ?, [Kosti, zglobovi, mišići koža] = ? where PACIJENT_FK = 1 and ID = 1"),
                  {QStringLiteral("b.o."), QStringLiteral("Bez otoka zglobova")});
        c.execute(QStringLiteral("update PACIJENT set [REGISTARSKI BROJ] = N'R-77' where ID = 1"));
        QCOMPARE(c.selectValue(QStringLiteral("select [Kosti, zglobovi, mišići koža] from POSETA where PACIJENT_FK = 1 and ID = 1")).toString(),
                 QStringLiteral("Bez otoka zglobova"));
        QCOMPARE(c.selectValue(QStringLiteral("select count(*) from PACIJENT where [REGISTARSKI BROJ] = 'R-77'")).toInt(), 1);
    }

    void unknownProcedureAndTableLists()
    {
        QVERIFY_THROWS_EXCEPTION(db::DbError, database::StoredProc(QStringLiteral("x"), QStringLiteral("sp_Nema")));
        QVERIFY(database::procedures::exists(QStringLiteral("SP_NADJI;1")));
        QCOMPARE(database::procedures::tableList(QStringLiteral("'POSETA','PACIJENT'")), (QStringList{"POSETA", "PACIJENT"}));
        QCOMPARE(database::procedures::plainDefault(QStringLiteral("'negira'::text")), QStringLiteral("'negira'"));
        QCOMPARE(database::procedures::plainDefault(QStringLiteral("((0))")), QStringLiteral("((0))"));
    }
};

QTEST_GUILESS_MAIN(tst_Procedures)
#include "tst_procedures.moc"
