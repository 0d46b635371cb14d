#include "platform/dataset/Dataset.h"
#include "platform/dataset/DatasetError.h"
#include "platform/core/Formatting.h"
#include "support/TestDatabase.h"

#include <QSignalSpy>
#include <QTest>

using namespace velmora;
using data::Dataset;
using data::DatasetState;

namespace {

// Places in the order the rows are inserted; ID is the position + 1.
const QStringList kPlaces = {QStringLiteral("Šabac"), QStringLiteral("Čačak"), QStringLiteral("Ćuprija"), QStringLiteral("Cerovac"),
                             QStringLiteral("Đakovica"), QStringLiteral("Dimitrovgrad"), QStringLiteral("Žabalj"), QStringLiteral("Zaječar"),
                             QString(), QStringLiteral("beograd"), QStringLiteral("Beočin")};

void fillPlaces(db::Connection &c)
{
    for (int i = 0; i < kPlaces.size(); ++i)
        c.execute(QStringLiteral("insert into GRAD (ID, MESTO, POSTANSKI_BROJ) values (?, ?, ?)"),
                  {i + 1, kPlaces[i].isNull() ? QVariant() : QVariant(kPlaces[i]), QString::number(11000 + i)});
}

QStringList column(Dataset &d, const QString &field)
{
    QStringList values;
    for (int i = 0; i < d.recordCount(); ++i)
        values << d.displayTextAt(i, d.fieldByName(field)->column());
    return values;
}

} // namespace

class tst_Dataset : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestDatabase> m_db;
    std::unique_ptr<Dataset> m_grad;

private slots:
    void initTestCase_data() { test::addBackendRows(); }
    void initTestCase() { format::applyProgramSettings(); }

    void init()
    {
        m_db = std::make_unique<test::TestDatabase>(test::currentBackend());
        fillPlaces(m_db->connection());
        m_grad = std::make_unique<Dataset>(QStringLiteral("adsGrad"));
        m_grad->setConnection(&m_db->connection());
        m_grad->setCommandText(QStringLiteral("select * from Grad"));
        m_grad->setIndexFieldNames(QStringLiteral("Id"));
        m_grad->open();
    }
    void cleanup()
    {
        m_grad.reset();
        m_db.reset();
    }

    void navigation()
    {
        Dataset &d = *m_grad;
        QCOMPARE(d.state(), DatasetState::Browse);
        QCOMPARE(d.recordCount(), kPlaces.size());
        QCOMPARE(d.recNo(), 1);
        QVERIFY(d.bof());
        d.prior();
        QCOMPARE(d.recNo(), 1);
        d.next();
        QCOMPARE(d.fieldByName(QStringLiteral("MESTO"))->asString(), QStringLiteral("Čačak"));
        d.last();
        QVERIFY(d.eof());
        QCOMPARE(d.fieldByName(QStringLiteral("id"))->asInteger(), kPlaces.size());
        d.next();
        QCOMPARE(d.recNo(), kPlaces.size());
        d.first();
        QCOMPARE(d.fieldByName(QStringLiteral("ID"))->asInteger(), 1);
        d.close();
        QCOMPARE(d.state(), DatasetState::Inactive);
        QCOMPARE(d.recNo(), 0);
        QVERIFY_THROWS_EXCEPTION(data::DatasetError, d.next());
    }

    void insertEditCancelPost()
    {
        Dataset &d = *m_grad;
        QSignalSpy states(&d, &Dataset::stateChanged);
        d.append();
        QCOMPARE(d.state(), DatasetState::Insert);
        QCOMPARE(d.recordCount(), kPlaces.size() + 1);
        d.fieldByName(QStringLiteral("ID"))->setValue(100);
        d.fieldByName(QStringLiteral("MESTO"))->setValue(QStringLiteral("Novi Sad"));
        d.cancel();
        QCOMPARE(d.state(), DatasetState::Browse);
        QCOMPARE(d.recordCount(), kPlaces.size());
        QCOMPARE(m_db->connection().selectValue(QStringLiteral("select count(*) from GRAD where ID = 100")).toInt(), 0);

        d.append();
        d.fieldByName(QStringLiteral("ID"))->setValue(QStringLiteral("100"));
        d.fieldByName(QStringLiteral("MESTO"))->setValue(QStringLiteral("Novi Sad"));
        d.post();
        QCOMPARE(d.state(), DatasetState::Browse);
        QCOMPARE(m_db->connection().selectValue(QStringLiteral("select MESTO from GRAD where ID = 100")).toString(), QStringLiteral("Novi Sad"));

        QVERIFY(d.locate(QStringLiteral("ID"), {2}, 0));
        d.edit();
        d.fieldByName(QStringLiteral("POSTANSKI_BROJ"))->setValue(QStringLiteral("32000"));
        QVERIFY(d.modified());
        d.cancel();
        QCOMPARE(d.fieldByName(QStringLiteral("POSTANSKI_BROJ"))->asString(), QStringLiteral("11001"));
        d.edit();
        d.fieldByName(QStringLiteral("POSTANSKI_BROJ"))->setValue(QStringLiteral("32000"));
        d.fieldByName(QStringLiteral("POZIVNI_BROJ"))->clear();
        d.post();
        const auto row = m_db->connection().selectRows(QStringLiteral("select MESTO, POSTANSKI_BROJ, POZIVNI_BROJ from GRAD where ID = 2"));
        QCOMPARE(row.first()[0].toString(), QStringLiteral("Čačak"));
        QCOMPARE(row.first()[1].toString(), QStringLiteral("32000"));
        QVERIFY(!row.first()[2].isValid());
        QVERIFY(states.count() >= 6);
        // A value the field cannot take is refused at once.
        d.edit();
        QVERIFY_THROWS_EXCEPTION(data::DatasetError, d.fieldByName(QStringLiteral("ID"))->setValue(QStringLiteral("abc")));
        d.cancel();
    }

    void editingAnEmptyListInserts()
    {
        Dataset &d = *m_grad;
        d.setFilter(QStringLiteral("ID = 999"));
        d.setFiltered(true);
        QVERIFY(d.isEmpty());
        d.edit();
        QCOMPARE(d.state(), DatasetState::Insert);
        d.cancel();
        QVERIFY(d.isEmpty());
    }

    void failedPostKeepsTheValues()
    {
        Dataset &d = *m_grad;
        d.append();
        d.fieldByName(QStringLiteral("ID"))->setValue(3); // taken
        d.fieldByName(QStringLiteral("MESTO"))->setValue(QStringLiteral("Kraljevo"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, d.post());
        QCOMPARE(d.state(), DatasetState::Insert);
        QCOMPARE(d.fieldByName(QStringLiteral("MESTO"))->asString(), QStringLiteral("Kraljevo"));
        d.fieldByName(QStringLiteral("ID"))->setValue(50);
        d.post();
        QCOMPARE(m_db->connection().selectValue(QStringLiteral("select MESTO from GRAD where ID = 50")).toString(), QStringLiteral("Kraljevo"));

        // A field declared required is checked before anything is sent.
        Dataset doctors(QStringLiteral("adsLekar"));
        doctors.setConnection(&m_db->connection());
        doctors.setCommandText(QStringLiteral("select * from Lekar"));
        doctors.declareField({QStringLiteral("ID"), data::FieldType::Integer, 0, true, QStringLiteral("ID"), {}});
        doctors.open();
        doctors.append();
        doctors.fieldByName(QStringLiteral("LEKAR"))->setValue(QStringLiteral("Dr Ana Ilić"));
        QVERIFY_THROWS_EXCEPTION(data::DatasetError, doctors.post());
        QCOMPARE(doctors.state(), DatasetState::Insert);
        QCOMPARE(doctors.fieldByName(QStringLiteral("LEKAR"))->asString(), QStringLiteral("Dr Ana Ilić"));
    }

    void lostUpdateIsRefused()
    {
        Dataset &d = *m_grad;
        auto other = m_db->openAnother();
        QVERIFY(d.locate(QStringLiteral("ID"), {4}, 0));

        // Another workstation changes another column: the edit still goes through.
        d.edit();
        other->execute(QStringLiteral("update GRAD set POZIVNI_BROJ = '011' where ID = 4"));
        d.fieldByName(QStringLiteral("MESTO"))->setValue(QStringLiteral("Cerovac Gornji"));
        d.post();

        // It changes the same column: the edit is refused and kept.
        d.edit();
        other->execute(QStringLiteral("update GRAD set MESTO = N'Cerovac Donji' where ID = 4"));
        d.fieldByName(QStringLiteral("MESTO"))->setValue(QStringLiteral("Cerovac Srednji"));
        try {
            d.post();
            QFAIL("the other workstation's change was overwritten");
        } catch (const db::DbError &error) {
            QVERIFY(error.message().contains(QStringLiteral("druga radna stanica")));
        }
        QCOMPARE(d.state(), DatasetState::Edit);
        QCOMPARE(d.fieldByName(QStringLiteral("MESTO"))->asString(), QStringLiteral("Cerovac Srednji"));
        QCOMPARE(other->selectValue(QStringLiteral("select MESTO from GRAD where ID = 4")).toString(), QStringLiteral("Cerovac Donji"));
        d.cancel();

        // It removes the row: the delete finds nothing and says so; the row stays in the list.
        other->execute(QStringLiteral("delete from GRAD where ID = 4"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, d.deleteRecord());
        QCOMPARE(d.recordCount(), kPlaces.size());
    }

    void deleteRemovesTheRowOfTheUniqueTable()
    {
        db::Connection &c = m_db->connection();
        c.execute(QStringLiteral("insert into KLINIKE (ID, NAZIV, GRAD) values (1, N'Klinika', 2)"));
        Dataset clinics(QStringLiteral("adsKlinike"));
        clinics.setConnection(&c);
        clinics.setCommandText(QStringLiteral("select Klinike.*, Grad.Mesto as [NAZIV GRADA] from Klinike left join Grad on Klinike.Grad = Grad.Id"));
        clinics.open();
        const int city = clinics.fieldByName(QStringLiteral("NAZIV GRADA"))->column();
        QCOMPARE(clinics.columnInfo(city).baseTable.toUpper(), QStringLiteral("GRAD"));
        QCOMPARE(clinics.columnInfo(city).baseColumn.toUpper(), QStringLiteral("MESTO"));
        QCOMPARE(clinics.updateTable().toUpper(), QStringLiteral("KLINIKE"));
        clinics.setUniqueTable(clinics.columnInfo(0).baseTable);
        clinics.deleteRecord();
        QVERIFY(clinics.isEmpty());
        QCOMPARE(c.selectValue(QStringLiteral("select count(*) from KLINIKE")).toInt(), 0);
        QCOMPARE(c.selectValue(QStringLiteral("select count(*) from GRAD where ID = 2")).toInt(), 1);

        // A city still referred to cannot go.
        c.execute(QStringLiteral("insert into KLINIKE (ID, GRAD) values (2, 1)"));
        QVERIFY(m_grad->locate(QStringLiteral("ID"), {1}, 0));
        try {
            m_grad->deleteRecord();
            QFAIL("deleted a referenced city");
        } catch (const db::DbError &error) {
            QVERIFY(error.message().startsWith(QLatin1String("DELETE")));
        }
        QCOMPARE(m_grad->recordCount(), kPlaces.size());
    }

    void sort_data()
    {
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Serbian order, NULL first")
            << "MESTO ASC" << "MESTO"
            << QStringList{"", "Beočin", "beograd", "Cerovac", "Čačak", "Ćuprija", "Dimitrovgrad", "Đakovica", "Šabac", "Zaječar", "Žabalj"};
        QTest::newRow("descending, NULL last")
            << "MESTO DESC" << "MESTO"
            << QStringList{"Žabalj", "Zaječar", "Šabac", "Đakovica", "Dimitrovgrad", "Ćuprija", "Čačak", "Cerovac", "beograd", "Beočin", ""};
        QTest::newRow("integer") << "ID DESC" << "ID" << QStringList{"11", "10", "9", "8", "7", "6", "5", "4", "3", "2", "1"};
        QTest::newRow("no sort: the query's order") << "" << "ID" << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};
    }

    void sort()
    {
        QFETCH(QString, sort);
        QFETCH(QString, field);
        QFETCH(QStringList, expected);
        m_grad->setSort(sort);
        QCOMPARE(m_grad->sort(), sort);
        QCOMPARE(column(*m_grad, field), expected);
    }

    void sortByTwoColumnsAndRefusal()
    {
        Dataset &d = *m_grad;
        d.first();
        d.edit();
        d.fieldByName(QStringLiteral("MESTO"))->setValue(QStringLiteral("Čačak")); // two rows of Čačak: 1 and 2
        d.post();
        QVERIFY(d.locate(QStringLiteral("ID"), {5}, 0));
        d.setSort(QStringLiteral("MESTO ASC, ID DESC"));
        QCOMPARE(column(d, QStringLiteral("ID")).mid(0, 6), (QStringList{"9", "11", "10", "4", "2", "1"}));
        // The current row stays current across a sort.
        QCOMPARE(d.fieldByName(QStringLiteral("ID"))->asInteger(), 5);
        QVERIFY_THROWS_EXCEPTION(data::DatasetError, d.setSort(QStringLiteral("NEMA ASC")));
        QCOMPARE(d.sort(), QStringLiteral("MESTO ASC, ID DESC"));
    }

    void filter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("prefix, any case") << "MESTO LIKE 'be%'" << QStringList{"10", "11"};
        QTest::newRow("prefix and number") << "MESTO LIKE 'Be%' AND ID=11" << QStringList{"11"};
        QTest::newRow("part of word") << "MESTO LIKE '%BAC%'" << QStringList{"1"};
        QTest::newRow("Serbian letters fold") << "MESTO LIKE 'ČA%'" << QStringList{"2"};
        QTest::newRow("equal text without case") << "MESTO = 'ćuprija'" << QStringList{"3"};
        QTest::newRow("number") << "ID=5" << QStringList{"5"};
        QTest::newRow("or and parentheses") << "(ID < 3 OR ID > 10) AND NOT MESTO LIKE 'Š%'" << QStringList{"2", "11"};
        QTest::newRow("null") << "MESTO IS NULL" << QStringList{"9"};
        QTest::newRow("wildcards") << "MESTO LIKE '_a_a%'" << QStringList{"1", "2", "7"};
        QTest::newRow("number typed as text") << "ID = 'x'" << QStringList{};
    }

    void filter()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, ids);
        m_grad->setFilter(filter);
        m_grad->setFiltered(true);
        QCOMPARE(column(*m_grad, QStringLiteral("ID")), ids);
        // Requery keeps the filter; switching it off shows every row.
        m_grad->requery();
        QCOMPARE(column(*m_grad, QStringLiteral("ID")), ids);
        m_grad->setFiltered(false);
        QCOMPARE(m_grad->recordCount(), kPlaces.size());
    }

    void badFilterIsRefused_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::newRow("apostrophe in the value") << "MESTO LIKE 'O'Neil%'";
        QTest::newRow("unknown field") << "NEMA = 1";
        QTest::newRow("no operator") << "MESTO 'x'";
        QTest::newRow("open parenthesis") << "(ID = 1";
    }

    void badFilterIsRefused()
    {
        QFETCH(QString, filter);
        m_grad->setFilter(filter);
        QVERIFY_THROWS_EXCEPTION(data::DatasetError, m_grad->setFiltered(true));
        QVERIFY(!m_grad->filtered());
        QCOMPARE(m_grad->recordCount(), kPlaces.size());
    }

    void locate_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("id");
        const int both = data::loCaseInsensitive | data::loPartialKey;
        QTest::newRow("čač finds Čačak") << "MESTO" << QVariantList{"čač"} << both << 2;
        QTest::newRow("beo finds the first in order") << "MESTO" << QVariantList{"beo"} << both << 10;
        QTest::newRow("leading % anywhere") << "MESTO" << QVariantList{"%JEČ"} << both << 8;
        QTest::newRow("case counts without the option") << "MESTO" << QVariantList{"čačak"} << 0 << -1;
        QTest::newRow("whole value") << "MESTO" << QVariantList{"Čačak"} << 0 << 2;
        QTest::newRow("partial is not whole") << "MESTO" << QVariantList{"Čač"} << 0 << -1;
        QTest::newRow("number") << "ID" << QVariantList{7} << 0 << 7;
        QTest::newRow("number as text") << "Id" << QVariantList{"7"} << both << 7;
        QTest::newRow("NULL") << "MESTO" << QVariantList{QVariant()} << 0 << 9;
        QTest::newRow("two fields") << "MESTO;POSTANSKI_BROJ" << QVariantList{"žab", "11006"} << both << 7;
        QTest::newRow("not found") << "MESTO" << QVariantList{"Kikinda"} << both << -1;
    }

    void locate()
    {
        QFETCH(QString, fields);
        QFETCH(QVariantList, values);
        QFETCH(int, options);
        QFETCH(int, id);
        m_grad->last();
        const bool found = m_grad->locate(fields, values, options);
        QCOMPARE(found, id > 0);
        QCOMPARE(m_grad->fieldByName(QStringLiteral("ID"))->asInteger(), id > 0 ? id : kPlaces.size());
    }

    void bookmarks()
    {
        Dataset &d = *m_grad;
        QVERIFY(d.locate(QStringLiteral("ID"), {6}, 0));
        const data::Bookmark mark = d.bookmark();
        d.setSort(QStringLiteral("MESTO DESC"));
        d.first();
        QVERIFY(d.gotoBookmark(mark));
        QCOMPARE(d.fieldByName(QStringLiteral("ID"))->asInteger(), 6);
        d.requery();
        QCOMPARE(d.recNo(), 1);
        QVERIFY(d.gotoBookmark(mark)); // found again by its key
        QCOMPARE(d.fieldByName(QStringLiteral("ID"))->asInteger(), 6);
    }

    void declaredFields()
    {
        db::Connection &c = m_db->connection();
        c.execute(QStringLiteral("insert into LEKAR (ID, LEKAR, DIREKTOR_KLINIKE) values (1, N'Dr Đorđe Šarić', 1)"));
        c.execute(QStringLiteral("insert into PACIJENT (ID) values (1)"));
        c.execute(QStringLiteral("insert into POSETA (PACIJENT_FK, ID, DATUM_PRIJEMA) values (1, 1, ?)"), {QDateTime(QDate(2007, 3, 5), QTime(0, 0))});
        Dataset doctors(QStringLiteral("adsLekar"));
        doctors.setConnection(&c);
        doctors.setCommandText(QStringLiteral("select * from Lekar"));
        for (const char *flag : {"NACELNIK_ODELJENJA", "UPRAVNIK_KLINIKE", "DIREKTOR_KLINIKE"})
            doctors.declareField({QString::fromLatin1(flag), data::FieldType::Boolean, 0, false, QString::fromLatin1(flag).replace(u'_', u' '), QStringLiteral("Da;Ne")});
        QCOMPARE(doctors.fields().size(), 3); // declared fields exist before the dataset opens
        doctors.open();
        QCOMPARE(doctors.fieldByName(QStringLiteral("DIREKTOR_KLINIKE"))->displayText(), QStringLiteral("Da"));
        QCOMPARE(doctors.fieldByName(QStringLiteral("NACELNIK_ODELJENJA"))->displayText(), QStringLiteral("Ne"));
        QCOMPARE(doctors.fieldByName(QStringLiteral("UPRAVNIK_KLINIKE"))->displayLabel(), QStringLiteral("UPRAVNIK KLINIKE"));
        QVERIFY(doctors.fieldByName(QStringLiteral("DIREKTOR_KLINIKE"))->asBoolean());

        Dataset visits(QStringLiteral("adsPoseta"));
        visits.setConnection(&c);
        visits.setCommandText(QStringLiteral("select * from Poseta"));
        visits.open();
        QCOMPARE(visits.fieldByName(QStringLiteral("DATUM_PRIJEMA"))->displayText(), QStringLiteral("05.03.2007"));
        QCOMPARE(visits.fieldByName(QStringLiteral("Ranije bolesti"))->dataType(), data::FieldType::WideMemo);
        QCOMPARE(visits.fieldByName(QStringLiteral("Ranije bolesti"))->asString(), QStringLiteral("negira"));
        QCOMPARE(visits.fieldByName(QStringLiteral("POSETA_BROJ"))->size(), 255);
        // A date typed the program's way is stored and compares with a date literal.
        visits.edit();
        visits.fieldByName(QStringLiteral("DATUM_OTPUSTA"))->setValue(QStringLiteral("15.03.2007"));
        visits.post();
        QCOMPARE(c.selectValue(QStringLiteral("select count(*) from POSETA where DATUM_OTPUSTA = CONVERT(smalldatetime, '15.03.2007', 104)")).toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_Dataset)
#include "tst_dataset.moc"
