// The `expect` lines of a scenario, checked against what has happened so far.
#pragma once

#include <string>

#include "tools/chronicle.h"
#include "tools/scenario.h"

namespace expectations {

struct Outcome {
    bool passed;
    std::string found;  // what was found, said the way the expect line says what it wants
};

Outcome check(const scenario::Expect& expect, const chronicle::Chronicle& chronicle);

}  // namespace expectations
