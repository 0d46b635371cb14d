// libFuzzer target for the dialect rewriter: any text must be rewritten for
// both backends without a crash or a hang, and the string literals of the
// statement must come out as they went in (a date given to CONVERT aside).
#include "platform/db/Dialect.h"

#include <cstdint>
#include <cstdlib>

using namespace velmora::db;

namespace {

QStringList literals(const QString &sql)
{
    QStringList list;
    for (const dialect::Token &t : dialect::tokenize(sql)) {
        if (t.kind == dialect::TokenKind::String)
            list << sql.mid(t.begin, t.length);
        else if (t.kind == dialect::TokenKind::NString)
            list << sql.mid(t.begin + 1, t.length - 1);
    }
    return list;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString sql = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const bool converts = sql.contains(QLatin1String("convert"), Qt::CaseInsensitive);
    const QStringList before = literals(sql);
    for (const Backend backend : {Backend::SQLite, Backend::PostgreSQL}) {
        const QString out = dialect::rewrite(sql, backend);
        if (!converts && literals(out) != before)
            std::abort();
    }
    return 0;
}
