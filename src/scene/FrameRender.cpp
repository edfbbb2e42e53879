#include "scene/FrameRender.h"

#include <charconv>
#include <cstdint>

#include "scene/DepthSort.h"
#include "scene/Matrix4.h"
#include "scene/SceneState.h"
#include "scene/SpinDriver.h"
#include "settings/SaverSettings.h"
#include "shell/SaverFlags.h"

namespace {

constexpr double kFarTurn = 1000.0;
constexpr double kNearTurn = 20.0;
constexpr double kDistanceStep = 1.0;
constexpr double kNearestDrawnDepth = 1.0;
constexpr std::int64_t kLogoTravel = 256;
constexpr std::int32_t kLogoStep = 2;
constexpr std::int64_t kLogoStaysSeconds = 10;
constexpr std::int32_t kTextX = 95;
constexpr std::int32_t kTextY = 32;

void StepCameraDistance() {
    if (CurrentSettings.IncZPos == 0) {
        return;
    }
    if (screenCentre.z > kFarTurn) {
        zIncreasing = false;
    }
    if (screenCentre.z < kNearTurn) {
        zIncreasing = true;
    }
    // The preview keeps still along the viewing axis, though the turns above still happen.
    if (IsPreview == 0) {
        screenCentre.z += zIncreasing ? kDistanceStep : -kDistanceStep;
    }
}

Matrix4 FrameRotation() {
    Matrix4 m;
    SetSpinRotation(m, spinAngle[0], spinAngle[1], spinAngle[2]);
    return m;
}

Point4 ViewPoint(const Point4& model, const Matrix4& rotation, double distance) {
    Point4 v = Subtract(model, centroid);
    v = Transform(v, rotation);
    v = Add(v, centroid);
    v.z = v.z + distance;
    // A depth of exactly 0 (or not a number) keeps the unprojected x and y. A negative depth
    // divides too, which mirrors the point; the cull after sorting decides whether it shows.
    if (v.z != 0.0 && v.z == v.z) {
        v.y = (projection.vFocal / v.z) * v.y;
        v.x = (projection.hFocal / v.z) * v.x;
    }
    // Adds the screen centre to x and y, and the distance to z a second time.
    return Add(v, screenCentre);
}

// Truncates toward zero into pixel, or returns false when the value is not a number or has no
// int counterpart; converting such a value would be undefined.
bool ToPixel(double value, std::int32_t& pixel) {
    constexpr double kBelowIntMin = -2147483649.0;
    constexpr double kAboveIntMax = 2147483648.0;
    if (!(value > kBelowIntMin && value < kAboveIntMax)) {
        return false;
    }
    pixel = static_cast<std::int32_t>(value);
    return true;
}

void DrawBalls(FrameSink& sink) {
    for (std::int32_t i = 0; i < pointCount; ++i) {
        const Point4& p = viewPoints[i];
        std::int32_t x = 0;
        std::int32_t y = 0;
        if (p.z > kNearestDrawnDepth && ToPixel(p.x, x) && ToPixel(p.y, y)) {
            sink.DrawBall(p.sprite, x, y);
        }
    }
}

// Whole seconds since set-up. Without a performance counter no time is known to pass: the
// value stays 0, so the logo stays and the rate reads 0.
std::int64_t ElapsedSeconds(SceneClock& clock) {
    if (counterFrequency <= 0) {
        return 0;
    }
    const std::int64_t now = clock.CounterValue();
    // The difference wraps instead of overflowing, whatever the counter returns.
    const auto ticks = static_cast<std::int64_t>(static_cast<std::uint64_t>(now) -
                                                 static_cast<std::uint64_t>(startCount));
    return ticks / counterFrequency;
}

void StepLogo(FrameSink& sink) {
    if (std::int64_t{logoX} >= std::int64_t{clientWidth} + kLogoTravel) {
        return;
    }
    if (shownValue > kLogoStaysSeconds) {
        logoX += kLogoStep;
    }
    sink.DrawLogo(logoX, logoY);
}

void DrawInformationPanel(FrameSink& sink) {
    if (IsPreview != 0 || CurrentSettings.DisplayInformations == 0) {
        return;
    }
    ++frameCount;
    sink.DrawPanel();
    // Frames per whole second; during the first second the value stays 0.
    if (shownValue != 0) {
        shownValue = static_cast<std::int64_t>(std::uint64_t{frameCount}) / shownValue;
    }
    char text[24];
    const std::to_chars_result formatted = std::to_chars(text, text + sizeof text, shownValue);
    sink.WriteText(kTextX, kTextY, text, static_cast<std::int32_t>(formatted.ptr - text));
}

}  // namespace

void RenderFrame(FrameSink& sink, SceneClock& clock) {
    StepCameraDistance();
    UpdateSpin();
    const Matrix4 rotation = FrameRotation();

    if (CurrentSettings.ClearScreen != 0) {
        sink.Clear();
    } else {
        sink.CopyPrimaryToBack();
    }

    const double distance = screenCentre.z;
    for (std::int32_t i = 0; i < pointCount; ++i) {
        viewPoints[i] = ViewPoint(modelPoints[i], rotation, distance);
    }
    SortByDepth(0, pointCount - 1, viewPoints);
    DrawBalls(sink);

    shownValue = ElapsedSeconds(clock);
    StepLogo(sink);
    DrawInformationPanel(sink);
    sink.Present();
}
