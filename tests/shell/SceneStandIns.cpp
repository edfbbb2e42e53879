#include "SceneStandIns.h"

#include <cstddef>
#include <cstdint>

#include "present/Display.h"
#include "present/Sprite.h"
#include "scene/SceneWindow.h"

namespace standins {

std::vector<std::string> Events;
std::function<void()> OnReleaseScenePoints;

namespace {

constexpr DWORD kScriptDeadlineMs = 20000;

std::vector<Step> Script;
std::size_t NextStep;
DWORD ScriptStart;
int Frames;

}  // namespace

void SetScript(std::vector<Step> steps) {
    Script = std::move(steps);
    NextStep = 0;
    ScriptStart = GetTickCount();
}

void Reset() {
    Events.clear();
    Script.clear();
    NextStep = 0;
    Frames = 0;
    OnReleaseScenePoints = nullptr;
}

std::vector<std::string> EventsStartingWith(const std::string& prefix) {
    std::vector<std::string> matching;
    for (const std::string& event : Events) {
        if (event.rfind(prefix, 0) == 0) {
            matching.push_back(event);
        }
    }
    return matching;
}

int FrameCount() {
    return Frames;
}

namespace {

void RunScript() {
    if (sceneWindow == nullptr) {
        return;
    }
    if (GetTickCount() - ScriptStart > kScriptDeadlineMs) {
        Events.push_back("timed out");
        Script.clear();
        NextStep = 0;
        DestroyWindow(sceneWindow);
        return;
    }
    if (NextStep < Script.size() && Script[NextStep](sceneWindow)) {
        ++NextStep;
    }
}

std::string SpriteName(const Sprite* sprite) {
    if (sprite == &ballSprites[0]) {
        return "ballSprites[0]";
    }
    if (sprite == &ballSprites[1]) {
        return "ballSprites[1]";
    }
    if (sprite == &logoSprite) {
        return "logoSprite";
    }
    return sprite == &infoSprite ? "infoSprite" : "another sprite";
}

}  // namespace

}  // namespace standins

HWND sceneWindow;

bool SetUpScene(HWND window) {
    sceneWindow = window;
    standins::Events.push_back("SetUpScene");
    return true;
}

void RenderFrame() {
    ++standins::Frames;
}

void RenderIdleFrame() {
    standins::RunScript();
}

void ReleaseScenePoints() {
    standins::Events.push_back("release scene points");
    if (standins::OnReleaseScenePoints) {
        standins::OnReleaseScenePoints();
    }
    sceneWindow = nullptr;
}

Display::Display()
    : width(0),
      height(0),
      bitsPerPixel(0),
      directDraw(nullptr),
      backSurface(nullptr),
      windowed(false),
      presentEnabled(false),
      window(nullptr),
      primarySurface(nullptr),
      screenRect{},
      clientRect{} {}

Display::~Display() = default;

void Display::Clear() {
    standins::Events.push_back("display clear");
}

void Display::UpdateRects() {
    standins::Events.push_back("display update rects");
}

void Display::Release() {
    standins::Events.push_back("release display");
}

Sprite::Sprite(Display* owner)
    : x(0), y(0), lastColumn(0), lastRow(0), surface(nullptr), display(owner), sourceRect{} {}

Sprite::~Sprite() = default;

void Sprite::Release() {
    standins::Events.push_back("release " + standins::SpriteName(this));
}

Display display;
Sprite ballSprites[2];
Sprite logoSprite;
Sprite infoSprite;
