#include "platform/core/Formatting.h"

#include <QLocale>
#include <QTest>

namespace format = velmora::format;

class tst_Formatting : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { format::applyProgramSettings(); }

    void datesReadAndPrintWithPoints()
    {
        QCOMPARE(format::dateToText(QDate(2007, 3, 5)), QStringLiteral("05.03.2007"));
        QCOMPARE(format::textToDate(QStringLiteral("15.03.2007")), QDate(2007, 3, 15));
        QCOMPARE(format::textToDate(QStringLiteral("5.3.2007")), QDate(2007, 3, 5));
        bool ok = true;
        format::textToDate(QStringLiteral("31.02.2007"), &ok);
        QVERIFY(!ok);
        QVERIFY(format::textToDate(QString(), &ok).isNull());
        QVERIFY(ok);
        QCOMPARE(format::dateTimeToText(QDateTime(QDate(2007, 3, 5), QTime(14, 30))), QStringLiteral("05.03.2007 14:30:00"));
    }

    void numbersUseCommaAndPoint()
    {
        QCOMPARE(format::numberToText(1234.5), QStringLiteral("1234,5"));
        QCOMPARE(format::numberToText(2.0, 2), QStringLiteral("2,00"));
        bool ok = false;
        QCOMPARE(format::textToNumber(QStringLiteral("1.234,5"), &ok), 1234.5);
        QVERIFY(ok);
        format::textToNumber(QStringLiteral("12x"), &ok);
        QVERIFY(!ok);
        // Qt's own editors follow the same separators.
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
        QCOMPARE(QLocale().toString(1.5), QStringLiteral("1,5"));
    }

    void restoringTheUserDateFormatKeepsNumbers()
    {
        format::restoreUserDateFormat();
        QCOMPARE(format::settings().decimalSeparator, QChar(u','));
        QCOMPARE(format::textToDate(format::dateToText(QDate(2020, 1, 31))), QDate(2020, 1, 31));
        format::applyProgramSettings();
        QCOMPARE(format::dateToText(QDate(2020, 1, 31)), QStringLiteral("31.01.2020"));
    }
};

QTEST_GUILESS_MAIN(tst_Formatting)
#include "tst_formatting.moc"
