#include "plots/modeller/model/CurveEditing.h"

#include <cmath>
#include <stdexcept>

#include "core/Numbers.h"

namespace qv {

namespace {

bool hits(const HandleCentre& h, double x, double y, double t) {
    return h.x - t < x && x < h.x + t && h.y - t < y && y < h.y + t;
}

// The curve a tool names, or the error to report.
GaussCurve* namedCurve(ModellerState& state, const std::string& curve, CurveCommandError& error) {
    const std::optional<double> v = ParseNumber(curve);
    if (!v) {
        error = CurveCommandError::NotANumber;
        return nullptr;
    }
    GaussCurve* c = std::fabs(*v) < 1.0e9 ? state.curve(CLng(*v)) : nullptr;
    error = c ? CurveCommandError::None : CurveCommandError::CurveOutOfRange;
    return c;
}

}  // namespace

bool GrabCurveHandle(ModellerState& s, const ModellerGeometry& geo, double x, double y, bool modifierHeld) {
    const double t = s.HandleSize;
    for (int k = 1; k <= s.MaxCurves; ++k) {
        const GaussCurve* c = s.curve(k);
        if (!c || !c->Active) continue;
        const auto handles = CurveHandles(*c, geo, s.HandleHeightDivisor);
        for (int h = 0; h < 4; ++h) {
            if (h == static_cast<int>(CurveHandle::Peak) && modifierHeld) continue;
            if (!hits(handles[static_cast<size_t>(h)], x, y, t)) continue;
            s.DraggedCurve = k;
            switch (static_cast<CurveHandle>(h)) {
            case CurveHandle::Peak: s.DragPeak = 1; break;
            case CurveHandle::PlateauEnd: s.DragPlateau = 1.0; break;
            case CurveHandle::LeftFlank: s.DragLeftFlank = 1.0; break;
            case CurveHandle::RightFlank: s.DragRightFlank = 1.0; break;
            }
            return true;
        }
    }
    return false;
}

void DragCurveHandle(ModellerState& s, const ModellerGeometry& geo, double x, double y) {
    GaussCurve* c = s.curve(s.DraggedCurve);
    if (!c) return;
    const double m = geo.m, Wp = geo.plotWidth(), Hp = geo.plotHeight(), R = geo.R;
    if (!(Wp > 0.0) || !(Hp > 0.0)) return;
    const bool xInside = m < x && x < geo.W - m;
    if (s.DragPeak == 1 && xInside) {
        c->Place = NearestInt32((x - m) / Wp * R);
        c->Height = (Hp - (y - m)) / Hp * R;
        if (c->Height < 1.0) c->Height = 1.0;
    }
    if (s.DragPlateau == 1.0 && xInside) {
        c->Plateau = (x - geo.px(c->Place)) / Wp * R;
        if (c->Plateau < 0.0) c->Plateau = 0.0;
    }
    if (s.DragLeftFlank == 1.0) {
        c->LeftDeviation = (geo.px(c->Place) - x) / Wp * R;
        if (c->LeftDeviation < 1.0) c->LeftDeviation = 1.0;
    }
    if (s.DragRightFlank == 1.0) {
        c->RightDeviation = (x - geo.px(c->Place + c->Plateau)) / Wp * R;
        if (c->RightDeviation < 1.0) c->RightDeviation = 1.0;
    }
}

int CreateCurveFromStrip(ModellerState& s) {
    for (int k = 1; k <= s.MaxCurves; ++k) {
        GaussCurve* c = s.curve(k);
        if (!c || c->Active) continue;
        s.DragPeak = 1;
        s.DraggedCurve = k;
        c->Active = true;
        c->Height = 1.0;
        c->Name = "Curve " + std::to_string(k);
        s.Dragging = false;
        return k;
    }
    return 0;
}

bool ReleaseCurve(ModellerState& s) {
    s.Dragging = false;
    if (s.DraggedCurve <= 0) return false;
    if (GaussCurve* c = s.curve(s.DraggedCurve); c && c->Height == 1.0) ResetRemovedCurve(*c, s.CurveResolution);
    s.DragLeftFlank = s.DragRightFlank = s.DragPlateau = 0.0;
    s.DraggedCurve = 0;
    s.DragPeak = 0;
    return true;
}

int ActivateFirstInactiveCurve(ModellerState& s) {
    for (int k = 1; k <= s.MaxCurves; ++k) {
        GaussCurve* c = s.curve(k);
        if (c && !c->Active) {
            c->Active = true;
            return k;
        }
    }
    return 0;
}

CurveCommandError SetCurveProperty(ModellerState& s, const std::string& what, const std::string& curve,
                                   const std::string& value) {
    CurveCommandError error;
    GaussCurve* c = namedCurve(s, curve, error);
    if (!c) return error;
    if (what == "nimi") {
        c->Name = value;
        return CurveCommandError::None;
    }
    const bool known = what == "korkeus" || what == "paikka" || what == "tasanne" || what == "hajontavasen" ||
                       what == "hajontaoikea";
    if (!known) return CurveCommandError::None;
    const std::optional<double> v = ParseNumber(value);
    if (!v) return CurveCommandError::NotANumber;
    const double bins = *v / 10000.0 * s.CurveResolution;
    if (what == "korkeus") {
        c->Height = bins;
    } else if (what == "paikka") {
        if (!(std::fabs(bins) < 2147483647.5)) return CurveCommandError::NotANumber;
        c->Place = CLng(bins);
    } else if (what == "tasanne") {
        c->Plateau = bins;
    } else if (what == "hajontavasen") {
        c->LeftDeviation = UsableDeviation(bins);
    } else {
        c->RightDeviation = UsableDeviation(bins);
    }
    return CurveCommandError::None;
}

CurveCommandError CreateOrRemoveCurve(ModellerState& s, const std::string& action, const std::string& curve,
                                      const std::string& name) {
    CurveCommandError error;
    GaussCurve* c = namedCurve(s, curve, error);
    if (!c) return error;
    if (action == "luo") {
        c->Active = true;
        c->Place = 100;
        c->Height = 100.0;
        c->Name = name;
    } else if (action == "poista") {
        ResetRemovedCurve(*c, s.CurveResolution);
    }
    return CurveCommandError::None;
}

std::optional<int32_t> CurveSumBinAt(const ModellerState& s, const std::string& pos) {
    const std::optional<double> v = ParseNumber(pos);
    if (!v) return std::nullopt;
    const double bin = Int(*v / 10000.0 * s.CurveResolution);
    if (!(bin >= 0.0) || bin >= static_cast<double>(s.CurveSum.size())) return std::nullopt;
    return static_cast<int32_t>(bin);
}

int32_t CurveSumHeightAt(const ModellerState& s, int32_t bin, double plotHeight) {
    if (bin < 0 || static_cast<size_t>(bin) >= s.CurveSum.size() || !(plotHeight > 0.0)) return 0;
    return NearestInt32(s.CurveSum[static_cast<size_t>(bin)] / plotHeight * 10000.0);
}

}  // namespace qv
