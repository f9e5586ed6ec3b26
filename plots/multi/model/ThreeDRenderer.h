#pragma once
// The 3-D plot's picture: the events of one file as dots inside the turned
// cube, coloured by population, hidden behind nearer dots by a per-pixel
// depth buffer and dimmed with depth on the dark background; the cube's
// edges, its corner labels and the axis names.
#include <QImage>

#include "core/FileRecord.h"
#include "plots/multi/model/ThreeDState.h"

namespace qv {

struct ThreeDDrawOptions {
    // The quick pass after a resize: about a thousand events.
    bool quickPass = false;
    // Painted into the bottom right corner in background-picture mode.
    const QImage* backgroundPicture = nullptr;
};

// Draws the file into `picture` (its size is kept) and updates the state the
// drawing owns: colours, axes fallen back into the file's parameters, the
// shown population, the picture size and ProjectedPoints.
void RenderThreeD(QImage& picture, ThreeDState& state, const FileRecord& file, const ThreeDDrawOptions& options);

// The event step of the quick pass and of a drag: about a thousand events.
int32_t CoarseThreeDStep(int32_t eventCount);

}  // namespace qv
