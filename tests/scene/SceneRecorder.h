#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "scene/Projection.h"
#include "scene/SceneSeams.h"
#include "scene/SceneState.h"
#include "scene/TrigTables.h"
#include "settings/SaverSettings.h"
#include "shell/SaverFlags.h"

using Log = std::vector<std::string>;

// A word and its numbers: "ball 1 460 240".
template <typename... Numbers>
std::string Entry(const char* word, Numbers... numbers) {
    std::string entry = word;
    ((entry += ' ' + std::to_string(numbers)), ...);
    return entry;
}

// Plays the window, the display, the sprites and the clock; every call becomes one log entry.
class Recorder final : public SceneHost, public FrameSink, public SceneClock {
  public:
    Log log;
    std::int32_t width = 640;
    std::int32_t height = 480;
    std::int64_t frequency = 1000;
    std::int64_t counter = 0;   // What the next CounterValue returns.
    bool keepSettings = false;  // Set-up uses the record in memory instead of the file.

    void ReadSettings(SaverSettings& settings) override {
        if (!keepSettings) {
            SceneHost::ReadSettings(settings);
        }
    }

    void ClientSize(std::int32_t& w, std::int32_t& h) override {
        log.push_back("size");
        w = width;
        h = height;
    }
    void SetMode(std::int32_t w, std::int32_t h, std::int32_t bits) override {
        log.push_back(Entry("mode", w, h, bits));
    }
    void SetWindowed(bool windowed) override { log.push_back(Entry("windowed", windowed)); }
    void Init() override { log.push_back("init"); }
    void Clear() override { log.push_back("clear"); }
    void Present() override { log.push_back("present"); }
    void AttachSprite(SceneSprite s) override { log.push_back(Entry("attach", int(s))); }
    void LoadSprite(SceneSprite s) override { log.push_back(Entry("load", int(s))); }
    void PlaceSprite(SceneSprite s, std::int32_t x, std::int32_t y) override {
        log.push_back(Entry("place", int(s), x, y));
    }
    std::int64_t CounterFrequency() override {
        log.push_back("frequency");
        return frequency;
    }
    std::int64_t CounterValue() override {
        log.push_back("counter");
        return counter;
    }
    void CopyPrimaryToBack() override { log.push_back("copy"); }
    void DrawBall(std::int32_t sprite, std::int32_t x, std::int32_t y) override {
        log.push_back(Entry("ball", sprite, x, y));
    }
    void DrawLogo(std::int32_t x, std::int32_t y) override { log.push_back(Entry("logo", x, y)); }
    void DrawPanel() override { log.push_back("panel"); }
    void WriteText(std::int32_t x, std::int32_t y, const char* text, std::int32_t n) override {
        log.push_back(Entry("text", x, y) + ' ' + std::string(text, static_cast<std::size_t>(n)));
    }

    // The entries of one kind, such as "ball".
    Log Only(std::string_view word) const {
        Log found;
        for (const std::string& e : log) {
            if (e.starts_with(word) && (e.size() == word.size() || e[word.size()] == ' ')) {
                found.push_back(e);
            }
        }
        return found;
    }
};

// Back to a freshly started process, with the default settings in memory.
inline void ResetScene() {
    ReleaseScenePoints();
    centroid = screenCentre = {};
    projection = {};
    std::fill_n(sinTable, kTrigTableSize, 0.0);  // Set-up fills them.
    std::fill_n(cosTable, kTrigTableSize, 0.0);
    for (int axis = 0; axis < kSpinAxes; ++axis) {
        spinCountdown[axis] = spinSpeed[axis] = spinAngle[axis] = 0;
    }
    counterFrequency = startCount = shownValue = 0;
    zIncreasing = false;
    frameCount = 0;
    clientWidth = clientHeight = logoX = logoY = IsPreview = 0;
    CurrentSettings = {1, 1, 1, {}, 40.0, 9, {}};
}

// Keeps every angle where it is: speeds 0, no new draw for a long time.
inline void HoldSpin() {
    for (int axis = 0; axis < kSpinAxes; ++axis) {
        spinCountdown[axis] = 1000000;
        spinSpeed[axis] = spinAngle[axis] = 0;
    }
}
