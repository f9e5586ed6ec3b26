#pragma once
// The projector: the scatter display with a red line through a handle,
// turned to an angle of -90..90 degrees by dragging and moved by its handle.
// "Make projection" turns every event's position along the line into a new
// parameter of the shown file. The window is always square.
#include <QColor>

#include "plots/timeproj/ScatterDisplayWindow.h"

namespace qv {

// Registers the "Projector" window kind with the window registry.
void registerProjectorKind();

// Pop-up items of the projector (1-based).
enum ProjectorMenuItem : int {
    ProjectorMakeProjection = 1,
    ProjectorSetAngle = 2,
    ProjectorDensity = 4,
    ProjectorLineColour = 5,
    ProjectorMulticolor = 7,
    ProjectorCopyImage = 9,
    ProjectorSavePicture = 10,
    ProjectorBackground = 12,
    ProjectorDotSize = 13,
    ProjectorFastDraw = 14,
    ProjectorPrintPage = 16,
};

class Projector : public ScatterDisplayWindow {
    Q_OBJECT
public:
    explicit Projector(QWidget* parent = nullptr);
    ~Projector() override;

    void Alusta(int id) override;

    int16_t angle() const { return Angle; }
    QColor lineColour() const { return QColor(LineColorRed, LineColorGreen, LineColorBlue); }
    QPoint lineCentre() const { return QPoint(LineCenterX, LineCenterY); }
    bool rotatingLine() const { return RotatingLine; }
    bool movingLine() const { return MovingLine; }

protected:
    const char* kindTitle() const override { return "Projector"; }
    void drawOwnLayer(QImage& picture, const FileRecord& file, bool quickPass) override;
    bool ownMenuItem(int index) override;
    void appendOwnSettingsLines(std::vector<std::string>& lines) const override;
    void applyOwnSettingsLine(const std::string& key, const std::string& value) override;
    // While the line is dragged it is drawn over the unchanged plot.
    void paintOverlay(QPainter& painter) override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void makeProjection();
    void setAngle();
    void setLineColour();
    void drawLine(QPainter& painter) const;

    int16_t Angle = 20;  // degrees, -90..90
    uint8_t LineColorRed = 255, LineColorGreen = 0, LineColorBlue = 0;  // colours the handle only
    int32_t LineCenterX = 0, LineCenterY = 0;
    int32_t LastPictureWidth = 0, LastPictureHeight = 0;
    bool RotatingLine = false, MovingLine = false;
    int32_t DragStartY = 0;
    // Set while the window squares itself, so that resize does not recurse.
    bool squaring_ = false;
};

}  // namespace qv
