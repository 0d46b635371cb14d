#include "platform/dataset/ColumnStore.h"

#include <QTest>

using namespace velmora;
using data::ColumnStore;

namespace {

db::ColumnInfo column(db::ColumnType type, const char *table = "T")
{
    db::ColumnInfo info;
    info.name = QStringLiteral("C");
    info.type = type;
    info.baseTable = QString::fromLatin1(table);
    info.baseColumn = QStringLiteral("C");
    return info;
}

} // namespace

// The store across its block boundaries: values, NULLs and caches stay right
// when a column grows past its first block and past 2 MiB of text.
class tst_ColumnStore : public QObject {
    Q_OBJECT

private slots:
    void integersAcrossBlocks()
    {
        ColumnStore store(column(db::ColumnType::Integer));
        const size_t rows = 1200000; // more than two full blocks of 32-bit values
        for (size_t i = 0; i < rows; ++i) {
            if (i % 7 == 0)
                store.appendNull();
            else
                store.appendInteger(qint64(i));
        }
        QCOMPARE(store.size(), rows);
        for (const size_t i : {size_t(1), size_t(524287), size_t(524288), size_t(524289), size_t(1048577), rows - 1}) {
            QCOMPARE(store.isNull(i), i % 7 == 0);
            if (i % 7)
                QCOMPARE(store.integer(i), qint64(i));
        }
        // A value past 32 bits widens the column and keeps what it held.
        store.appendInteger(qint64(1) << 40);
        QCOMPARE(store.integer(rows), qint64(1) << 40);
        QCOMPARE(store.integer(524289), qint64(524289));
        store.popBack();
        QCOMPARE(store.size(), rows);
        store.appendInteger(5);
        QCOMPARE(store.integer(rows), 5);
    }

    void textsAcrossArenaBlocks()
    {
        ColumnStore store(column(db::ColumnType::Text));
        const int rows = 300000; // about 4 MiB of text: more than one arena block
        for (int i = 0; i < rows; ++i)
            store.appendText(QStringLiteral("Čačak-%1").arg(i).toStdString());
        const std::string big(3 << 20, 'x'); // longer than a block
        store.appendText(big);
        store.appendNull();
        store.appendText("Šabac");
        QCOMPARE(store.size(), size_t(rows + 3));
        QCOMPARE(store.text(0), std::string_view("Čačak-0"));
        QCOMPARE(QString::fromStdString(std::string(store.text(rows - 1))), QStringLiteral("Čačak-%1").arg(rows - 1));
        QCOMPARE(store.text(rows).size(), big.size());
        QVERIFY(store.isNull(rows + 1));
        QCOMPARE(store.text(rows + 2), std::string_view("Šabac"));
        QCOMPARE(store.foldedText(rows + 2), std::string_view("šabac"));
        QCOMPARE(store.foldedText(123456), std::string_view("čačak-123456"));
        // Sort keys order Serbian letters: Č after C, Š after S.
        store.setValue(1, QStringLiteral("Cerovac"));
        QVERIFY(store.sortKey(1) < store.sortKey(0));
        QVERIFY(store.sortKey(rows + 2) > store.sortKey(1));
        // Edits follow into the caches.
        store.setValue(rows + 2, QStringLiteral("ŽABALJ"));
        QCOMPARE(store.foldedText(rows + 2), std::string_view("žabalj"));
        QVERIFY(store.sortKey(rows + 2) > store.sortKey(0));
        store.setValue(rows + 2, QVariant());
        QVERIFY(store.isNull(rows + 2));
    }

    void smallColumnsStaySmall()
    {
        ColumnStore store(column(db::ColumnType::Text));
        for (int i = 0; i < 40; ++i)
            store.appendText("Beograd");
        QVERIFY2(store.memoryBytes() < 16 * 1024, qPrintable(QString::number(store.memoryBytes())));
    }

    void conversions_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariant>("input");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("number text") << int(db::ColumnType::Integer) << QVariant("42") << QVariant(qint64(42));
        QTest::newRow("flag word") << int(db::ColumnType::Integer) << QVariant("Da") << QVariant(qint64(1));
        QTest::newRow("not a number") << int(db::ColumnType::Integer) << QVariant("4x") << QVariant();
        QTest::newRow("decimal comma") << int(db::ColumnType::Float) << QVariant("1.234,5") << QVariant(1234.5);
        QTest::newRow("program date") << int(db::ColumnType::DateTime) << QVariant("15.03.2007")
                                      << QVariant(QDateTime(QDate(2007, 3, 15), QTime(0, 0)));
        QTest::newRow("stored date") << int(db::ColumnType::DateTime) << QVariant("2007-03-15 10:30:00")
                                     << QVariant(QDateTime(QDate(2007, 3, 15), QTime(10, 30)));
        QTest::newRow("no such date") << int(db::ColumnType::DateTime) << QVariant("31.02.2007") << QVariant();
    }

    void conversions()
    {
        QFETCH(int, type);
        QFETCH(QVariant, input);
        QFETCH(QVariant, stored);
        ColumnStore store(column(db::ColumnType(type)));
        store.appendVariant(input);
        QCOMPARE(store.value(0), stored);
    }
};

QTEST_GUILESS_MAIN(tst_ColumnStore)
#include "tst_columnstore.moc"
