#include "app/model/FileSystemText.h"

#include <QByteArray>
#include <QFile>

namespace qv {

QString shownFileSystemText(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace qv
