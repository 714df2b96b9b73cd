#pragma once
#include <string>

#include "pictures.h"

namespace art {

// The contact sheet for the pictures already written into dir.
Canvas makePreview(const std::string& dir, const Pictures& pictures);

}  // namespace art
