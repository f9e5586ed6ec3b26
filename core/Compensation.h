#pragma once
// First-order compensation of a loaded file.
#include "core/FileRecord.h"

namespace qv {

// Rebuilds record.WorkingData from record.PristineData: a copy of events
// 1..EventCount of parameters 1..ParameterCount, and, when CompensationOn is
// set, WorkingData(e, j) -= CompensationMatrix(i, j) * PristineData(e, i) for
// every pair (i, j), i and j in 1..ParameterCount, taken in order of i and
// rounded to a 32-bit float after each subtraction. Every share comes from
// the uncompensated values; no matrix is inverted. Elements with index 0 are
// left as they are. A WorkingData that does not have the shape of
// PristineData is first resized to it; indices beyond the matrices are not
// read.
void ApplyCompensation(FileRecord& record);

}  // namespace qv
