#include "settings/mMisc.h"

#include "core/HostError.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa::mMisc {

int32_t GetOutlookVersion(Services& services) {
    return services.OutlookVersion();
}

bool IsOutlook2000OrOlder(Services& services) {
    return GetOutlookVersion(services) <= 9;
}

int32_t GetTimeZoneBias(const Platform& ports, bool includeCurrent) {
    TimeZoneInformation info;
    TimeZoneId id = TimeZoneId::Invalid;
    try {
        id = ports.clock.GetTimeZoneInformation(info);
    } catch (const HostError& e) {
        mGlobals::LogError(L"mMisc::GetTimeZoneBias", e);
        id = TimeZoneId::Invalid;
    }
    if (id == TimeZoneId::Invalid) {
        mGlobals::LogWarning(L"mMisc::GetTimeZoneBias",
                             L"The time zone is unknown: local time is taken as UTC", 1);
        return 0;
    }
    if (!includeCurrent) {
        return info.bias;
    }
    if (id == TimeZoneId::Daylight) {
        return info.bias + info.daylightBias;
    }
    return info.bias + info.standardBias;
}

}  // namespace plexa::mMisc
