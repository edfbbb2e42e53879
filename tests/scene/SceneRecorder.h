#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "scene/Projection.h"
#include "scene/SceneSeams.h"
#include "scene/SceneState.h"
#include "scene/TrigTables.h"
#include "settings/SaverSettings.h"
#include "shell/SaverFlags.h"

// Test doubles for the scene's platform seams: every call becomes one recorded request.

enum class Call {
    ClientSize,
    SetMode,
    SetWindowed,
    Init,
    Clear,
    Present,
    AttachSprite,
    LoadSprite,
    PlaceSprite,
    CounterFrequency,
    CounterValue,
    CopyPrimaryToBack,
    DrawBall,
    DrawLogo,
    DrawPanel,
    WriteText
};

struct Request {
    Request(Call called, std::int32_t first = 0, std::int32_t second = 0, std::int32_t third = 0,
            std::string written = {})
        : call(called), a(first), b(second), c(third), text(std::move(written)) {}

    Call call;
    std::int32_t a;  // Sprite, width or x, depending on the call.
    std::int32_t b;
    std::int32_t c;
    std::string text;

    bool operator==(const Request&) const = default;
};

inline std::int32_t SpriteNumber(SceneSprite sprite) {
    return static_cast<std::int32_t>(sprite);
}

// One recorder plays the window, the display, the sprites and the clock.
class Recorder final : public SceneHost, public FrameSink, public SceneClock {
  public:
    std::vector<Request> requests;
    std::int32_t clientWidth = 640;
    std::int32_t clientHeight = 480;
    std::int64_t frequency = 1000;
    std::int64_t counter = 0;  // What the next CounterValue returns.

    void ClientSize(std::int32_t& width, std::int32_t& height) override {
        Log({Call::ClientSize});
        width = clientWidth;
        height = clientHeight;
    }
    void SetMode(std::int32_t width, std::int32_t height, std::int32_t bits) override {
        Log({Call::SetMode, width, height, bits});
    }
    void SetWindowed(bool windowed) override { Log({Call::SetWindowed, windowed ? 1 : 0}); }
    void Init() override { Log({Call::Init}); }
    void Clear() override { Log({Call::Clear}); }
    void Present() override { Log({Call::Present}); }
    void AttachSprite(SceneSprite sprite) override {
        Log({Call::AttachSprite, SpriteNumber(sprite)});
    }
    void LoadSprite(SceneSprite sprite) override { Log({Call::LoadSprite, SpriteNumber(sprite)}); }
    void PlaceSprite(SceneSprite sprite, std::int32_t x, std::int32_t y) override {
        Log({Call::PlaceSprite, SpriteNumber(sprite), x, y});
    }
    std::int64_t CounterFrequency() override {
        Log({Call::CounterFrequency});
        return frequency;
    }
    std::int64_t CounterValue() override {
        Log({Call::CounterValue});
        return counter;
    }
    void CopyPrimaryToBack() override { Log({Call::CopyPrimaryToBack}); }
    void DrawBall(std::int32_t sprite, std::int32_t x, std::int32_t y) override {
        Log({Call::DrawBall, sprite, x, y});
    }
    void DrawLogo(std::int32_t x, std::int32_t y) override { Log({Call::DrawLogo, x, y}); }
    void DrawPanel() override { Log({Call::DrawPanel}); }
    void WriteText(std::int32_t x, std::int32_t y, const char* text, std::int32_t length) override {
        Log({Call::WriteText, x, y, 0, std::string(text, static_cast<std::size_t>(length))});
    }

    std::vector<Request> Only(Call call) const {
        std::vector<Request> found;
        for (const Request& r : requests) {
            if (r.call == call) {
                found.push_back(r);
            }
        }
        return found;
    }
    std::vector<Call> Calls() const {
        std::vector<Call> calls;
        for (const Request& r : requests) {
            calls.push_back(r.call);
        }
        return calls;
    }

  private:
    void Log(Request request) { requests.push_back(std::move(request)); }
};

// Back to the state of a freshly started process, with the default settings in memory.
inline void ResetScene() {
    ReleaseScenePoints();
    centroid = screenCentre = {};
    projection = {};
    for (int axis = 0; axis < kSpinAxes; ++axis) {
        spinCountdown[axis] = spinSpeed[axis] = spinAngle[axis] = 0;
    }
    counterFrequency = startCount = shownValue = 0;
    zIncreasing = false;
    frameCount = 0;
    clientWidth = clientHeight = logoX = logoY = IsPreview = 0;
    CurrentSettings = {1, 1, 1, {}, 40.0, 9, {}};
}

// Keeps every angle where it is for the next frames: speeds 0, no new draw for a long time.
inline void HoldSpin() {
    for (int axis = 0; axis < kSpinAxes; ++axis) {
        spinCountdown[axis] = 1000000;
        spinSpeed[axis] = spinAngle[axis] = 0;
    }
}

// A still 640 x 480 scene at 40 degrees with the camera at 400, the logo in its corner and a
// millisecond clock started at 0; no balls yet.
inline void SetUpStillScene() {
    ResetScene();
    FillTrigTables();
    HoldSpin();
    clientWidth = 640;
    clientHeight = 480;
    projection = {0.0, 0.0, 640.0, 480.0, 40.0, 0.75};
    UpdateFocalLengths(projection);
    screenCentre = MakePoint(320.0, 240.0, 400.0, 0);
    logoX = 384;
    logoY = 352;
    counterFrequency = 1000;
}
