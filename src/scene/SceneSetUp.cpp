#include "scene/SceneSetUp.h"

#include "scene/BallCube.h"
#include "scene/SceneState.h"
#include "scene/SpinDriver.h"
#include "scene/TrigTables.h"
#include "settings/SaverSettings.h"
#include "shell/SaverFlags.h"

namespace {

constexpr double kStartDistance = 400.0;
constexpr double kAspect = 0.75;
constexpr std::int32_t kBitsPerPixel = 16;
constexpr std::int32_t kLogoWidth = 256;
constexpr std::int32_t kLogoHeight = 128;

}  // namespace

void SceneHost::ReadSettings(SaverSettings& settings) {
    LoadSettings(settings);
}

bool SetUpScene(SceneHost& host, SceneClock& clock) {
    host.ReadSettings(CurrentSettings);
    // All countdowns are still 0 here, so this draws nothing and leaves each at -1: the first
    // frame then draws all three speeds.
    UpdateSpin();
    BuildBallCube(CurrentSettings.BallsPerLine);
    FillTrigTables();

    std::int32_t width = 0;
    std::int32_t height = 0;
    host.ClientSize(width, height);
    clientWidth = width;
    clientHeight = height;
    projection.width = width;
    projection.height = height;
    projection.fov = CurrentSettings.FieldOfView;
    projection.aspect = kAspect;
    UpdateFocalLengths(projection);
    host.SetMode(width, height, kBitsPerPixel);
    screenCentre = MakePoint(width >> 1, height >> 1, kStartDistance, 0);

    host.SetWindowed(IsPreview != 0);
    host.Init();
    // The first visible picture is black, and the back buffer is black again for frame one.
    host.Clear();
    host.Present();
    host.Clear();

    host.AttachSprite(SceneSprite::Logo);
    host.AttachSprite(SceneSprite::Info);
    host.AttachSprite(SceneSprite::Ball0);
    host.AttachSprite(SceneSprite::Ball1);
    host.LoadSprite(SceneSprite::Ball0);
    host.LoadSprite(SceneSprite::Ball1);
    host.LoadSprite(SceneSprite::Logo);
    host.LoadSprite(SceneSprite::Info);

    // The logo's 256 x 128 image sits in the bottom-right corner; 64-bit arithmetic keeps an
    // absurd client size from overflowing.
    logoX = static_cast<std::int32_t>(std::int64_t{width} - kLogoWidth);
    logoY = static_cast<std::int32_t>(std::int64_t{height} - kLogoHeight);
    host.PlaceSprite(SceneSprite::Logo, logoX, logoY);
    host.PlaceSprite(SceneSprite::Info, 0, 0);

    centroid = Centroid(modelPoints, pointCount);

    // The clock starts once all loading is done.
    counterFrequency = clock.CounterFrequency();
    startCount = clock.CounterValue();
    return true;
}
