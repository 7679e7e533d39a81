// Small helpers shared by the colour tests.
#pragma once

#include "core/color.h"

namespace quillory::test {

inline Color Grey(int v) {
    return MakeColor(v, v, v);
}

// Installs a system colour lookup for one test and restores the default.
class ScopedSysColors {
  public:
    explicit ScopedSysColors(SysColorLookup lookup) { SetSysColorLookup(lookup); }
    ~ScopedSysColors() { SetSysColorLookup(nullptr); }
    ScopedSysColors(const ScopedSysColors&) = delete;
    ScopedSysColors& operator=(const ScopedSysColors&) = delete;
};

}  // namespace quillory::test
