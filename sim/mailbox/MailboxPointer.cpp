#include "sim/mailbox/MailboxPointer.h"

namespace plexa::sim::mMailboxPointer {

std::wstring Child(const std::wstring& at, std::wstring_view key) {
    std::wstring pointer = at + L"/";
    for (wchar_t c : key) {
        if (c == L'~') {
            pointer += L"~0";
        } else if (c == L'/') {
            pointer += L"~1";
        } else {
            pointer += c;
        }
    }
    return pointer;
}

std::wstring Child(const std::wstring& at, std::size_t index) {
    return at + L"/" + std::to_wstring(index);
}

}  // namespace plexa::sim::mMailboxPointer
