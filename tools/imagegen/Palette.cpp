#include "Palette.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <map>
#include <tuple>

namespace {

int Channel(Color8 colour, int channel) {
    return channel == 0 ? colour.r : (channel == 1 ? colour.g : colour.b);
}

int Largest(Color8 colour, Color8 key) {
    int best = 0;
    for (int channel = 0; channel < 3; ++channel) {
        best = std::max(best, std::abs(Channel(colour, channel) - Channel(key, channel)));
    }
    return best;
}

std::uint8_t ToByte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

// Weighted squared distance; green counts most, as the eye sees it.
int Distance(Color8 a, Color8 b) {
    const int dr = a.r - b.r;
    const int dg = a.g - b.g;
    const int db = a.b - b.b;
    return 2 * dr * dr + 4 * dg * dg + 3 * db * db;
}

struct Entry {
    Color8 colour;
    std::int64_t count;
};

bool ColourLess(Color8 a, Color8 b) {
    return std::tie(a.r, a.g, a.b) < std::tie(b.r, b.g, b.b);
}

Color8 Mean(const std::vector<Entry>& entries, std::size_t begin, std::size_t end) {
    std::int64_t sums[3] = {0, 0, 0};
    std::int64_t total = 0;
    for (std::size_t i = begin; i < end; ++i) {
        for (int channel = 0; channel < 3; ++channel) {
            sums[channel] += Channel(entries[i].colour, channel) * entries[i].count;
        }
        total += entries[i].count;
    }
    auto average = [&](int channel) {
        return ToByte(static_cast<int>((sums[channel] + total / 2) / total));
    };
    return {average(0), average(1), average(2)};
}

struct Box {
    std::size_t begin;
    std::size_t end;
};

// Longest channel range of a box and that channel.
std::pair<int, int> Spread(const std::vector<Entry>& entries, Box box) {
    int best = -1;
    int bestChannel = 0;
    for (int channel = 0; channel < 3; ++channel) {
        int low = 255;
        int high = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            low = std::min(low, Channel(entries[i].colour, channel));
            high = std::max(high, Channel(entries[i].colour, channel));
        }
        if (high - low > best) {
            best = high - low;
            bestChannel = channel;
        }
    }
    return {best, bestChannel};
}

std::vector<Color8> MedianCut(std::vector<Entry>& entries, std::size_t colours) {
    std::vector<Box> boxes{{0, entries.size()}};
    while (boxes.size() < colours) {
        // Split the box with the most pixels times spread: big smooth areas get more shades.
        std::size_t chosen = boxes.size();
        std::int64_t bestScore = 0;
        for (std::size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].end - boxes[b].begin < 2) {
                continue;
            }
            std::int64_t pixels = 0;
            for (std::size_t i = boxes[b].begin; i < boxes[b].end; ++i) {
                pixels += entries[i].count;
            }
            const std::int64_t score = pixels * Spread(entries, boxes[b]).first;
            if (score > bestScore) {
                bestScore = score;
                chosen = b;
            }
        }
        if (chosen == boxes.size()) {
            break;
        }
        const Box box = boxes[chosen];
        const int channel = Spread(entries, box).second;
        const auto first = entries.begin() + static_cast<std::ptrdiff_t>(box.begin);
        const auto last = entries.begin() + static_cast<std::ptrdiff_t>(box.end);
        std::sort(first, last, [channel](const Entry& a, const Entry& b) {
            const int ca = Channel(a.colour, channel);
            const int cb = Channel(b.colour, channel);
            return ca != cb ? ca < cb : ColourLess(a.colour, b.colour);
        });
        std::int64_t total = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            total += entries[i].count;
        }
        std::size_t split = box.begin + 1;
        std::int64_t running = entries[box.begin].count;
        while (split < box.end - 1 && running * 2 < total) {
            running += entries[split].count;
            ++split;
        }
        boxes[chosen] = {box.begin, split};
        boxes.push_back({split, box.end});
    }
    std::vector<Color8> palette;
    for (const Box& box : boxes) {
        palette.push_back(Mean(entries, box.begin, box.end));
    }
    return palette;
}

std::size_t Nearest(const std::vector<Color8>& palette, Color8 colour) {
    std::size_t best = 0;
    int bestDistance = Distance(palette[0], colour);
    for (std::size_t i = 1; i < palette.size(); ++i) {
        const int distance = Distance(palette[i], colour);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

void Refine(const std::vector<Entry>& entries, std::vector<Color8>& palette) {
    constexpr int kRounds = 6;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::array<std::int64_t, 4>> sums(palette.size(), {0, 0, 0, 0});
        for (const Entry& entry : entries) {
            auto& sum = sums[Nearest(palette, entry.colour)];
            for (int channel = 0; channel < 3; ++channel) {
                sum[static_cast<std::size_t>(channel)] +=
                    Channel(entry.colour, channel) * entry.count;
            }
            sum[3] += entry.count;
        }
        for (std::size_t i = 0; i < palette.size(); ++i) {
            const std::int64_t total = sums[i][3];
            if (total > 0) {
                palette[i] = {ToByte(static_cast<int>((sums[i][0] + total / 2) / total)),
                              ToByte(static_cast<int>((sums[i][1] + total / 2) / total)),
                              ToByte(static_cast<int>((sums[i][2] + total / 2) / total))};
            }
        }
    }
}

}  // namespace

bool TooCloseToKey(Color8 colour, Color8 key) {
    return colour != key && Largest(colour, key) < kKeySeparation;
}

Color8 PushAwayFromKey(Color8 colour, Color8 key) {
    if (Largest(colour, key) >= kKeySeparation) {
        return colour;
    }
    // Push the channel that is already furthest away; go the other way where 0 or 255 stops it.
    int channel = 0;
    for (int c = 1; c < 3; ++c) {
        if (std::abs(Channel(colour, c) - Channel(key, c)) >
            std::abs(Channel(colour, channel) - Channel(key, channel))) {
            channel = c;
        }
    }
    const int keyValue = Channel(key, channel);
    int direction = Channel(colour, channel) >= keyValue ? 1 : -1;
    if (keyValue + direction * kKeySeparation > 255 || keyValue + direction * kKeySeparation < 0) {
        direction = -direction;
    }
    const std::uint8_t pushed = ToByte(keyValue + direction * kKeySeparation);
    Color8 result = colour;
    (channel == 0 ? result.r : (channel == 1 ? result.g : result.b)) = pushed;
    return result;
}

Color8 SeparateFromKey(Color8 colour, Color8 key) {
    if (!TooCloseToKey(colour, key)) {
        return colour;
    }
    if (Largest(colour, key) * 2 <= kKeySeparation) {
        return key;
    }
    return PushAwayFromKey(colour, key);
}

std::vector<Color8> ToKeyedPixels(const Canvas& canvas, Color8 key) {
    std::vector<Color8> pixels;
    pixels.reserve(static_cast<std::size_t>(canvas.Width() * canvas.Height()));
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            pixels.push_back(SeparateFromKey(ToColor8(canvas.At(x, y)), key));
        }
    }
    return pixels;
}

IndexedPicture Quantize(const std::vector<Color8>& pixels, int width, int height, Color8 key) {
    IndexedPicture picture{width, height, {}, {}};
    picture.palette.fill(Color8{0, 0, 0});
    picture.palette[0] = key;

    std::map<std::tuple<int, int, int>, std::int64_t> histogram;
    for (Color8 pixel : pixels) {
        if (pixel != key) {
            ++histogram[{pixel.r, pixel.g, pixel.b}];
        }
    }
    std::vector<Entry> entries;
    for (const auto& [colour, count] : histogram) {
        entries.push_back({{ToByte(std::get<0>(colour)), ToByte(std::get<1>(colour)),
                            ToByte(std::get<2>(colour))},
                           count});
    }
    constexpr std::size_t kFreeEntries = 255;
    std::vector<Color8> colours;
    if (entries.size() <= kFreeEntries) {
        for (const Entry& entry : entries) {
            colours.push_back(entry.colour);
        }
    } else {
        std::vector<Entry> working = entries;
        colours = MedianCut(working, kFreeEntries);
        Refine(entries, colours);
    }
    for (Color8& colour : colours) {
        colour = PushAwayFromKey(colour, key);
    }
    for (std::size_t i = 0; i < colours.size(); ++i) {
        picture.palette[i + 1] = colours[i];
    }

    picture.indices.reserve(pixels.size());
    for (Color8 pixel : pixels) {
        picture.indices.push_back(pixel == key
                                      ? std::uint8_t{0}
                                      : static_cast<std::uint8_t>(Nearest(colours, pixel) + 1));
    }
    return picture;
}
