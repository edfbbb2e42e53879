// Arbitrary bytes (at most 64) as the settings file "ZemlarConf.cfg" in a private working
// directory, loaded into a zero-filled record as at process start, then the scene set-up and a
// few frames on a 640 x 480 full screen and on a 152 x 112 preview, recorded by the scene's
// test doubles. Nothing may crash or be undefined (the sanitizers watch), the cube must stay
// within its cap, and every frame must hand over a well-formed sequence of requests.
//
// The loader ignores bytes past the 24 of the record; the target reads them as the random seed
// and the clock (frequency and ticks per frame), so the search reaches every spin angle and
// every corner of the frame-rate and logo arithmetic too.

#include <sanitizer/allocator_interface.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "scene/BallCube.h"
#include "scene/FrameRender.h"
#include "scene/Random.h"
#include "scene/SceneSetUp.h"
#include "scene/SceneState.h"
#include "settings/SaverSettings.h"
#include "shell/SaverFlags.h"
#include "tests/scene/SceneRecorder.h"

namespace {

constexpr std::size_t kMaxFileBytes = 64;
constexpr int kFramesPerArea = 3;

struct Area {
    std::int32_t width;
    std::int32_t height;
    bool preview;
};
constexpr std::array<Area, 2> kAreas{{{640, 480, false}, {152, 112, true}}};

// Where the target finds its extra inputs among the bytes that the loader ignores, and what it
// uses when the file is too short to hold them.
constexpr std::size_t kSeedOffset = 24;
constexpr std::size_t kFrequencyOffset = 28;
constexpr std::size_t kTicksOffset = 36;
constexpr std::uint32_t kDefaultSeed = 0x5EED;
constexpr std::int64_t kDefaultFrequency = 1000;
constexpr std::int64_t kDefaultTicksPerFrame = 5500;  // The logo starts to move in frame two.

constexpr std::int64_t kMaxPoints =
    std::int64_t{kMaxBallsPerLine} * kMaxBallsPerLine * kMaxBallsPerLine;
// Both point arrays of the largest cube, and room for the recorder's few set-up requests.
constexpr std::size_t kSetUpHeapLimit =
    2 * static_cast<std::size_t>(kMaxPoints) * sizeof(Point4) + (std::size_t{1} << 16);

constexpr std::int32_t kLogoHeight = 128;
constexpr std::int32_t kTextX = 95;
constexpr std::int32_t kTextY = 32;
constexpr double kNearestDrawnDepth = 1.0;

// A frame's cost grows with the cube, up to seconds for the largest under the sanitizers.
// ZEMLAR_FUZZ_BALLS_PER_LINE_LIMIT makes a run skip files whose cube would have more balls per
// line, so that it spends its time on everything else; counts above the scene's cap build no
// cube and always run. The default limit lets every cube through.
std::int32_t ballsPerLineLimit = INT32_MAX;

// The ball count that loading this file into a zero-filled record gives: a short file supplies
// only the low bytes.
std::int32_t BallsPerLineOf(const std::uint8_t* data, std::size_t size) {
    SaverSettings record{};
    if (size > 0) {
        std::memcpy(&record, data, std::min(size, sizeof record));
    }
    return record.BallsPerLine;
}

std::filesystem::path startDirectory;
std::filesystem::path workDirectory;

template <typename T>
T Read(const std::uint8_t* data, std::size_t size, std::size_t offset, T fallback) {
    if (size < offset + sizeof(T)) {
        return fallback;
    }
    T value;
    std::memcpy(&value, data + offset, sizeof value);
    return value;
}

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "settings through frames: %s\n", what);
        std::abort();
    }
}

void WriteSettingsFile(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(kSettingsFileName, "wb");
    Require(file != nullptr, "cannot write the settings file");
    Require(size == 0 || std::fwrite(data, size, 1, file) == 1, "short write");
    Require(std::fclose(file) == 0, "cannot close the settings file");
}

// Back to a freshly started process: scene state zero, no arrays, the settings record all zero.
void ResetProcess(std::uint32_t seed) {
    ResetScene();
    CurrentSettings = {};
    SeedRandom(seed);
}

std::int32_t ExpectedPointCount(std::int32_t n) {
    return n > 0 && n <= kMaxBallsPerLine ? n * n * n : 0;
}

// The depth order of the frame just computed: far to near over all points.
bool SortedFarToNear() {
    for (std::int32_t i = 1; i < pointCount; ++i) {
        if (viewPoints[i - 1].z < viewPoints[i].z) {
            return false;
        }
    }
    return true;
}

// A coordinate can be drawn when its truncation toward zero is a 32-bit int.
bool HasIntPosition(double coordinate) {
    const double truncated = std::trunc(coordinate);
    return std::isfinite(coordinate) && truncated >= -2147483648.0 && truncated <= 2147483647.0;
}

bool IsDecimal(const std::string& text) {
    const std::size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == digits || text.size() > 20) {
        return false;
    }
    for (std::size_t i = digits; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return true;
}

// The requests of one frame, in order: one background, the balls, at most one logo, the panel
// and its text when shown, one present. Each ball is the next drawable view point in depth
// order, at its position truncated to an int.
void CheckFrame(const std::vector<Request>& requests, const Area& area) {
    std::size_t next = 0;
    const auto at = [&](Call call) {
        return next < requests.size() && requests[next].call == call;
    };

    const Call background =
        CurrentSettings.ClearScreen != 0 ? Call::Clear : Call::CopyPrimaryToBack;
    Require(at(background), "the frame does not start with its background");
    ++next;

    Require(SortedFarToNear(), "view points not sorted far to near");
    for (std::int32_t i = 0; i < pointCount; ++i) {
        const Point4& p = viewPoints[i];
        Require(p.sprite == 0 || p.sprite == 1, "a ball image other than 0 or 1");
        const bool drawable =
            p.z > kNearestDrawnDepth && HasIntPosition(p.x) && HasIntPosition(p.y);
        if (!drawable) {
            continue;
        }
        Require(at(Call::DrawBall), "a drawable ball was not drawn");
        const Request& ball = requests[next++];
        Require(ball.a == p.sprite, "a ball drawn with another image");
        Require(ball.b == static_cast<std::int32_t>(std::trunc(p.x)) &&
                    ball.c == static_cast<std::int32_t>(std::trunc(p.y)),
                "a ball drawn away from its point");
    }
    Require(!at(Call::DrawBall), "a ball drawn that is not drawable");

    if (at(Call::DrawLogo)) {
        const Request& logo = requests[next++];
        Require(logo.a == logoX && logo.b == area.height - kLogoHeight, "the logo out of place");
    }
    if (!area.preview && CurrentSettings.DisplayInformations != 0) {
        Require(at(Call::DrawPanel), "the panel is missing");
        ++next;
        Require(at(Call::WriteText), "the frame rate is missing");
        const Request& text = requests[next++];
        Require(text.a == kTextX && text.b == kTextY && IsDecimal(text.text),
                "the frame rate is not a decimal at its place");
    }
    Require(at(Call::Present), "the frame does not end with its present");
    Require(next + 1 == requests.size(), "requests after the present");
}

void RunArea(const Area& area, std::uint32_t seed, std::int64_t frequency,
             std::int64_t ticksPerFrame) {
    ResetProcess(seed);
    IsPreview = area.preview ? 1 : 0;

    Recorder recorder;
    recorder.clientWidth = area.width;
    recorder.clientHeight = area.height;
    recorder.frequency = frequency;
    recorder.counter = 0;

    const std::size_t heapBefore = __sanitizer_get_current_allocated_bytes();
    Require(SetUpScene(recorder, recorder), "set-up reported failure");
    Require(__sanitizer_get_current_allocated_bytes() - heapBefore <= kSetUpHeapLimit,
            "set-up took more memory than the largest cube needs");

    Require(pointCount == ExpectedPointCount(CurrentSettings.BallsPerLine),
            "the cube is not the size its settings and the cap allow");
    Require((pointCount == 0) == (modelPoints == nullptr) &&
                (pointCount == 0) == (viewPoints == nullptr),
            "point arrays and point count disagree");

    // Make room once so that recording a frame does not grow the log.
    recorder.requests.reserve(static_cast<std::size_t>(pointCount) + 8);
    for (int frame = 0; frame < kFramesPerArea; ++frame) {
        recorder.requests.clear();
        recorder.counter = static_cast<std::int64_t>(static_cast<std::uint64_t>(recorder.counter) +
                                                     static_cast<std::uint64_t>(ticksPerFrame));
        RenderFrame(recorder, recorder);

        // Only what the frame hands to the display and the sprites; the clock reads go.
        std::erase_if(recorder.requests, [](const Request& request) {
            return request.call == Call::CounterValue || request.call == Call::CounterFrequency;
        });
        CheckFrame(recorder.requests, area);
    }
    ReleaseScenePoints();
}

void RemoveWorkDirectory() {
    std::error_code error;
    std::filesystem::remove_all(workDirectory, error);
}

bool NamesArtifactPlace(std::string_view argument) {
    return argument.starts_with("-artifact_prefix=") ||
           argument.starts_with("-exact_artifact_path=");
}

// Keeps the fuzzer's own files where it was started. The runs change into the private
// directory, and a crash report is written from inside a run, so its default place ("./")
// must be made absolute before the fuzzer reads its flags.
void DefaultArtifactsToStartDirectory(int& argc, char**& argv) {
    for (int i = 1; i < argc; ++i) {
        if (NamesArtifactPlace(argv[i])) {
            return;
        }
    }
    static std::string prefix = "-artifact_prefix=" + startDirectory.string() + "/";
    static std::vector<char*> arguments;
    arguments.assign(argv, argv + argc);
    arguments.push_back(prefix.data());
    arguments.push_back(nullptr);
    argc = static_cast<int>(arguments.size()) - 1;
    argv = arguments.data();
}

// Runs with the private directory as the working directory, where the loader looks for the
// file; the fuzzer itself reads and writes its corpus between runs, relative to where it began.
class InWorkDirectory {
  public:
    InWorkDirectory() { std::filesystem::current_path(workDirectory); }
    ~InWorkDirectory() { std::filesystem::current_path(startDirectory); }
    InWorkDirectory(const InWorkDirectory&) = delete;
    InWorkDirectory& operator=(const InWorkDirectory&) = delete;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    startDirectory = std::filesystem::current_path();
    if (const char* limit = std::getenv("ZEMLAR_FUZZ_BALLS_PER_LINE_LIMIT")) {
        ballsPerLineLimit = static_cast<std::int32_t>(std::strtol(limit, nullptr, 10));
    }
    // A directory of this process's own, so that parallel fuzzing jobs never share the file.
    std::string pattern = (std::filesystem::temp_directory_path() / "zemlar-fuzz-XXXXXX").string();
    Require(mkdtemp(pattern.data()) != nullptr, "cannot create a working directory");
    workDirectory = pattern;
    std::atexit(RemoveWorkDirectory);
    DefaultArtifactsToStartDirectory(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kMaxFileBytes) {
        return -1;  // Not a settings file this target considers; keeps it out of the corpus.
    }
    const std::int32_t ballsPerLine = BallsPerLineOf(data, size);
    if (ballsPerLine > ballsPerLineLimit && ballsPerLine <= kMaxBallsPerLine) {
        return -1;  // A cube above the limit of a fast run (see ballsPerLineLimit).
    }
    const InWorkDirectory inWorkDirectory;
    WriteSettingsFile(data, size);
    const auto seed = Read<std::uint32_t>(data, size, kSeedOffset, kDefaultSeed);
    const auto frequency = Read<std::int64_t>(data, size, kFrequencyOffset, kDefaultFrequency);
    const auto ticks = Read<std::int64_t>(data, size, kTicksOffset, kDefaultTicksPerFrame);
    for (const Area& area : kAreas) {
        RunArea(area, seed, frequency, ticks);
    }
    return 0;
}
