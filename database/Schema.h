#pragma once

#include "platform/db/Connection.h"

namespace velmora::database {

// The script that creates every table of the program on the backend.
const char *schemaScript(db::Backend backend);

// True when the database holds the program's tables.
bool hasProgramTables(db::Connection &connection);

// Creates the schema in a database without the program's tables; throws
// DbError when it already has them or when the script fails.
void createSchema(db::Connection &connection);

} // namespace velmora::database
