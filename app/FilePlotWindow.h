#pragma once
// What every window that shows a file of its own shares, whatever it draws:
// its picture (Kuva) kept as a QImage and painted with the kind's overlay
// over it, its registry record and file, the caption with the selection
// prefix, the start size and the remembered size of its kind, activation,
// Shift, the postponed full draw after a resize, closing with its workspace
// frame, the picture to the clipboard and "Save as .BMP...", and the frame
// and file lines of its settings. A kind holds only its own state, drawing
// and menus.
#include <QImage>

#include <cstdint>
#include <optional>
#include <string>

#include "app/PlotWindow.h"
#include "app/WorkspacePlacement.h"
#include "app/model/WindowSettingsLine.h"
#include "core/FileRecord.h"
#include "core/WindowRecord.h"

class QPainter;

namespace qv {

class FilePlotWindow : public PlotWindow {
    Q_OBJECT
public:
    explicit FilePlotWindow(QWidget* parent = nullptr);
    ~FilePlotWindow() override;

    QString AnnaOtsikko() const override;
    // The picture as last drawn to the clipboard.
    void CopyToClipboard() override;

    // The plot picture as last drawn (Kuva).
    const QImage& picture() const { return picture_; }
    // The same picture for the print page and the tools' saved pictures.
    QImage Kuva() const override { return picture_; }
    // WindowRecord.FileIndex of this window (0 when none or not registered).
    int fileIndex() const;
    // The loaded record of FileTable slot `slot`; an empty record otherwise.
    static const FileRecord& fileRecord(int slot);
    // EventCount of the window's file, 0 without one.
    int32_t fileEventCount() const;

    // The activation step: nothing before Alusta or while a sheet loads;
    // else selects this window (keeping the others selected while Shift is
    // held) and makes it the active one.
    void onActivated() override;
    // "Save as .BMP...": the save dialog, the overwrite question, then the
    // picture written whole or "Save error" with the old file kept.
    void saveImage();

protected:
    // What the kind tells the shared code.
    virtual std::string titleText() const = 0;     // caption without the selection prefix
    virtual bool initialised() const = 0;          // Alusta has run
    virtual bool darkBackground() const = 0;       // colour of a picture not drawn yet
    // The outer size of the window the user resized last, per kind.
    virtual void rememberKindSize(int32_t widthTwips, int32_t heightTwips) = 0;
    // Forgets the file of the last draw: the caption without a file
    // (NoFileTitle) and every result of the draw that the window shows or
    // hands to other windows and tools. The shared code clears the picture.
    virtual void forgetShownFile() = 0;
    // Quick feedback drawn over the picture (gates being drawn, handles).
    virtual void paintOverlay(QPainter& painter) { (void)painter; }

    WindowRecord* record();
    const WindowRecord* record() const;
    void updateCaption();
    // The widget whose size is the window's outer size (the MDI frame when
    // there is one).
    QWidget* outerWidget();
    const QWidget* outerWidget() const;
    // Alusta's size step: the kind's remembered size, or its first size
    // while both remembered values are 0.
    void placeAtStartSize(int32_t rememberedWidth, int32_t rememberedHeight, int32_t firstWidth,
                          int32_t firstHeight);
    void fitPictureToClient();
    // The end of Alusta: a new window shows the file loaded last, when that
    // slot holds one (LatauksenJalkeen, then Piirra).
    void showLastLoadedFile();
    // Whether this window's full draw is the one a resize postponed (its
    // draw then skips the follow-up work).
    bool fullDrawPostponed() const;
    // The end of every close: the workspace frame (with the window) is
    // hidden now and deleted once, when the program is idle again.
    void closeFrame();
    // Place, size and file for the settings lines.
    WindowFrameTwips frameTwips() const;
    // Carries out a place, size or file request of a settings line; false
    // for other kinds of request.
    bool applyFrameRequest(const WindowSettingRequest& request);
    // A file slot that holds no loaded file leaves the window without one;
    // a window without a file shows none (showNoFile).
    void dropFileNotLoaded();
    // The caption without a file, an empty picture and nothing drawn left
    // for other windows to read.
    void showNoFile();
    // The parameter list of an axis strip (axis 1 X, 2 Y) over the window's
    // file: the number (1-based) of the parameter chosen; nothing without a
    // file, when the list was dismissed (the last choice is kept for the
    // next list) or when the window was closed while the list was up.
    std::optional<int16_t> chooseAxisParameter(int axis, QPoint globalPos);
    // A channel number handed in by a tool: CInt of the text; a text that is
    // no number or does not fit raises WindowOperationError.
    static int16_t channelArgument(const std::string& value);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    QImage picture_;

private:
    // Set while resizeEvent draws: Qt can hand the window the same pending
    // resize again from inside that draw (a render of a hidden widget lays
    // out the whole top-level window), which would recurse without end.
    bool inResize_ = false;
};

// What every window kind does with its outer window (the workspace frame
// when there is one, OuterWindowOf) and its picture, file window or not.
// The start size of a new window: the kind's remembered outer size, or its
// first size while both remembered values are 0; `outer` is resized to it.
void ResizeToStartSize(QWidget& outer, int32_t rememberedWidth, int32_t rememberedHeight, int32_t firstWidth,
                       int32_t firstHeight);
// The caption of a file window without a file: "(" id "): " kind " - No File".
std::string NoFileTitle(int id, const std::string& kind);
// Place and size of the outer window in twips (no file).
WindowFrameTwips FrameTwipsOf(const QWidget& outer);
// Carries out a place or size request of a settings line, held to sane
// bounds; false for other requests.
bool ApplyPlaceRequest(QWidget& outer, const WindowSettingRequest& request);
// The picture to the clipboard, replacing what it held.
void CopyPictureToClipboard(const QImage& picture);
// "Save as .BMP...": the save dialog, the overwrite question, then the
// picture written whole or "Save error" with the old file kept.
void SavePictureAs(const QImage& picture);

}  // namespace qv
