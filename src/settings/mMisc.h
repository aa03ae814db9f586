// What the add-in asks about its surroundings: the host's version and the time zone.
#pragma once

#include <cstdint>

namespace plexa {
class Services;
struct Platform;
}  // namespace plexa

namespace plexa::mMisc {

// The host's major version (9 = 2000, 10 = 2002, 11 = 2003, 12 = 2007, 14 = 2010): the version
// text before its first ".", rounded to an integer. Read once per run and then cached by the
// services; 0 (and an error entry) when it cannot be read, in which case the next call reads
// again.
int32_t GetOutlookVersion(Services& services);
bool IsOutlook2000OrOlder(Services& services);

// Minutes to add to local time to get UTC. Without includeCurrent, the zone's base bias. With
// it, the base bias plus the standard or the daylight bias, whichever the system reports in
// effect; a zone without daylight-saving rules adds its standard bias. When the system cannot
// report the zone at all, local time is taken as UTC (0) and a warning is logged.
int32_t GetTimeZoneBias(const Platform& ports, bool includeCurrent);

}  // namespace plexa::mMisc
