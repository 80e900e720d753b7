#pragma once

#include "sync/image/TestDescription.h"

#include <vector>

// Stored tests made up for a fixture that only says how many: tightness tests with a pressure
// and a flow curve of 60 samples each, a well-filled measurement memory.
namespace GeneratedTests {

std::vector<TestDescription> tightnessTests(int count);

} // namespace GeneratedTests
