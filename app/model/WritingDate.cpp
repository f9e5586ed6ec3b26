#include "app/model/WritingDate.h"

#include <QLocale>

namespace qv {

std::string WritingDateText(const QDate& date) {
    return QLocale::c().toString(date, QStringLiteral("d/M/yyyy")).toStdString();
}

}  // namespace qv
