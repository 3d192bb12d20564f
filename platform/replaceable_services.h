// The lifetime of the state behind the replaceable clock and regional
// settings (clock.h, regional_settings.h).
#pragma once

namespace qarvex::platform {

// Builds that state. The library's start-up calls it before building
// anything whose destruction reads the clock or the settings (the log's stop
// line at unload), so that the state, built first, is destroyed last. The
// system's settings are still read only on first use.
void BuildReplaceableServices();

}  // namespace qarvex::platform
