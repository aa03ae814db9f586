#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestWorld.h"
#include "settings/CLang.h"
#include "settings/COptions.h"

namespace plexa {
namespace {

const std::wstring kFolder = L"C:\\Program Files\\Orvin\\Plexa";

std::string ReadSource(const std::string& name) {
    std::ifstream in(std::string(PLEXA_SOURCE_DIR) + "/resources/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(ShippedLanguages, BothFilesLoadCleanlyAndAnswerTheSameKeys) {
    test::TestWorld w;
    w.WriteFile(kFolder + L"\\English.lng", ReadSource("English.lng"));
    w.WriteFile(kFolder + L"\\German.lng", ReadSource("German.lng"));
    CLang& lang = w.services.Lang();

    const auto available = lang.GetAvailableLangs(kFolder, L"");
    ASSERT_EQ(available.size(), 2u);

    ASSERT_TRUE(lang.InitEx(L"Plexa"));
    EXPECT_EQ(lang.LangID(), L"EN");
    EXPECT_EQ(lang.Item(L"LID_TITLE_MAIL", {L"Lunch"}), L"Lunch - Plexa");
    const std::wstring englishTo = lang.Item(L"LID_CAPTION_TO");

    w.services.Options().LangID(L"DE");
    ASSERT_TRUE(lang.InitEx(L"Plexa"));
    EXPECT_EQ(lang.LangID(), L"DE");
    EXPECT_NE(lang.Item(L"LID_CAPTION_TO"), englishTo);
    for (const wchar_t* key : {L"LID_TOOLBAR_NAME", L"LID_PROGRESS_STAGE1", L"RID_E_TAB",
                               L"LID_CONTACT_FIRST_NAME", L"LID_UNTITLED"}) {
        EXPECT_TRUE(lang.ItemFind(key)) << key;
    }
    // Nothing in either file was refused.
    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());
    EXPECT_TRUE(w.log.Of(LogLevel::Warning).empty());
}

}  // namespace
}  // namespace plexa
