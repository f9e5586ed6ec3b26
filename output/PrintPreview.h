#pragma once
// The A4 print page: one window for the whole run, on which the user lays
// out the pictures of analysis windows and their statistics boxes, drags
// them into place and prints them. The windows keep their own on-page flags
// and pictures; the page asks every window for them at each repaint and
// owns only where each item sits (PrintPageLayout).
#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "output/model/PrintPageLayout.h"

class QPrinter;

namespace qv {

class PrintPreview : public QWidget {
    Q_OBJECT
public:
    // Sets the page up as its load does (size, PageWidthBase, placements)
    // and becomes the page that printPreview() gives, until destroyed. It
    // is a window of its own, kept above `parent`.
    explicit PrintPreview(QWidget* parent = nullptr);
    ~PrintPreview() override;

    // Repaints the page from the current pictures of the windows on it.
    void Piirra();
    // The page's settings lines (element 0 the count), for "printview.".
    std::vector<std::string> SaveInfo();
    // Applies one whole "printview." line of a sheet; any line it cannot
    // use is ignored.
    void LoadInfo(const std::string& line);
    // "Print...": the printer dialog, then the page on the printer or into
    // the PDF file chosen there. The page gets its on-screen size back on
    // every path out.
    void Printtaa();
    // The page on a printer already chosen: painted at the size it takes on
    // the paper at the printer's resolution (at most MaxPrintedPageDpi), put
    // on the printer or into its PDF file without lossy compression, then
    // given its on-screen size back. False when the printer or the file failed.
    bool PrintOn(QPrinter& printer);

    // The page picture (Kuva) as last painted, and its size.
    const QImage& Kuva() const { return page_; }
    void setPictureSize(QSize size);

    PrintPageLayout& layout() { return layout_; }
    const PrintPageLayout& layout() const { return layout_; }
    // The outline drawn over the page during a drag (page-picture units).
    std::optional<QRect> dragOutline() const { return outline_; }

    // Runs at every pointer move over the page (the main window narrows
    // its panel, as over any child window).
    void setMouseMoveHandler(std::function<void()> handler) { mouseMoved_ = std::move(handler); }

    // The widget whose geometry is the window's (the workspace frame when
    // there is one).
    QWidget* outerWidget();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    double scale() const;
    // Keeps the window at the A4 proportion (height = width x sqrt(2)).
    void keepA4();
    // Puts the page on the printer, or writes it as a PDF file.
    bool printImage(const QImage& image, QPrinter& printer);

    QImage page_;
    PrintPageLayout layout_;
    std::optional<QRect> outline_;
    bool pageLoaded_ = false;
    bool resizing_ = false;
    std::function<void()> mouseMoved_;
};

// The print page of the run; nullptr while there is none.
PrintPreview* printPreview();
// The page is shown (the "Print preview" item carries its tick).
bool printPreviewShown();

}  // namespace qv
