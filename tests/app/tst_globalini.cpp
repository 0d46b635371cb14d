#include "app/Globalini.h"
#include "app/Globals.h"
#include "support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>

using namespace velmora;

class tst_Globalini : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    static QByteArray readBytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        Globals.ProgramFolder = m_dir.path() + u'/';
        QFile::remove(Globalini::mainSettingsPath());
    }

    void theTwoNamesOfTheMainFile()
    {
        QCOMPARE(Globalini::mainSettingsPath(), m_dir.path() + QStringLiteral("/Velmora.ini"));
        // Under another executable name the login's settings follow the executable.
        QCOMPARE(QFileInfo(Globalini::executableSettingsPath()).fileName(), QStringLiteral("tst_globalini.ini"));
        QCOMPARE(QFileInfo(Globalini::executableSettingsPath()).absolutePath(), QCoreApplication::applicationDirPath());
    }

    void routinesReadAndWriteTheMainFile()
    {
        QCOMPARE(Globalini::ReadIniString("fMain", "Gore", "none"), QStringLiteral("none"));
        QCOMPARE(Globalini::ReadIniInteger("fMain", "Status", 1), 1);
        Globalini::WriteIniString("fMain", "Gore", "120");
        Globalini::WriteIniInteger("fMain", "Status", 2);
        Globalini::WriteIniString("SQL_SERVER", "Klinike", QStringLiteral("Očna"));
        QCOMPARE(Globalini::ReadIniString("FMAIN", "gore", {}), QStringLiteral("120"));
        QCOMPARE(Globalini::ReadIniInteger("fMain", "Status", 1), 2);
        QCOMPARE(Globalini::ReadIniString("SQL_SERVER", "KLINIKE", {}), QStringLiteral("Očna"));
        QVERIFY(readBytes(Globalini::mainSettingsPath()).contains("Klinike=O\xE8na"));
    }

    void scrambling_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("scrambled");
        QTest::newRow("abc") << QByteArray("abc") << QByteArray("\xE1\xE2\xE3");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("carriage return stays") << QByteArray("a\rb") << QByteArray("\xE1\r\xE2");
        QTest::newRow("high bytes wrap") << QByteArray("\xE1\x80\xFF") << QByteArray("a\x00\x7F", 3);
    }

    void scrambling()
    {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, scrambled);
        QCOMPARE(Globalini::ScrambleText(plain), scrambled);
        QCOMPARE(Globalini::UnscrambleText(scrambled), plain);
        QCOMPARE(Globalini::ScrambleText(Globalini::ScrambleText(plain)), plain);
    }

    void scrambledConnectionSurvivesTheFile()
    {
        const QString connection = QStringLiteral("Provider=VelmoraPG;Persist Security Info=False;User ID=sa;"
                                                  "Initial Catalog=master;Data Source=localhost\x01\x1F");
        Globalini::WriteIniString("SQL_SERVER", "conSA", Globalini::ScrambleText(connection));
        const QByteArray onDisk = readBytes(Globalini::mainSettingsPath());
        QVERIFY(onDisk.contains("conSA=\xD0\xF2\xEF"));  // "Pro" moved by 128
        QCOMPARE(Globalini::UnscrambleText(Globalini::ReadIniString("SQL_SERVER", "conSA", {})), connection);
    }

    void versionRecordAndMailSettings()
    {
        Globalini::WriteVersionRecord();
        QCOMPARE(readBytes(Globalini::versionFilePath()), QByteArray("[Verzija]\n6=" VELMORA_VERSION "\n"));

        QFile::remove(Globalini::emailFilePath());
        QVERIFY(!Globalini::ReadEmailSettings().exists);
        QFile mail(Globalini::emailFilePath());
        QVERIFY(mail.open(QIODevice::WriteOnly));
        mail.write("[EMail]\r\nEMail=odeljenje@bolnica.rs, sef@bolnica.rs\r\nSMTP=127.0.0.1\r\n");
        mail.close();
        const auto settings = Globalini::ReadEmailSettings();
        QVERIFY(settings.exists);
        QCOMPARE(settings.recipient, QStringLiteral("odeljenje@bolnica.rs, sef@bolnica.rs"));
        QCOMPARE(settings.smtpHost, QStringLiteral("127.0.0.1"));
        QCOMPARE(settings.sender, QString());
    }
};

VELMORA_TEST_MAIN(tst_Globalini)
#include "tst_globalini.moc"
