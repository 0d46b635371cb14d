#pragma once

#include <QString>

#include <exception>
#include <stdexcept>

class QObject;

namespace velmora {

// Thrown to refuse an operation without telling the user (a refused close);
// the application error handler never reports it.
class SilentAbort : public std::exception {
public:
    const char *what() const noexcept override { return "abort"; }
};

// A text that cannot be turned into the number or date asked for.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Tekst : " CR message CR CR "Objekat : " type CR CR "Proverite sve ...",
// with a server's refused delete ("DELETE...") shown as
// "Ne mozete obrisati ovaj podatak".
QString errorReportText(const QString &message, const QString &objectTypeName);

// The class name of the window, control or data module that raised an error.
QString objectTypeName(const QObject *origin);

// The application error handler: reports what no window handled itself as a
// warning with OK, and lets the program go on.
void reportError(const std::exception &error, const QObject *origin);
void reportError(const QString &message, const QObject *origin);

} // namespace velmora
