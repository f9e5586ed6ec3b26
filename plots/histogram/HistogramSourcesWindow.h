#pragma once
// What the windows built from histogram windows (the overlay and the
// mirror) share: they show no file and are never selected; a picture over a
// band of line selectors, each naming a source histogram window by its ID;
// the selectors rebuilt from the open histogram windows at every Piirra;
// the remembered size of the kind; the pop-up menu; the picture to the
// clipboard; closing.
#include <QImage>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

#include "app/PlotWindow.h"
#include "plots/histogram/model/HistogramSources.h"

class QComboBox;

namespace qv {

class Histogram;

class HistogramSourcesWindow : public PlotWindow {
    Q_OBJECT
public:
    explicit HistogramSourcesWindow(QWidget* parent = nullptr);
    ~HistogramSourcesWindow() override;

    int AnnaID() const override { return id_; }
    // The window shows no file.
    void LatauksenJalkeen() override {}
    void CopyToClipboard() override;
    // Frees the registry slot (when it is still this window's) and closes
    // the window; no other window is redrawn.
    void UnloadWindow() override;

    // Tools: line `line` (0..100) takes source window `window`, then
    // Piirra; the rebuild keeps it only when it names an open histogram
    // window. A line or window out of range raises WindowOperationError.
    void AsetaHistogram(int line, int window) override;

    const QImage& picture() const { return picture_; }
    // The picture for the print page and the tools' saved pictures.
    QImage Kuva() const override { return picture_; }
    // The selector of line L (1..number of lines).
    QComboBox* selector(int line) const;
    // The source histogram window of a slot: nullptr when the slot holds
    // none (another kind) or it has never counted a histogram.
    static Histogram* sourceWindow(int slot);

protected:
    // What the kind tells the shared code.
    virtual SourceLineWindows& lineWindows() = 0;
    virtual int lineCount() const = 0;
    virtual int controlBandHeight() const = 0;
    virtual bool ready() const = 0;
    // The kind's drawing of its lines (no selector rebuild).
    virtual void drawLines() = 0;
    virtual void rememberKindSize(int32_t widthTwips, int32_t heightTwips) = 0;
    virtual QStringList popupCaptions() const = 0;
    // Places the controls of the band under a picture of this height.
    virtual void placeControls(int pictureHeight);

    // The start of Alusta: ID, caption, ShowsFile false, the kind's start
    // size, the picture and `lines` selectors each holding "None".
    void startWindow(int id, const std::string& title, int32_t rememberedWidth, int32_t rememberedHeight,
                     int32_t firstWidth, int32_t firstHeight, int lines);
    // The selector rebuild of Piirra: each line keeps its window only when
    // it is still an open histogram window. True when a line has a window.
    bool rebuildSelectors();
    // Whether a line's window slot is still in use (a drawing stops at the
    // first that is not, leaving the picture cleared).
    static bool slotInUse(int slot);
    // Whether a slot is in use by a histogram window.
    static bool holdsHistogramWindow(int slot);
    // Clears the picture to `colour` and shows it.
    void clearPicture(const QColor& colour);
    // The outer window (the workspace frame when there is one).
    QWidget* outer();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    int16_t id_ = 0;
    QImage picture_;

private:
    void fitPicture();
    void selectorChosen(int line);

    std::vector<QComboBox*> selectors_;  // element L is line L's; element 0 unused
};

}  // namespace qv
