#include "platform/office/Cp1250.h"
#include "platform/office/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using velmora::office::IniFile;

class tst_IniFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    static void writeBytes(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray readBytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void codecRoundTripsEveryByte()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(velmora::office::encodeCp1250(velmora::office::decodeCp1250(all)), all);
        QCOMPARE(velmora::office::decodeCp1250("\xE8\x8A\xD0\x9E\xE6"), QStringLiteral("čŠĐžć"));
        QCOMPARE(velmora::office::encodeCp1250(QStringLiteral("Ж")), QByteArray("?"));
    }

    void serbianTextIsWindows1250OnDisk()
    {
        const QString file = path("cp.ini");
        IniFile ini(file);
        ini.writeString("SQL_SERVER", "KLINIKE", QStringLiteral("Klinika za bolesti srca, Čačak"));
        ini.save();
        QCOMPARE(readBytes(file), QByteArray("[SQL_SERVER]\nKLINIKE=Klinika za bolesti srca, \xC8" "a\xE8" "ak\n"));
        QCOMPARE(IniFile(file).readString("SQL_SERVER", "KLINIKE", {}), QStringLiteral("Klinika za bolesti srca, Čačak"));
    }

    void sectionsAndKeysIgnoreCase()
    {
        const QString file = path("case.ini");
        writeBytes(file, "[Sql_Server]\nKlinike=Interna\n");
        IniFile ini(file);
        QCOMPARE(ini.readString("SQL_SERVER", "KLINIKE", "x"), QStringLiteral("Interna"));
        QVERIFY(ini.hasKey("sql_server", "klinike"));
        ini.writeString("SQL_SERVER", "KLINIKE", "Hirurgija");
        ini.save();
        QCOMPARE(readBytes(file), QByteArray("[Sql_Server]\nKlinike=Hirurgija\n"));
    }

    void writesKeepEveryOtherLine_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        const QByteArray file = "; comment\r\n[fMain]\r\nGore = 10\r\nLevo=20\r\n\r\n[fLogin]\r\nStatus=1\r\n";
        QTest::newRow("value replaced in place")
            << file << "FMAIN" << "gore" << "15"
            << QByteArray("; comment\r\n[fMain]\r\nGore =15\r\nLevo=20\r\n\r\n[fLogin]\r\nStatus=1\r\n");
        QTest::newRow("key appended to its section")
            << file << "fMain" << "Sirina" << "640"
            << QByteArray("; comment\r\n[fMain]\r\nGore = 10\r\nLevo=20\r\nSirina=640\r\n\r\n[fLogin]\r\nStatus=1\r\n");
        QTest::newRow("section appended")
            << file << "fPacijent" << "Status" << "2"
            << QByteArray(file + "\r\n[fPacijent]\r\nStatus=2\r\n");
        QTest::newRow("odd bytes elsewhere untouched")
            << QByteArray("[a]\nx=\xFF\x81 \n[b]\ny=1\n") << "b" << "y" << "2"
            << QByteArray("[a]\nx=\xFF\x81 \n[b]\ny=2\n");
        QTest::newRow("file without final line break")
            << QByteArray("[a]\nx=1") << "a" << "x" << "2" << QByteArray("[a]\nx=2\n");
    }

    void writesKeepEveryOtherLine()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        const QString file = path("keep.ini");
        writeBytes(file, before);
        IniFile ini(file);
        ini.writeString(section, key, value);
        ini.save();
        QCOMPARE(readBytes(file), after);
    }

    void readsDefaults_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("number") << "Status" << 2;
        QTest::newRow("not a number") << "Gore" << 1;
        QTest::newRow("empty") << "Levo" << 1;
        QTest::newRow("missing") << "Visina" << 1;
    }

    void readsDefaults()
    {
        QFETCH(QString, key);
        QFETCH(int, expected);
        const QString file = path("defaults.ini");
        writeBytes(file, "[fMain]\nStatus= 2 \nGore=abc\nLevo=\n");
        QCOMPARE(IniFile(file).readInteger("fMain", key, 1), expected);
    }

    void missingFileReadsAsDefaults()
    {
        const IniFile ini(path("none.ini"));
        QVERIFY(!ini.exists());
        QCOMPARE(ini.readString("SQL_SERVER", "SERVER", "dflt"), QStringLiteral("dflt"));
        QVERIFY(!ini.hasKey("SQL_SERVER", "SERVER"));
    }

    void keyOfAnotherSectionIsNotFound()
    {
        const QString file = path("sections.ini");
        writeBytes(file, "[a]\nx=1\n[b]\ny=2\n");
        const IniFile ini(file);
        QVERIFY(!ini.hasKey("a", "y"));
        QCOMPARE(ini.readString("b", "y", {}), QStringLiteral("2"));
    }

    void unwritableFileFails()
    {
        IniFile ini(path("no/such/folder/x.ini"));
        ini.writeString("a", "b", "c");
        QVERIFY_THROWS_EXCEPTION(velmora::office::IniError, ini.save());
    }
};

QTEST_GUILESS_MAIN(tst_IniFile)
#include "tst_inifile.moc"
