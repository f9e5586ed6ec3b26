#pragma once
// Names that come from the file system (file and folder names, kept as the
// bytes the file system holds) as text for the user to read. Only what is
// shown is decoded; paths go to files and sheets byte for byte.
#include <QString>

#include <string_view>

namespace qv {

// Decoded as the file system encodes names ("mésure.txt", not "mÃ©sure.txt").
// Texts that mix a name into ASCII (a caption "(1): Dot Plot - name") decode
// the same way.
QString shownFileSystemText(std::string_view bytes);

}  // namespace qv
