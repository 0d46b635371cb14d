#pragma once

#include "platform/db/DbError.h"

namespace velmora::data {

// What the dataset refuses (an unknown field, a filter it cannot read, a post
// that finds no row) is reported as the database layer's one error.
using DatasetError = db::DbError;

} // namespace velmora::data
