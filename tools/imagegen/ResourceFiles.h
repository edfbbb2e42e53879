#pragma once

#include <string>
#include <vector>

#include "DibFiles.h"

// One file of the resource folder, as the generator writes it.
struct ResourceFile {
    std::string name;
    Bytes bytes;
};

// Every generated file: the five bitmaps and the icon file, always the same bytes.
std::vector<ResourceFile> GenerateResourceFiles();
