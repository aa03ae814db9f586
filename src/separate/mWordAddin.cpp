#include "separate/mWordAddin.h"

#include "core/HostError.h"
#include "core/Text.h"
#include "settings/Services.h"
#include "settings/mGlobals.h"

namespace plexa::mWordAddin {

void SendTextByKeyPress2Word(Services& services, const std::wstring& text, bool flag) {
    try {
        IWindowMessages& windows = services.Ports().windows;
        const WindowHandle companion = windows.FindWindowA(kCompanionClass, kCompanionTitle);
        if (companion == 0) {
            return;
        }
        const std::wstring message =
            std::wstring(L"SendTextByKeyPress,") + (flag ? L"1" : L"0") + L"," + text;
        std::string bytes = text::ToAnsi(message, services.Ports().locale.codePage.c_str());
        bytes.push_back('\0');
        CopyDataStruct data;
        data.dwData = 0;
        data.cbData = static_cast<uint32_t>(bytes.size());
        data.lpData = bytes.data();
        windows.SendMessageA(companion, wm::CopyData, 0, reinterpret_cast<std::intptr_t>(&data));
    } catch (const HostError& e) {
        mGlobals::LogError(L"mWordAddin.SendTextByKeyPress2Word", e);
    }
}

}  // namespace plexa::mWordAddin
