#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "settings/SaverSettings.h"

// A fresh working directory for one test, so that the scene set-up reads the settings file the
// test wrote (or finds none).
class SceneWorkDirectory {
  public:
    SceneWorkDirectory() : previous_(std::filesystem::current_path()) {
        std::random_device random;
        directory_ = std::filesystem::temp_directory_path() /
                     ("zemlar-scene-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(directory_);
        std::filesystem::current_path(directory_);
    }
    ~SceneWorkDirectory() {
        std::error_code error;
        std::filesystem::current_path(previous_, error);
        std::filesystem::remove_all(directory_, error);
    }
    SceneWorkDirectory(const SceneWorkDirectory&) = delete;
    SceneWorkDirectory& operator=(const SceneWorkDirectory&) = delete;

  private:
    std::filesystem::path previous_;
    std::filesystem::path directory_;
};
