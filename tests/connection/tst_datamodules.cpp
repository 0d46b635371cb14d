#include "app/Globals.h"
#include "connection/TdmPodaci.h"
#include "database/DemoData.h"
#include "database/StoredProc.h"
#include "platform/dataset/Dataset.h"
#include "platform/dataset/DatasetError.h"
#include "support/ModalDriver.h"
#include "support/TestDatabase.h"
#include "support/TestMain.h"

using namespace velmora;

class tst_DataModules : public QObject {
    Q_OBJECT

private slots:
    void initTestCase_data() { test::addBackendRows(); }
    void cleanup() { QVERIFY(!QApplication::activeModalWidget()); }

    void modulesConnectAndTheSharedOneStays()
    {
        test::TestDatabase database(test::currentBackend());
        database.makeCurrent();
        createDataModules();
        QVERIFY(dmPodaci->connected());
        QVERIFY(dmPodaciZajednicke->connected());
        QVERIFY(dmPodaci->acConnect() != dmPodaciZajednicke->acConnect());
        QCOMPARE(Globals.Connection, dmPodaciZajednicke->acConnect());
        for (data::Dataset *component : dmPodaci->components()) {
            QVERIFY(!component->active()); // the windows open them
            QCOMPARE(component->connection(), dmPodaci->acConnect());
        }
        destroyDataModules();
        QVERIFY(!Globals.Connection);
    }

    // Every dataset's statement runs on the backend, over realistic rows.
    void everyDatasetOpens()
    {
        test::TestDatabase database(test::currentBackend());
        database::fillDemoData(database.connection(), 25);
        database.makeCurrent();
        createDataModules();
        for (data::Dataset *component : dmPodaci->components()) {
            if (qobject_cast<database::StoredProc *>(component))
                continue;
            component->open();
            QVERIFY2(component->recordCount() > 0, qPrintable(component->objectName()));
            QVERIFY(component->fieldCount() >= 2);
            component->close();
        }
        data::Dataset *patients = dmPodaci->adsPacijent;
        patients->open();
        QCOMPARE(patients->fieldByName(QStringLiteral("ID"))->asInteger(), 1);
        const QString name = patients->fieldByName(QStringLiteral("Naziv"))->asString();
        QVERIFY(name.contains(patients->fieldByName(QStringLiteral("PREZIME"))->asString()));
        QCOMPARE(patients->fieldByName(QStringLiteral("GODINA_RODJENJA"))->displayLabel(), QStringLiteral("GODINA ROĐENJA"));
        dmPodaci->adsLekar->open();
        QCOMPARE(dmPodaci->adsLekar->fieldByName(QStringLiteral("DIREKTOR_KLINIKE"))->displayText(), QStringLiteral("Da"));
        destroyDataModules();
    }

    void aModuleThatCannotConnectIsReported()
    {
        test::TestDatabase database(test::currentBackend());
        database.makeCurrent();
        Globals.ConnectionString = QStringLiteral("Provider=VelmoraSQLite;Initial Catalog=nema;Data Source=.");
        QStringList reports;
        for (int i = 0; i < 2; ++i) {
            test::onNextModal([&](QWidget *dialog) {
                reports << test::messageText(dialog);
                test::clickButton(dialog, QStringLiteral("U Redu"));
            });
        }
        createDataModules();
        QCOMPARE(reports.size(), 2);
        QVERIFY(reports[0].contains(QStringLiteral("Objekat : velmora::TdmPodaci")));
        QVERIFY(reports[1].contains(QStringLiteral("Objekat : velmora::TdmPodaciZajednicke")));
        QVERIFY(!dmPodaci->connected());
        QVERIFY_THROWS_EXCEPTION(data::DatasetError, dmPodaci->adsGrad->open());
        destroyDataModules();
    }
};

VELMORA_TEST_MAIN(tst_DataModules)
#include "tst_datamodules.moc"
