// The project information as JSON, for "taviro-player --info".
#pragma once

#include <nlohmann/json.hpp>

#include "project/project.h"

namespace taviro::app {

nlohmann::ordered_json ProjectInfoJson(const project::Project& project);

}  // namespace taviro::app
