#pragma once
// The clip book: a window that keeps pictures pasted from the clipboard on
// one page, where the user drags them into place, deletes them, copies or
// saves the page, or puts it on the print page. It shows no file and is
// never selected; its pictures live only in memory (a sheet keeps the
// window's place, size and print-page flag, not the pictures).
#include <QImage>
#include <QRect>

#include <optional>
#include <string>
#include <vector>

#include "app/PlotWindow.h"
#include "output/model/ClipBookPage.h"

namespace qv {

// Registers the "ClipBook" window kind with the window registry.
void registerClipBookKind();

class ClipBook : public PlotWindow {
    Q_OBJECT
public:
    static constexpr int MenuCaptionCount = 7;

    explicit ClipBook(QWidget* parent = nullptr);
    ~ClipBook() override;

    void Alusta(int id) override;
    void LatauksenJalkeen() override {}
    void Piirra() override;
    int AnnaID() const override { return id_; }
    QString AnnaOtsikko() const override { return title_; }
    void UnloadWindow() override;

    QImage Kuva() const override { return page_; }
    bool OnkoPreviewissa() const override { return onPrintPage_; }
    void AsetaPreviewissa(bool flag) override;

    void MenuValintaReaktio(int index) override;
    void CopyToClipboard() override;

    std::vector<std::string> SaveInfo() override;
    void LoadInfo(const std::string& line) override;

    // Paste (Ctrl+V, menu item 1) and delete (Del, menu item 2).
    void paste();
    void deleteSelected();
    // "Save as .BMP" (menu item 5).
    void saveImage();

    // Caption k (1..7) of the pop-up menu.
    QString menuCaption(int k) const;
    ClipBookPage& page() { return book_; }
    const ClipBookPage& page() const { return book_; }
    // The outline drawn over the page (hover or drag) and its colour.
    std::optional<QRect> outline() const { return outline_; }
    QColor outlineColour() const { return outlineColour_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* outerWidget();
    void fitPictureToClient();
    void closeFrame();

    int id_ = 0;
    QString title_;
    QImage page_;
    ClipBookPage book_;
    std::optional<QRect> outline_;
    QColor outlineColour_ = Qt::black;
    bool onPrintPage_ = false;
    bool ready_ = false;
    bool frameDeleted_ = false;
};

}  // namespace qv
