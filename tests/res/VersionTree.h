#pragma once

// Parses a VS_VERSIONINFO block into its tree of nodes: each node is a length, a value length,
// a type (1 text, 0 binary), a UTF-16 key, the value and the children, each part aligned to
// 4 bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tests/res/DibView.h"

struct VersionNode {
    std::string key;
    std::vector<std::uint8_t> value;
    std::vector<VersionNode> children;

    // The value read as UTF-16 text up to its terminator (ASCII only).
    std::string Text() const {
        std::string text;
        for (std::size_t at = 0; at + 1 < value.size(); at += 2) {
            const int c = value[at] | (value[at + 1] << 8);
            if (c == 0) {
                break;
            }
            text += static_cast<char>(c);
        }
        return text;
    }
};

inline std::size_t AlignTo4(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

// Reads the node at the start of bytes; a malformed length stops at the end of the bytes.
inline VersionNode ParseVersionNode(std::span<const std::uint8_t> bytes) {
    VersionNode node;
    if (bytes.size() < 6) {
        return node;
    }
    const std::size_t length = std::min<std::size_t>(ReadLe16(bytes, 0), bytes.size());
    const std::size_t valueLength = ReadLe16(bytes, 2);
    const bool text = ReadLe16(bytes, 4) == 1;
    std::size_t at = 6;
    while (at + 1 < length) {
        const int c = ReadLe16(bytes, at);
        at += 2;
        if (c == 0) {
            break;
        }
        node.key += static_cast<char>(c);
    }
    at = AlignTo4(at);
    const std::size_t valueBytes = text ? valueLength * 2 : valueLength;
    if (at + valueBytes <= length) {
        node.value.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                          bytes.begin() + static_cast<std::ptrdiff_t>(at + valueBytes));
    }
    at = AlignTo4(at + valueBytes);
    while (at + 6 <= length) {
        const std::size_t childLength = ReadLe16(bytes, at);
        if (childLength == 0) {
            break;
        }
        node.children.push_back(ParseVersionNode(bytes.subspan(at, length - at)));
        at = AlignTo4(at + childLength);
    }
    return node;
}
