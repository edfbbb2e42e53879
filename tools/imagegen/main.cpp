// Writes the resource folder's pictures: imagegen <folder>.
#include <fstream>
#include <iostream>
#include <string>

#include "ResourceFiles.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: imagegen <output folder>\n";
        return 2;
    }
    const std::string folder = argv[1];
    for (const ResourceFile& file : GenerateResourceFiles()) {
        const std::string path = folder + "/" + file.name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.bytes.data()),
                  static_cast<std::streamsize>(file.bytes.size()));
        if (!out) {
            std::cerr << "imagegen: cannot write " << path << "\n";
            return 1;
        }
        std::cout << path << " (" << file.bytes.size() << " bytes)\n";
    }
    return 0;
}
