#pragma once
// Qt's printer dialog with the choice of a PDF file taken over. Qt's own
// dialog opens the file it is given to test it when "Print" is pressed (a
// named pipe hangs the program there, a dangling link is replaced by an
// empty file at its target) and asks its questions about it around the
// dialog layer. Here the file is only named: the browse button asks
// through the layer's save dialog, and "Print" with "Print to File" chosen
// closes the dialog with the name alone; the program then checks the file
// by its own write rules before anything opens it (ChoosePrinter).
#include <QPrintDialog>

class QLineEdit;

namespace qv {

class PrinterDialog final : public QPrintDialog {
public:
    explicit PrinterDialog(QPrinter* printer, QWidget* parent = nullptr);

private:
    // "Print": a file chosen is taken by its name without being tested;
    // a printer goes through Qt's own checks.
    void printChosen();
    // The layer's save dialog for the PDF file, starting at the name in the
    // field; false when cancelled.
    bool askFileName();

    QLineEdit* fileName_ = nullptr;
};

}  // namespace qv
