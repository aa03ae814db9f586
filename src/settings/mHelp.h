// The add-in's help: a compiled help file installed beside the add-in, named after the product
// code (Plexa.chm), opened at a topic by the help viewer.
#pragma once

#include <string>

namespace plexa {
class Services;
}

namespace plexa::mHelp {

// The help file's full path: the installation folder, a backslash, the product code and ".chm".
std::wstring HelpFilePath(Services& services);

// Opens the help file at the topic. An empty topic opens nothing. When the viewer cannot show
// it, a warning with the file and the topic is logged and false returned; nothing is thrown.
bool ShowHelpTopic(Services& services, const std::wstring& topic);

}  // namespace plexa::mHelp
