#pragma once
// Icons and type texts for folder trees and file dialogs that go by the
// entry's name and kind alone. Qt's own provider reads each file to guess
// its type, and a read of a device, a pipe or a /proc entry can block the
// program for good; this one never opens a file.
#include <QFileIconProvider>

namespace qv {

class NameOnlyIconProvider final : public QFileIconProvider {
public:
    NameOnlyIconProvider();

    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

    // The one provider the program's models and dialogs share; it lives
    // until the program ends, so no model or dialog outlives it.
    static NameOnlyIconProvider* shared();

private:
    // Made once in the GUI thread; the file system model asks from its own thread.
    QIcon folderIcon_;
    QIcon fileIcon_;
    QIcon driveIcon_;
};

}  // namespace qv
