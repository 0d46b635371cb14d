#include "platform/db/Dialect.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace velmora;
using db::Backend;

class tst_Dialect : public QObject {
    Q_OBJECT

private slots:
    void rewrite_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("sqlite");
        QTest::addColumn<QString>("postgres");

        QTest::newRow("bracketed names")
            << "select [Kosti, zglobovi, mišići koža], [REGISTARSKI BROJ], [ID] from POSETA"
            << "select \"Kosti, zglobovi, mišići koža\", \"REGISTARSKI BROJ\", \"ID\" from POSETA"
            << "select \"Kosti, zglobovi, mišići koža\", \"REGISTARSKI BROJ\", ID from POSETA";
        QTest::newRow("N literal") << "where Naziv_Klinike = N'Očna'" << "where Naziv_Klinike = 'Očna'"
                                   << "where Naziv_Klinike = 'Očna'";
        QTest::newRow("ISNULL") << "SELECT ISNULL(MAX(CAST(ID AS int))+1, 1) AS maxa FROM Grad (SERIALIZABLE) "
                                << "SELECT COALESCE(MAX(velmora_int(ID))+1, 1) AS maxa FROM Grad   "
                                << "SELECT COALESCE(MAX(CAST(ID AS int))+1, 1) AS maxa FROM Grad   ";
        QTest::newRow("hint before WHERE") << "FROM Grad (SERIALIZABLE)  WHERE PACIJENT_FK = 12"
                                           << "FROM Grad    WHERE PACIJENT_FK = 12" << "FROM Grad    WHERE PACIJENT_FK = 12";
        QTest::newRow("hint between minus signs") << "x-(SERIALIZABLE)-1" << "x- -1" << "x- -1";
        QTest::newRow("TOP") << "select top 1 * from _regi" << "select * from _regi LIMIT 1" << "select * from _regi LIMIT 1";
        QTest::newRow("TOP in a subquery") << "select ID from GRAD where ID in (select top 2 ID from GRAD) order by ID"
                                           << "select ID from GRAD where ID in (select ID from GRAD LIMIT 2) order by ID"
                                           << "select ID from GRAD where ID in (select ID from GRAD LIMIT 2) order by ID";
        QTest::newRow("CONVERT date") << "where DATUM = CONVERT(smalldatetime, '15.03.2007', 104)"
                                      << "where DATUM = '2007-03-15 00:00:00'"
                                      << "where DATUM = TIMESTAMP '2007-03-15 00:00:00'";
        QTest::newRow("string concatenation") << "ISNULL(IME, '') + ' ' + ISNULL(PREZIME, '')"
                                              << "COALESCE(IME, '') || ' ' || COALESCE(PREZIME, '')"
                                              << "COALESCE(IME, '') || ' ' || COALESCE(PREZIME, '')";
        QTest::newRow("arithmetic plus stays") << "MAX(ID)+1" << "MAX(ID)+1" << "MAX(ID)+1";
        QTest::newRow("parameters") << "where A = ? and B = ?" << "where A = ? and B = ?" << "where A = $1 and B = $2";
        QTest::newRow("parameter before a digit") << "?1" << "?1" << "$1 1";
        QTest::newRow("literals untouched")
            << "select 'ISNULL(a,b) [x] N''y'' ? TOP 1 (SERIALIZABLE)' + N'ž'"
            << "select 'ISNULL(a,b) [x] N''y'' ? TOP 1 (SERIALIZABLE)' || 'ž'"
            << "select 'ISNULL(a,b) [x] N''y'' ? TOP 1 (SERIALIZABLE)' || 'ž'";
        QTest::newRow("quoted names untouched") << "select \"ISNULL\" from \"[x]\"" << "select \"ISNULL\" from \"[x]\""
                                                << "select \"ISNULL\" from \"[x]\"";
        QTest::newRow("comments untouched") << "select 1 -- ISNULL(a, b) ?\n" << "select 1 -- ISNULL(a, b) ?\n"
                                            << "select 1 -- ISNULL(a, b) ?\n";
        QTest::newRow("Upper kept") << "WHERE ID=Upper(N'5')" << "WHERE ID=Upper('5')" << "WHERE ID=Upper('5')";
        QTest::newRow("TOP before a comment") << "select top 1 * from GRAD -- najveći\n" << "select * from GRAD LIMIT 1 -- najveći\n"
                                              << "select * from GRAD LIMIT 1 -- najveći\n";
        QTest::newRow("TOP first") << "top 5 x" << "top 5 x" << "top 5 x";
        QTest::newRow("unterminated name") << "select [ab" << "select \"ab\"" << "select ab";
        QTest::newRow("unterminated literal") << "select 'abc" << "select 'abc" << "select 'abc";
        QTest::newRow("strict integer cast") << "select CAST( [ID] AS INT ), cast(x as varchar(5))"
                                             << "select velmora_int( \"ID\"), cast(x as varchar(5))"
                                             << "select CAST( ID AS INT ), cast(x as varchar(5))";
        QTest::newRow("bracket with closing bracket") << "[a]]b]" << "\"a]b\"" << "\"a]b\"";
    }

    void rewrite()
    {
        QFETCH(QString, sql);
        QFETCH(QString, sqlite);
        QFETCH(QString, postgres);
        QCOMPARE(db::dialect::rewrite(sql, Backend::SQLite), sqlite);
        QCOMPARE(db::dialect::rewrite(sql, Backend::PostgreSQL), postgres);
    }

    // Every shape runs on both real backends and gives the same answer.
    void shapesRunOnBothBackends_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("next key") << "SELECT ISNULL(MAX(CAST(ID AS int))+1, 1) AS maxa FROM Grad (SERIALIZABLE) " << "3";
        QTest::newRow("next key, empty group") << "SELECT ISNULL(MAX(CAST(ID AS int))+1, 1) AS maxa FROM Poseta (SERIALIZABLE)  WHERE PACIJENT_FK = 12" << "1";
        QTest::newRow("N literal and brackets") << "select [MESTO] from Grad where Mesto = N'Čačak'" << "Čačak";
        QTest::newRow("space name") << "select [REGISTARSKI BROJ] from Pacijent where Id = 1" << "R-1";
        QTest::newRow("top") << "select top 1 Mesto from Grad order by ID desc" << "Niš";
        QTest::newRow("date literal") << "select count(*) from Poseta where DATUM_PRIJEMA = CONVERT(smalldatetime, '15.03.2007', 104)" << "1";
        QTest::newRow("concatenation") << "select ISNULL(IME, '') + ' ' + ISNULL(SREDNJE_IME, '') + ' ' + ISNULL(PREZIME, '') from Pacijent" << "Đorđe  Šarić";
        QTest::newRow("parameter") << "select Mesto from Grad where ID = ?" << "Niš";
    }

    void shapesRunOnBothBackends()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        for (const Backend backend : {Backend::SQLite, Backend::PostgreSQL}) {
            test::TestDatabase database(backend);
            db::Connection &c = database.connection();
            c.execute(QStringLiteral("insert into Grad (ID, MESTO) values (1, N'Čačak')"));
            c.execute(QStringLiteral("insert into Grad (ID, MESTO) values (2, N'Niš')"));
            c.execute(QStringLiteral("insert into Pacijent (ID, IME, PREZIME, [REGISTARSKI BROJ]) values (1, N'Đorđe', N'Šarić', 'R-1')"));
            c.execute(QStringLiteral("insert into Poseta (PACIJENT_FK, ID, DATUM_PRIJEMA) values (1, 1, CONVERT(smalldatetime, '15.03.2007', 104))"));
            const db::Params params = sql.contains(u'?') ? db::Params{2} : db::Params{};
            QCOMPARE(c.selectValue(sql, params).toString(), expected);
        }
    }
};

QTEST_GUILESS_MAIN(tst_Dialect)
#include "tst_dialect.moc"
