#pragma once
// The date a sheet records as written on. Sheets are 8-bit files read on
// any machine, so the date is in one fixed form of ASCII digits, whatever
// the user's locale writes (Arabic-Indic digits, month names in another
// script).
#include <QDate>

#include <string>

namespace qv {

// `date` as day/month/year digits ("11/12/2026").
std::string WritingDateText(const QDate& date);

}  // namespace qv
