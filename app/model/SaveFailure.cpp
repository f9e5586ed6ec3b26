#include "app/model/SaveFailure.h"

#include <QFile>

#include <string>

namespace qv {

QString SaveFailureMessage(const QString& path, std::string_view reason, const char* heading) {
    const std::string text = SaveFailureText(QFile::encodeName(path).toStdString(), reason, heading);
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace qv
