#pragma once
// The well-plate browser ("Well plate browser"): the files of one folder
// shown as the 96 wells of a plate, rows A..H by columns 1..12. A well whose
// code occurs in a file name is drawn dark and holds that file; a double
// click on it loads the file into every selected analysis window. The plate
// shows the scan of the folder made when the window was last shown or the
// folder chosen; it is not refreshed while it is in view.
#include <QFont>
#include <QString>

#include <optional>
#include <string>
#include <utility>

#include "fileutils/UtilityWindow.h"
#include "fileutils/model/WellPlate.h"

namespace qv {

class FolderTree;

// The 96 well pictures, drawn as one widget.
class WellPlateView final : public QWidget {
    Q_OBJECT
public:
    explicit WellPlateView(QWidget* parent = nullptr);

    void setFullWells(const WellFiles& files);
    bool isFull(int well) const { return !files_[static_cast<size_t>(well)].empty(); }
    // The well under a point of the view, 0 outside every well.
    int wellAt(const QPoint& pos) const;
    // The centre of well w in the view's pixels.
    QPoint wellCentre(int well) const;
    static int wellPixels();
    // The radius of a well's circle in pixels.
    static double wellRadius();
    // The font of the well labels: the largest with which every label fits
    // inside its well's circle.
    QFont labelFont() const;
    // The ink of well w's label as drawn, centred in its circle, in the view's pixels.
    QRectF labelRect(int well) const;

signals:
    void wellDoubleClicked(int well);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    WellFiles files_{};
    // The label font found for the widget's font, so a paint measures no label.
    mutable std::optional<std::pair<QFont, QFont>> labelFontFor_;
};

class WellPlateBrowser final : public UtilityWindow {
    Q_OBJECT
public:
    explicit WellPlateBrowser(QWidget* parent = nullptr);

    FolderTree* folderTree() const { return dir1_; }
    WellPlateView* plate() const { return plate_; }
    // Full path of the file held by well 1..96, "" for an empty well.
    const std::string& WellFile(int well) const { return wellFile_[static_cast<size_t>(well)]; }

    // Scans the folder (ending with "/") and draws the plate anew.
    void scanFolder(const QString& folder);
    // Loads well w's file into the selected windows; an empty well does nothing.
    void loadWell(int well);

protected:
    void listFolder() override;

private:
    FolderTree* dir1_ = nullptr;
    WellPlateView* plate_ = nullptr;
    WellFiles wellFile_{};
};

}  // namespace qv
