#include "settings/mMisc.h"

#include "addin/Context.h"
#include "core/Variant.h"
#include "settings/mGlobals.h"

namespace plexa::mMisc {

int32_t GetOutlookVersion() {
    Context* ctx = Context::Current();
    if (ctx == nullptr) {
        return 0;
    }
    if (ctx->cachedOutlookVersion != 0) {
        return ctx->cachedOutlookVersion;
    }
    try {
        const std::wstring version = ctx->Ports().host->Version();
        const std::wstring major = version.substr(0, version.find(L'.'));
        ctx->cachedOutlookVersion = CLng(Variant(major), ctx->Ports().locale);
    } catch (const HostError& e) {
        mGlobals::LogError(L"mMisc::GetOutlookVersion", e);
    }
    return ctx->cachedOutlookVersion;
}

bool IsOutlook2000OrOlder() {
    return GetOutlookVersion() <= 9;
}

int32_t GetTimeZoneBias(bool includeCurrent) {
    Context* ctx = Context::Current();
    if (ctx == nullptr) {
        return 0;
    }
    TimeZoneInformation info;
    TimeZoneId id = TimeZoneId::Invalid;
    try {
        id = ctx->Ports().clock->GetTimeZoneInformation(info);
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
