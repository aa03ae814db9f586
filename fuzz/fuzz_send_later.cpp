// Feeds an arbitrary journal to the send-later queue: loading must never crash or hang, whatever
// the registry holds, and what loaded must survive the queue's own round trip: compacting and
// loading again gives the same entries in the same order with the same due times (to the 15
// digits a day number is written with), and a record added afterwards comes back too.
//
// Input (UTF-8; malformed bytes become U+FFFD): one value a line. "name<TAB>value" writes a text
// value of that name, a line without a tab writes "item" and the line's number. A name "=dword"
// prefix writes a number instead; a line beginning "@ptr<TAB>" sets the value that names the
// journal in force, "@new<TAB>name<TAB>value" writes into the compaction's copy.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/HostError.h"
#include "core/Text.h"
#include "platform/IShell.h"
#include "separate/CSendLaterList.h"
#include "settings/Services.h"
#include "sim/SimPlatform.h"

namespace {

const std::wstring kProfileKey =
    L"HKEY_CURRENT_USER\\Software\\Orvin\\Plexa\\0000000038A1BB1005E5101AA1BB08002B2A56C2";
const std::wstring kProfile = L"0000000038A1BB1005E5101AA1BB08002B2A56C2";

struct World {
    World() : services(sim.Ports()) {
        // The application-data folder is on a drive that does not exist: the log writer stays
        // quiet instead of growing a log (and no fault is recorded per entry, which would look
        // like a leak to the fuzzer).
        sim.shell.SetSpecialFolderPath(plexa::CSIDL_APPDATA, L"Q:\\Application Data");
        sim.clock.SetLocal(plexa::OleDate(46362.375));
    }
    plexa::sim::SimPlatform sim;
    plexa::Services services;
};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t at) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (std::size_t p = text.find(at); p != std::wstring::npos; p = text.find(at, start)) {
        parts.push_back(text.substr(start, p - start));
        start = p + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

void Put(plexa::sim::SimRegistry& registry, const std::wstring& key, const std::wstring& name,
         const std::wstring& value) {
    if (name.starts_with(L"=dword")) {
        registry.PutDword(key, name.substr(6), static_cast<uint32_t>(value.size()));
    } else {
        registry.PutString(key, name, value);
    }
}

bool SameTime(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(a));
}

void CheckSame(const plexa::CSendLaterList& a, const plexa::CSendLaterList& b) {
    const auto x = a.Entries();
    const auto y = b.Entries();
    Check(x.size() == y.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        Check(plexa::text::EqualsNoCase(x[i].first, y[i].first));
        Check(SameTime(x[i].second.Value(), y[i].second.Value()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World* world = new World();  // lives for the whole run
    world->sim.registry.Import("Windows Registry Editor Version 5.00\r\n\r\n", L"empty.reg");
    const std::wstring input =
        plexa::text::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::wstring journal = kProfileKey + L"\\SendLaterList";
    int line = 0;
    for (const std::wstring& text : Split(input, L'\n')) {
        ++line;
        const auto parts = Split(text, L'\t');
        if (parts[0] == L"@ptr" && parts.size() >= 2) {
            world->sim.registry.PutString(kProfileKey, L"SendLaterListKey", parts[1]);
        } else if (parts[0] == L"@new" && parts.size() >= 3) {
            Put(world->sim.registry, kProfileKey + L"\\SendLaterList.new", parts[1], parts[2]);
        } else if (parts.size() >= 2) {
            Put(world->sim.registry, journal, parts[0], text.substr(parts[0].size() + 1));
        } else {
            Put(world->sim.registry, journal, L"item" + std::to_wstring(line), text);
        }
    }

    plexa::CSendLaterList queue(world->services);
    queue.Init(kProfile);
    queue.Load();
    queue.SendTime();
    queue.NeedSend();
    const auto due = queue.GetSendList(0);
    Check(due.size() <= queue.Count());
    Check(queue.GetSendList(1).size() == std::min<std::size_t>(due.size(), 1));

    // Compacted and loaded again: the same queue.
    Check(queue.Save());
    plexa::CSendLaterList again(world->services);
    again.Init(kProfile);
    again.Load();
    CheckSame(queue, again);
    Check(again.JournalLength() == static_cast<int32_t>(again.Count()));
    const std::wstring id = L"00000000B7A1F3C2D4E5461A8C9B0D1E00000000000ABCDE";
    again.Add(plexa::OleDate(46362.5), id);
    plexa::CSendLaterList third(world->services);
    third.Init(kProfile);
    third.Load();
    CheckSame(again, third);
    return 0;
}
