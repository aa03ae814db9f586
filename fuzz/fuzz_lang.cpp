// Feeds arbitrary bytes to the language-file reader as a language file: loading, look-ups,
// localising and dumping a dialog must never crash, hang or leak, whatever the file holds.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/Form.h"
#include "core/HostError.h"
#include "settings/CLang.h"
#include "settings/Services.h"
#include "sim/SimPlatform.h"

namespace {

const std::wstring kFolder = L"C:\\Program Files\\Orvin\\Plexa";

// The simulated files stay in memory: an input touches no disk.
struct World {
    World() : services(sim.Ports()) {
        // No application-data folder: the log writer stays quiet instead of growing a log.
        sim.faults.FailAlways(L"Shell.GetSpecialFolderPath",
                              plexa::HostError(5, L"no profile while fuzzing"));
        sim.files.CreateFolders(kFolder);
    }
    plexa::sim::SimPlatform sim;
    plexa::Services services;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World* world = new World();  // lives for the whole run
    const std::wstring path = kFolder + L"\\Fuzz.lng";
    world->sim.files.WriteContents(path,
                                   std::string_view(reinterpret_cast<const char*>(data), size));
    plexa::CLang lang(world->services.Ports(), world->services.Options());
    lang.Init(path, L"Plexa");
    lang.Item(L"LID_TITLE_MAIL", {L"subject", 3});
    lang.Item(L"LID_CAPTION_TO");
    plexa::Form form(L"frmOptions");
    form.Add(L"btnOK", plexa::ControlType::CommandButton);
    form.Add(L"lblInfo", plexa::ControlType::Label);
    form.Add(L"opt", plexa::ControlType::OptionButton, 1);
    form.Add(L"linTop", plexa::ControlType::Line);
    form.Add(L"imgLogo", plexa::ControlType::Image);
    lang.LocalizeForm(form);
    lang.GetAvailableLangs(kFolder, L"");
    return 0;
}
