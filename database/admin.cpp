// velmora-admin: the ward administrator's command-line tool.
#include "DemoData.h"
#include "Schema.h"
#include "Users.h"
#include "platform/db/ConnectionString.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

const char *kUsage =
    "Usage: velmora-admin COMMAND TARGET [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  init TARGET                 Create Velmora's tables in an empty database.\n"
    "                              A database that already has tables is refused.\n"
    "  demo TARGET --patients N    Fill a database with synthetic ward data: places,\n"
    "                              doctors, clinics, ICD-10 codes, drugs, laboratory\n"
    "                              catalogues and N patients with their stays,\n"
    "                              anamnesis texts, laboratory results, consultations,\n"
    "                              diagnostic findings, diagnoses and therapy. An empty\n"
    "                              database gets the tables first; one that already\n"
    "                              holds patients is refused.\n"
    "  adduser TARGET NAME         Add the user NAME, or give an existing one a new\n"
    "                              password, asked for twice without echo (one line\n"
    "                              from standard input when it is not a terminal).\n"
    "                              Embedded databases keep a salted hash of it;\n"
    "                              on PostgreSQL NAME is a login role that may\n"
    "                              connect to the database.\n"
    "\n"
    "TARGET is sqlite:PATH (the file is created when missing) or a PostgreSQL\n"
    "connection URI or key=value string, for example\n"
    "  postgresql://lekar@localhost/odeljenje\n"
    "  postgresql://lekar@/odeljenje?host=/var/run/postgresql\n"
    "\n"
    "Exit status: 0 on success, 1 when the command failed, 2 for wrong usage.\n";

// A line from standard input; without echo when it is a terminal.
QString readSecret(const char *prompt)
{
    const bool terminal = isatty(STDIN_FILENO);
    termios saved{};
    if (terminal) {
        std::fputs(prompt, stderr);
        std::fflush(stderr);
        tcgetattr(STDIN_FILENO, &saved);
        termios silent = saved;
        silent.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &silent);
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        std::fputs("\n", stderr);
    }
    return QString::fromStdString(line);
}

int usage(QTextStream &err, const QString &problem)
{
    if (!problem.isEmpty())
        err << "velmora-admin: " << problem << "\n\n";
    err << kUsage;
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        out << kUsage;
        return 0;
    }
    if (args.size() < 2)
        return usage(err, args.isEmpty() ? QString() : QStringLiteral("a TARGET is needed"));
    const QString command = args.takeFirst();
    const QString target = args.takeFirst();

    try {
        using namespace velmora;
        if (command == QLatin1String("init")) {
            if (!args.isEmpty())
                return usage(err, QStringLiteral("unexpected '%1'").arg(args.first()));
            auto connection = db::openTarget(target, true);
            database::createSchema(*connection);
            out << "Created Velmora's tables in " << connection->databaseName() << ".\n";
            return 0;
        }
        if (command == QLatin1String("demo")) {
            int patients = -1;
            for (int i = 0; i < args.size(); ++i) {
                if (args[i] == QLatin1String("--patients") && i + 1 < args.size()) {
                    bool ok = false;
                    patients = args[++i].toInt(&ok);
                    if (!ok || patients < 0)
                        return usage(err, QStringLiteral("--patients needs a whole number"));
                } else {
                    return usage(err, QStringLiteral("unexpected '%1'").arg(args[i]));
                }
            }
            if (patients < 0)
                return usage(err, QStringLiteral("demo needs --patients N"));
            auto connection = db::openTarget(target, true);
            if (!database::hasProgramTables(*connection))
                database::createSchema(*connection);
            if (connection->selectValue(QStringLiteral("SELECT COUNT(*) FROM PACIJENT")).toLongLong() > 0)
                throw db::DbError(QStringLiteral("the database already holds patients; demo data goes into an empty one"));
            QElapsedTimer clock;
            clock.start();
            const auto counts = database::fillDemoData(*connection, patients, 20071, [&](int done) {
                err << "  " << done << " patients\r";
                err.flush();
            });
            out << "Filled " << connection->databaseName() << ": " << counts.patients << " patients, " << counts.visits
                << " stays, " << counts.icd10 << " ICD-10 codes, " << counts.labValues << " laboratory results in "
                << clock.elapsed() / 1000.0 << " s.\n";
            return 0;
        }
        if (command == QLatin1String("adduser")) {
            if (args.size() != 1)
                return usage(err, QStringLiteral("adduser needs a NAME"));
            const QString name = args.first();
            const QString password = readSecret("Lozinka: ");
            if (isatty(STDIN_FILENO) && readSecret("Ponovite lozinku: ") != password)
                throw db::DbError(QStringLiteral("the two passwords differ; nothing was changed"));
            if (password.isEmpty())
                throw db::DbError(QStringLiteral("an empty password is not accepted"));
            auto connection = db::openTarget(target, false);
            database::users::addOrReset(*connection, name, password);
            out << "User " << name << " may now log in to " << connection->databaseName() << ".\n";
            return 0;
        }
        return usage(err, QStringLiteral("unknown command '%1'").arg(command));
    } catch (const std::exception &error) {
        err << "velmora-admin: " << QString::fromUtf8(error.what()) << "\n";
        return 1;
    }
}
