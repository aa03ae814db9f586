// Feeds an arbitrary view definition to the Drafts view change: it must never crash or hang.
// A text that does not parse leaves the view exactly as it was, shown and saved. One that parses
// into a view the client takes comes back well-formed, with the received-date column, grouped by
// that date, and a second change leaves it as the first one made it.
//
// Input: the view's XML as UTF-8 (malformed bytes become U+FFFD).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Text.h"
#include "host/outlook/OlConstants.h"
#include "platform/IShell.h"
#include "separate/mViewXML.h"
#include "settings/Services.h"
#include "sim/SimDesktop.h"
#include "sim/SimPlatform.h"

namespace {

struct World {
    World() : services(sim.Ports()), desktop(sim) {
        // The log writer stays quiet on a drive that does not exist.
        sim.shell.SetSpecialFolderPath(plexa::CSIDL_APPDATA, L"Q:\\Application Data");
        services.host = desktop.Ports();
    }
    plexa::sim::SimPlatform sim;
    plexa::Services services;
    plexa::sim::SimDesktop desktop;
};

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World* world = new World();  // lives for the whole run
    const std::wstring input =
        plexa::text::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    auto& drafts = *world->desktop.host.session.DefaultFolder(plexa::olFolderDrafts);
    // The client never holds an empty definition: it would show its default one instead.
    const std::wstring stored = input.empty() ? std::wstring(L" ") : input;
    drafts.viewXml = stored;
    drafts.savedViewXml = stored;

    plexa::mViewXML::ModifyDraftsView(world->services, false);

    plexa::ViewXmlDocument doc;
    if (!doc.LoadXml(stored)) {
        Check(drafts.viewXml == stored && drafts.savedViewXml == stored);
        return 0;
    }
    if (drafts.savedViewXml == stored) {
        // The client refused the result (its root is no view): nothing changed.
        Check(drafts.viewXml == stored);
        return 0;
    }
    const std::wstring first = drafts.savedViewXml;
    plexa::ViewXmlDocument changed;
    Check(changed.LoadXml(first));
    Check(plexa::mViewXML::ColumnExists(changed, plexa::mViewXML::kReceivedProp));
    const std::wstring grouped = L"<groupby><order><Heading>Received</Heading><prop>" +
                                 std::wstring(plexa::mViewXML::kReceivedProp) + L"</prop>";
    Check(first.find(grouped) != std::wstring::npos ||
          plexa::text::FindNoCase(first, L"<groupby") != plexa::text::npos);
    plexa::mViewXML::ModifyDraftsView(world->services, false);
    Check(drafts.savedViewXml == first);
    return 0;
}
