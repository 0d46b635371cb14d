#include "platform/db/ConnectionString.h"
#include "support/TestDatabase.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

namespace {

struct Run {
    int exitCode;
    QString out;
    QString err;
};

Run admin(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(VELMORA_ADMIN_PATH), arguments);
    process.waitForFinished(120000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class tst_Admin : public QObject {
    Q_OBJECT

private slots:
    void initTestCase_data() { test::addBackendRows(); }

    void help()
    {
        const Run run = admin({QStringLiteral("--help")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.contains(QStringLiteral("init TARGET")));
        QVERIFY(run.out.contains(QStringLiteral("demo TARGET --patients N")));
        QCOMPARE(admin({QStringLiteral("demo"), QStringLiteral("sqlite:/tmp/x.db")}).exitCode, 2);
        QCOMPARE(admin({QStringLiteral("frobnicate"), QStringLiteral("sqlite:/tmp/x.db")}).exitCode, 2);
    }

    void initThenDemoOnAFreshDatabase()
    {
        test::TestDatabase database(test::currentBackend(), false);
        const QString target = database.target();
        Run run = admin({QStringLiteral("init"), target});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(database.connection().tables().contains(QStringLiteral("pacijent"), Qt::CaseInsensitive));

        run = admin({QStringLiteral("init"), target});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("već sadrži tabele")));

        run = admin({QStringLiteral("demo"), target, QStringLiteral("--patients"), QStringLiteral("40")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        auto c = database.openAnother();
        QCOMPARE(c->selectValue(QStringLiteral("select count(*) from PACIJENT")).toInt(), 40);
        QVERIFY(c->selectValue(QStringLiteral("select count(*) from MKB10")).toInt() >= 300);
        QVERIFY(c->selectValue(QStringLiteral("select count(*) from VREDNOST_NALAZA")).toInt() > 40);
        QVERIFY(c->selectValue(QStringLiteral("select count(*) from POSETA where [Glavne tegobe] is not null")).toInt() >= 40);

        // A database that holds patients is not filled twice.
        run = admin({QStringLiteral("demo"), target, QStringLiteral("--patients"), QStringLiteral("5")});
        QCOMPARE(run.exitCode, 1);
    }

    void demoCreatesTheSchemaInAnEmptyDatabase()
    {
        if (test::currentBackend() == db::Backend::PostgreSQL)
            return; // the same path as init, shown on the embedded backend
        QTemporaryDir dir;
        const Run run = admin({QStringLiteral("demo"), QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("nova.db")),
                               QStringLiteral("--patients"), QStringLiteral("3")});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(run.out.contains(QStringLiteral("3 patients")));
    }
};

QTEST_GUILESS_MAIN(tst_Admin)
#include "tst_admin.moc"
