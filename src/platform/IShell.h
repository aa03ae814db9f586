// Shell folders and the help viewer.
#pragma once

#include <string>

namespace plexa {

inline constexpr int CSIDL_APPDATA = 26;

class IShell {
public:
    virtual ~IShell() = default;
    // The path of a special folder, as SHGetSpecialFolderPath gives it (possibly with a trailing
    // separator). Throws HostError when the folder is unknown.
    virtual std::wstring GetSpecialFolderPath(int csidl) = 0;
    // HtmlHelp with HH_DISPLAY_TOPIC: opens the compiled help file at a topic (a page path inside
    // it, such as "html/options.htm"); false when the viewer could not open the file or topic.
    virtual bool HtmlHelpDisplayTopic(const std::wstring& helpFile, const std::wstring& topic) = 0;
    // ShellExecute with the "open" verb: the document opens in the application registered for
    // its kind; false when it could not be opened (no such file, no application).
    virtual bool OpenDocument(const std::wstring& path) = 0;
};

}  // namespace plexa
