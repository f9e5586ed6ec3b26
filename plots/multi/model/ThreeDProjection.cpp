#include "plots/multi/model/ThreeDProjection.h"

namespace qv {

ThreeDProjector::ThreeDProjector(const ThreeDView& view)
    : sx_(std::sin(DegreesToRadians(view.RotateX))),
      cx_(std::cos(DegreesToRadians(view.RotateX))),
      sy_(std::sin(DegreesToRadians(view.RotateY))),
      cy_(std::cos(DegreesToRadians(view.RotateY))),
      sz_(std::sin(DegreesToRadians(view.RotateZ))),
      cz_(std::cos(DegreesToRadians(view.RotateZ))),
      f_(view.PerspectiveFactor),
      d_(view.Distance),
      halfW_(view.PictureWidth / 2),
      halfH_(view.PictureHeight / 2) {}

}  // namespace qv
