#include "x11/Options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "scene/BallCube.h"

namespace {

enum class Takes { Nothing, Value };

// Every option in one place: its name, whether a value follows, what it does and its line in
// the usage. An action returns false when the value is not acceptable.
struct OptionEntry {
    const char* name;
    Takes takes;
    const char* usage;
    bool (*apply)(SaverOptions& options, const char* value);
};

bool ParseInteger(const char* text, std::int64_t low, std::int64_t high, std::int64_t& value) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

// A window id in decimal or with 0x in hexadecimal, as xwininfo prints it; never 0.
bool ParseWindowId(const char* text, std::uint64_t& id) {
    if (text == nullptr || *text == '\0' || *text == '-' || *text == '+') {
        return false;
    }
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(hex ? text + 2 : text, &end, hex ? 16 : 10);
    // X ids have 29 bits.
    if (errno != 0 || *end != '\0' || end == text + (hex ? 2 : 0) || parsed == 0 ||
        parsed > 0x1FFFFFFF) {
        return false;
    }
    id = parsed;
    return true;
}

bool SetFlag(std::uint8_t& field, std::uint8_t value) {
    field = value;
    return true;
}

constexpr OptionEntry kOptions[] = {
    {"-root", Takes::Nothing, "draw on the root window",
     [](SaverOptions& o, const char*) { return o.target = DrawTarget::Root, true; }},
    {"-window", Takes::Nothing, "draw in a window of its own (the default)",
     [](SaverOptions& o, const char*) { return o.target = DrawTarget::OwnWindow, true; }},
    {"-window-id", Takes::Value, "ID  draw into the window ID (decimal or 0x-hexadecimal)",
     [](SaverOptions& o, const char* v) {
         o.target = DrawTarget::WindowId;
         return ParseWindowId(v, o.windowId);
     }},
    {"-display", Takes::Value, "NAME  the X display to use",
     [](SaverOptions& o, const char* v) { return o.displayName = v, true; }},
    {"-delay", Takes::Value, "MICROSECONDS  pause between frames (default 20000)",
     [](SaverOptions& o, const char* v) {
         return ParseInteger(v, 0, 10000000, o.delayMicroseconds);
     }},
    {"-fps", Takes::Nothing, "show the panel with the frame rate",
     [](SaverOptions& o, const char*) { return SetFlag(o.settings.DisplayInformations, 1); }},
    {"-balls", Takes::Value, "N  balls along each edge of the cube, 1 to 100 (default 9)",
     [](SaverOptions& o, const char* v) {
         std::int64_t n = 0;
         const bool ok = ParseInteger(v, 1, kMaxBallsPerLine, n);
         o.settings.BallsPerLine = static_cast<std::int32_t>(n);
         return ok;
     }},
    {"-fov", Takes::Value, "DEGREES  field of view, above 0 and below 180 (default 40)",
     [](SaverOptions& o, const char* v) {
         char* end = nullptr;
         const double degrees = std::strtod(v, &end);
         o.settings.FieldOfView = degrees;
         return *v != '\0' && *end == '\0' && degrees > 0.0 && degrees < 180.0;
     }},
    {"-trails", Takes::Nothing, "leave the previous frame under the new one",
     [](SaverOptions& o, const char*) { return SetFlag(o.settings.ClearScreen, 0); }},
    {"-no-trails", Takes::Nothing, "start every frame from black (the default)",
     [](SaverOptions& o, const char*) { return SetFlag(o.settings.ClearScreen, 1); }},
    {"-info", Takes::Nothing, "show the panel with the frame rate (the default)",
     [](SaverOptions& o, const char*) { return SetFlag(o.settings.DisplayInformations, 1); }},
    {"-no-info", Takes::Nothing, "hide the panel",
     [](SaverOptions& o, const char*) { return SetFlag(o.settings.DisplayInformations, 0); }},
    {"-zoom", Takes::Nothing, "move the cube back and forth (the default)",
     [](SaverOptions& o, const char*) { return SetFlag(o.settings.IncZPos, 1); }},
    {"-no-zoom", Takes::Nothing, "keep the cube at one distance",
     [](SaverOptions& o, const char*) { return SetFlag(o.settings.IncZPos, 0); }},
    {"-settings", Takes::Value, "FILE  read a 24-byte ZemlarConf.cfg; later options override it",
     [](SaverOptions& o, const char* v) {
         // Read as the Windows saver reads its file: without it, the defaults.
         static_cast<void>(LoadSettingsFrom(v, o.settings));
         return true;
     }},
    {"-help", Takes::Nothing, "show this text",
     [](SaverOptions& o, const char*) { return o.help = true, true; }},
};

const OptionEntry* Find(const char* argument) {
    // Both -option and --option, as X programs accept.
    if (argument[0] == '-' && argument[1] == '-') {
        ++argument;
    }
    for (const OptionEntry& entry : kOptions) {
        if (std::strcmp(entry.name, argument) == 0) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace

std::string ParseOptions(int count, const char* const* arguments, const char* environmentWindow,
                         SaverOptions& options) {
    ApplyDefaultSettings(options.settings);
    for (int i = 0; i < count; ++i) {
        const char* argument = arguments[i];
        const OptionEntry* entry = Find(argument);
        if (entry == nullptr) {
            return std::string("unknown option ") + argument;
        }
        const char* value = "";
        if (entry->takes == Takes::Value) {
            if (i + 1 >= count) {
                return std::string(entry->name) + " needs a value";
            }
            value = arguments[++i];
        }
        if (!entry->apply(options, value)) {
            return std::string("bad value for ") + entry->name + ": " + value;
        }
    }
    if (environmentWindow != nullptr && *environmentWindow != '\0') {
        options.target = DrawTarget::WindowId;
        if (!ParseWindowId(environmentWindow, options.windowId)) {
            return std::string("bad window id in XSCREENSAVER_WINDOW: ") + environmentWindow;
        }
    }
    return {};
}

std::string Usage(const char* program) {
    std::string text = std::string("usage: ") + program + " [options]\n";
    for (const OptionEntry& entry : kOptions) {
        const bool hasValue = entry.takes == Takes::Value;
        const char* valueEnd = hasValue ? std::strstr(entry.usage, "  ") : nullptr;
        std::string left = entry.name;
        const char* description = entry.usage;
        if (valueEnd != nullptr) {
            left += ' ';
            left.append(entry.usage, valueEnd);
            description = valueEnd + 2;
        }
        left.resize(left.size() < 26 ? 26 : left.size() + 1, ' ');
        text += "  " + left + description + "\n";
    }
    text += "XSCREENSAVER_WINDOW, when set, names the window to draw into.\n";
    return text;
}
