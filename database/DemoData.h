#pragma once

#include "platform/db/Connection.h"

#include <functional>

namespace velmora::database {

struct DemoCounts {
    int patients = 0;
    int visits = 0;
    int icd10 = 0;
    int labValues = 0;
};

// Fills a database that has the program's schema with realistic synthetic
// ward data: Serbian places, doctors, clinics, ICD-10 codes, drugs, laboratory
// catalogues, and patients with their stays, anamnesis texts, laboratory
// results, consultations, diagnostic findings, diagnoses and therapy. The
// same seed gives the same data. One transaction: on failure nothing stays.
DemoCounts fillDemoData(db::Connection &connection, int patients, unsigned seed = 20071,
                        const std::function<void(int done)> &progress = {});

} // namespace velmora::database
