#include <gtest/gtest.h>

#include "TestWorld.h"
#include "core/Form.h"
#include "core/Text.h"
#include "settings/CLang.h"
#include "settings/COptions.h"
#include "settings/mFileUtils.h"

namespace plexa {
namespace {

const std::wstring kFolder = L"C:\\Program Files\\Orvin\\Plexa";

std::string Crlf(const std::string& lines) {
    std::string out;
    for (char c : lines) {
        if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string LangFile(const std::string& langId, const std::string& body,
                     const std::string& signature = "Orvin.LangLngFile") {
    return "\xEF\xBB\xBF" + Crlf("[version]\nsignature = \"" + signature + "\"\nlangid = \"" +
                                 langId + "\"\nlang = \"Lang " + langId + "\"\n" + body);
}

const std::string kPlexa =
    "[Plexa]\nglobals = \"Texts, More\"\nforms = \"frmTest\"\n"
    "[Plexa.Texts]\n"
    "LID_TITLE_MAIL = \"Message - %s\" ; the caption of message boxes\n"
    "LID_QUOTED = \"Say \"\"hi\"\"; then go\"   ' a comment after the value\n"
    "LID_PERCENT = \"100%\"\n"
    "LID_ESCAPES = \"one\\ntwo\\tthree \\\\ back\"\n"
    "LID_UNQUOTED = plain text\n"
    "LID_UNARY = \"a \" b\"\n"
    "= \"no name\"\n"
    "LID_NO_VALUE =  ; nothing\n"
    "no equals sign here\n"
    "[Plexa.More]\n"
    "lid_title_mail = \"second definition\"\n"
    "LID_UMLAUT = \"Grüße\"\n"
    "[Plexa.frmTest]\n"
    ".caption = \"Options\"\n"
    "btnOK = \"OK\"\n"
    "btnOK.tooltiptext = \"Save and close\"\n"
    "lblInfo.dleft = \"100\"\n"
    "lblInfo.width = \"2000\"\n"
    "opt(1).caption = \"Second\"\n"
    "opt(x).caption = \"bad index\"\n"
    "missing.caption = \"nobody\"\n"
    "txtName.caption = \"text boxes have no caption\"\n"
    "imgLogo.picture = \"..\\\\..\\\\secret.bmp\"\n"
    "imgIcon.picture = \"C:\\\\Windows\\\\x.bmp\"\n"
    "imgOk.picture = \"pics\\\\ok.bmp\"\n";

struct LangWorld : test::TestWorld {
    void Write(const std::wstring& name, const std::string& bytes) {
        WriteFile(kFolder + L"\\" + name, bytes);
    }
    std::vector<std::wstring> Errors() const {
        std::vector<std::wstring> out;
        for (const auto& e : log.Of(LogLevel::Error)) {
            out.push_back(e.text);
        }
        return out;
    }
    CLang lang{services.Ports(), services.Options()};
};

bool Contains(const std::vector<std::wstring>& texts, const std::wstring& part) {
    for (const auto& t : texts) {
        if (t.find(part) != std::wstring::npos) {
            return true;
        }
    }
    return false;
}

TEST(Lang, LooksUpTextsIgnoringLetterCaseAndFormatsOnlyWithArguments) {
    LangWorld w;
    w.Write(L"English.lng", LangFile("EN", kPlexa));
    ASSERT_TRUE(w.lang.Init(kFolder + L"\\English.lng", L"Plexa"));
    EXPECT_EQ(w.lang.LangID(), L"EN");
    EXPECT_EQ(w.lang.LangName(), L"Lang EN");

    EXPECT_EQ(w.lang.Item(L"lid_title_mail", {L"Lunch"}), L"Message - Lunch");
    EXPECT_EQ(w.lang.Item(L"LID_QUOTED"), L"Say \"hi\"; then go");
    EXPECT_EQ(w.lang.Item(L"LID_ESCAPES"), L"one\r\ntwo\tthree \\ back");
    EXPECT_EQ(w.lang.Item(L"LID_UMLAUT"), L"Grüße");
    // A trailing percent sign stays without arguments and is dropped (and logged) with them.
    EXPECT_EQ(w.lang.Item(L"LID_PERCENT"), L"100%");
    w.log.entries.clear();
    EXPECT_EQ(w.lang.Item(L"LID_PERCENT", {1}), L"100");
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"CLang::sprintf1").size(), 1u);

    w.log.entries.clear();
    EXPECT_EQ(w.lang.Item(L"LID_MISSING"), L"LID_MISSING");
    ASSERT_EQ(w.log.entries.size(), 1u);
    EXPECT_EQ(w.log.entries[0].source, L"CLang.Item");
    EXPECT_EQ(w.log.entries[0].text,
              L"Key 'LID_MISSING' not exists in " + kFolder + L"\\English.lng");

    EXPECT_TRUE(w.lang.ItemFind(L"Lid_Umlaut"));
    EXPECT_FALSE(w.lang.ItemFind(L"LID_MISSING"));
    w.lang.ItemSet(L"LID_UMLAUT", L"replaced");
    EXPECT_EQ(w.lang.Item(L"lid_umlaut"), L"replaced");
}

TEST(Lang, BadEntriesAreLoggedAndSkippedAndTheFirstDefinitionStays) {
    LangWorld w;
    w.Write(L"English.lng", LangFile("EN", kPlexa));
    ASSERT_TRUE(w.lang.Init(kFolder + L"\\English.lng", L"Plexa"));
    const std::wstring file = kFolder + L"\\English.lng";
    const auto errors = w.Errors();
    EXPECT_TRUE(Contains(errors, L"Syntactic error - 'The string should be in quotes', line - 13"));
    EXPECT_TRUE(Contains(errors, L"Syntactic error - 'quoted string has unary quotes', line - 14"));
    EXPECT_TRUE(
        Contains(errors, L"Const's name does not exist, line - 15, file = '" + file + L"'"));
    EXPECT_TRUE(Contains(errors, L"Const's value does not exist, line - 16"));
    EXPECT_TRUE(Contains(errors, L"symbol '=' is absent, line = 17"));
    EXPECT_TRUE(Contains(errors, L"declaration of constant 'lid_title_mail' repeats in a line 19"));
    EXPECT_EQ(errors.size(), 6u);
    EXPECT_EQ(w.lang.Item(L"LID_TITLE_MAIL"), L"Message - %s");
    EXPECT_FALSE(w.lang.ItemFind(L"LID_UNQUOTED"));
}

TEST(Lang, SectionErrorsEndTheReadAndAnInvalidFileLeavesKeysAsTexts) {
    LangWorld w;
    struct Case {
        std::string body;
        std::wstring error;
    };
    const Case cases[] = {
        {"[Plexa\nglobals = \"Texts\"\n", L"symbol ']' is absent, line = 5"},
        {"[]\n", L"empty section name, line - 5"},
        {"[Plexa] extra\n", L"'extra' is not the comment, line - 5"},
        {"[Other]\n", L"has no [Plexa] section"},
        {"[Plexa]\nglobals = \"Texts,,More\"\n[Plexa.Texts]\nA = \"a\"\n",
         L"has error in [Plexa].texts"},
        {"[Plexa]\nglobals = \"Texts, Gone\"\n[Plexa.Texts]\nA = \"a\"\n",
         L"Error readig section [Plexa.Gone] in file"},
    };
    for (const auto& c : cases) {
        w.log.entries.clear();
        w.Write(L"Bad.lng", LangFile("EN", c.body));
        EXPECT_FALSE(w.lang.Init(kFolder + L"\\Bad.lng", L"Plexa")) << text::ToUtf8(c.error);
        EXPECT_TRUE(Contains(w.Errors(), c.error)) << text::ToUtf8(c.error);
        EXPECT_EQ(w.lang.Item(L"A"), L"A");
        EXPECT_EQ(w.lang.LangID(), L"");
    }
    // A comment after a header is fine.
    w.Write(L"Ok.lng",
            LangFile("EN", "[Plexa] ; the add-in\nglobals = \"T\"\n[Plexa.T]\nA = \"a\"\n"));
    EXPECT_TRUE(w.lang.Init(kFolder + L"\\Ok.lng", L"Plexa"));
    EXPECT_EQ(w.lang.Item(L"a"), L"a");

    w.log.entries.clear();
    w.Write(L"NoVersion.lng", Crlf("[Plexa]\nglobals = \"T\"\n"));
    EXPECT_FALSE(w.lang.Init(kFolder + L"\\NoVersion.lng", L"Plexa"));
    EXPECT_TRUE(Contains(w.Errors(), L"has no version section"));
    EXPECT_FALSE(w.lang.Init(kFolder + L"\\Absent.lng", L"Plexa"));
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"CLang.ReadSection").back().number, 2);
}

TEST(Lang, SectionNamesIgnoreLetterCase) {
    LangWorld w;
    w.Write(L"Mixed.lng",
            Crlf("[Version]\nsignature = \"Orvin.LangLngFile\"\nlangid = \"EN\"\nlang = \"E\"\n"
                 "[PLEXA]\nglobals = \"Texts\"\n[plexa.TEXTS]\nA = \"found\"\n"));
    ASSERT_TRUE(w.lang.Init(kFolder + L"\\Mixed.lng", L"Plexa"));
    EXPECT_EQ(w.lang.LangID(), L"EN");
    EXPECT_EQ(w.lang.Item(L"A"), L"found");
    // The scan reads the [VERSION] section of any spelling, too.
    EXPECT_EQ(w.lang.GetAvailableLangs(kFolder, L""),
              std::vector<std::wstring>{L"EN\r\nE\r\nMixed.lng"});
    EXPECT_TRUE(w.Errors().empty());
}

TEST(Lang, ReadsUtf8WithByteOrderMarkAndAnsiWithout) {
    LangWorld w;
    const std::string body =
        "[Plexa]\nglobals = \"T\"\n[Plexa.T]\nA = \"Gr\xFC\xDF"
        "e \x80\"\n";
    w.Write(L"Ansi.lng", Crlf("[version]\nsignature = \"Orvin.LangLngFile\"\nlangid = \"DE\"\n"
                              "lang = \"Deutsch\"\n" +
                              body));
    ASSERT_TRUE(w.lang.Init(kFolder + L"\\Ansi.lng", L"Plexa"));
    EXPECT_EQ(w.lang.Item(L"A"), L"Grüße €");

    // A line longer than the read buffer comes back in pieces (never splitting a character):
    // the entry is refused, and reading goes on with the next line.
    const std::string longText(5000, 'x');
    w.Write(L"Long.lng", LangFile("EN", "[Plexa]\nglobals = \"T\"\n[Plexa.T]\nB = \"\xC3\xBC" +
                                            longText + "\"\nC = \"after\""));
    w.log.entries.clear();
    ASSERT_TRUE(w.lang.Init(kFolder + L"\\Long.lng", L"Plexa"));
    EXPECT_FALSE(w.lang.ItemFind(L"B"));
    EXPECT_EQ(w.lang.Item(L"C"), L"after");
    EXPECT_TRUE(
        Contains(w.Errors(), L"Syntactic error - 'The string should be in quotes', line - 8"));
    EXPECT_TRUE(Contains(w.Errors(), L"symbol '=' is absent, line = 9"));
    std::string noEnd = LangFile("EN", "[Plexa]\nglobals = \"T\"\n[Plexa.T]\nC = \"end\"");
    w.Write(L"NoEnd.lng", noEnd);
    ASSERT_TRUE(w.lang.Init(kFolder + L"\\NoEnd.lng", L"Plexa"));
    EXPECT_EQ(w.lang.Item(L"C"), L"end");
    // Unix line ends read the same.
    w.Write(L"Unix.lng",
            "[version]\nsignature = \"Orvin.LangLngFile\"\nlangid = \"EN\"\n"
            "lang = \"E\"\n[Plexa]\nglobals = \"T\"\n[Plexa.T]\nC = \"unix\"\n");
    ASSERT_TRUE(w.lang.Init(kFolder + L"\\Unix.lng", L"Plexa"));
    EXPECT_EQ(w.lang.Item(L"C"), L"unix");
}

TEST(Lang, ChoosesTheFileForTheUsersLanguage) {
    LangWorld w;
    const std::string body = "[Plexa]\nglobals = \"T\"\n[Plexa.T]\nHELLO = \"%s\"\n";
    auto with = [&](const std::string& id, const std::string& hello,
                    const std::string& sig = "Orvin.LangLngFile") {
        std::string b = body;
        b.replace(b.find("%s"), 2, hello);
        return LangFile(id, b, sig);
    };
    w.Write(L"a_German.lng", with("DE", "Hallo"));
    w.Write(L"b_English.lng", with("EN", "Hello"));
    w.Write(L"c_English2.lng", with("EN", "Hello again"));
    w.Write(L"d_Wrong.lng", with("FR", "Bonjour", "orvin.langlngfile"));
    w.Write(L"e_None.lng", Crlf("[Plexa]\n"));

    const auto langs = w.lang.GetAvailableLangs(kFolder, L"B_ENGLISH.LNG");
    ASSERT_EQ(langs.size(), 2u);
    EXPECT_EQ(langs[0], L"DE\r\nLang DE\r\na_German.lng");
    EXPECT_EQ(langs[1], L"EN\r\nLang EN\r\nc_English2.lng");
    EXPECT_EQ(w.log.Of(LogLevel::Warning, L"CLang.GetAvailableLangs").size(), 2u);

    // No language setting: English, and the first English file in listing order wins and is
    // remembered.
    COptions& options = w.services.Options();
    ASSERT_TRUE(w.lang.InitEx(L"Plexa"));
    EXPECT_EQ(w.lang.Item(L"HELLO"), L"Hello");
    EXPECT_EQ(options.LangFile(), L"b_English.lng");

    // A remembered file of another language is passed over.
    options.LangID(L"DE");
    ASSERT_TRUE(w.lang.InitEx(L"Plexa"));
    EXPECT_EQ(w.lang.Item(L"HELLO"), L"Hallo");
    EXPECT_EQ(options.LangFile(), L"a_German.lng");

    // A language without a file leaves the table empty.
    options.LangID(L"FR");
    EXPECT_FALSE(w.lang.InitEx(L"Plexa"));
    EXPECT_EQ(w.lang.Item(L"HELLO"), L"HELLO");
    EXPECT_TRUE(Contains(w.Errors(), L"Cant find lang file by langID=FR"));
}

struct TestForm : Form {
    TestForm() : Form(L"frmTest") {
        Add(L"btnOK", ControlType::CommandButton);
        Add(L"lblInfo", ControlType::Label).left = 50;
        Add(L"opt", ControlType::OptionButton, 0);
        Add(L"opt", ControlType::OptionButton, 1);
        Add(L"txtName", ControlType::TextBox);
        Add(L"imgLogo", ControlType::Image);
        Add(L"imgIcon", ControlType::Image);
        Add(L"imgOk", ControlType::Image);
    }
};

TEST(Lang, LocalizesDialogsByControlNameAndRefusesUnsafePictures) {
    LangWorld w;
    w.Write(L"English.lng", LangFile("EN", kPlexa));
    w.Write(L"pics\\ok.bmp", "BM fake bitmap bytes");
    ASSERT_TRUE(w.lang.Init(kFolder + L"\\English.lng", L"Plexa"));
    w.log.entries.clear();

    TestForm form;
    w.lang.LocalizeForm(form);
    EXPECT_EQ(form.caption, L"Options");
    EXPECT_EQ(form[L"btnOK"].caption, L"OK");
    EXPECT_EQ(form[L"btnOK"].toolTipText, L"Save and close");
    EXPECT_EQ(form[L"lblInfo"].left, 150);
    EXPECT_EQ(form[L"lblInfo"].width, 2000);
    EXPECT_EQ(form.Find(L"opt", 1)->caption, L"Second");
    EXPECT_EQ(form.Find(L"opt", 0)->caption, L"");
    EXPECT_TRUE(form[L"imgOk"].picture != nullptr);
    EXPECT_TRUE(form[L"imgLogo"].picture == nullptr);
    EXPECT_TRUE(form[L"imgIcon"].picture == nullptr);

    const auto errors = w.Errors();
    EXPECT_TRUE(Contains(errors, L"invalid key 'opt(x).caption' for form 'frmTest'"));
    EXPECT_TRUE(Contains(errors, L"'missing' control does not exist on 'frmTest' form"));
    EXPECT_TRUE(Contains(errors, L"'caption' property does not supported"));
    EXPECT_TRUE(
        Contains(errors, L"You should specify a relative file path for frmTest.imglogo.picture"));
    EXPECT_TRUE(
        Contains(errors, L"You should specify a relative file path for frmTest.imgicon.picture"));
    EXPECT_EQ(errors.size(), 5u);

    Form other(L"frmOther");
    w.lang.LocalizeForm(other);
    EXPECT_EQ(w.log.Of(LogLevel::Warning, L"CLang.LocalizeControls").back().text,
              L"Locale for 'frmOther' form not exists");
}

TEST(Lang, ARepeatedKeyInADialogSectionKeepsItsFirstValue) {
    LangWorld w;
    w.Write(L"English.lng",
            LangFile("EN",
                     "[Plexa]\nglobals = \"T\"\nforms = \"frmTest\"\n[Plexa.T]\nA = \"a\"\n"
                     "[Plexa.frmTest]\nbtnOK = \"OK\"\nlblInfo.dleft = \"100\"\n"
                     "BTNOK = \"Second\"\nlblInfo.DLeft = \"100\"\n"));
    ASSERT_TRUE(w.lang.Init(kFolder + L"\\English.lng", L"Plexa"));
    const auto errors = w.Errors();
    EXPECT_EQ(errors.size(), 2u);
    EXPECT_TRUE(Contains(errors, L"declaration of constant 'btnok' repeats in a line 13"));
    EXPECT_TRUE(Contains(errors, L"declaration of constant 'lblinfo.dleft' repeats in a line 14"));
    TestForm form;
    w.lang.LocalizeForm(form);
    EXPECT_EQ(form[L"btnOK"].caption, L"OK");
    EXPECT_EQ(form[L"lblInfo"].left, 150);  // moved once
}

TEST(Lang, ReloadsAChangedFileButNotAnOlderCopy) {
    LangWorld w;
    const std::wstring path = kFolder + L"\\English.lng";
    auto file = [](const std::string& caption) {
        return LangFile("EN", "[Plexa]\nglobals = \"T\"\nforms = \"frmTest\"\n[Plexa.T]\nA = \"" +
                                  caption + "\"\n[Plexa.frmTest]\nbtnOK = \"" + caption + "\"\n");
    };
    w.Write(L"English.lng", file("first"));
    w.sim.files.SetLastWriteTimeUtc(path, OleDate::FromParts(2026, 12, 1, 10, 0, 0));
    ASSERT_TRUE(w.lang.Init(path, L"Plexa"));

    w.Write(L"English.lng", file("older copy"));
    w.sim.files.SetLastWriteTimeUtc(path, OleDate::FromParts(2026, 11, 1, 10, 0, 0));
    TestForm form;
    w.lang.LocalizeForm(form);
    EXPECT_EQ(form[L"btnOK"].caption, L"first");

    w.Write(L"English.lng", file("second"));
    w.sim.files.SetLastWriteTimeUtc(path, OleDate::FromParts(2026, 12, 2, 10, 0, 0));
    w.lang.LocalizeForm(form);
    EXPECT_EQ(form[L"btnOK"].caption, L"second");
    EXPECT_EQ(w.lang.Item(L"A"), L"second");
    EXPECT_EQ(w.log.Of(LogLevel::Warning, L"CLang.LocalizeControls").size(), 1u);
}

TEST(Lang, AFailedReloadKeepsTheTextsInUseAndIsTriedAgain) {
    LangWorld w;
    const std::wstring path = kFolder + L"\\English.lng";
    auto file = [](const std::string& caption) {
        return LangFile("EN", "[Plexa]\nglobals = \"T\"\nforms = \"frmTest\"\n[Plexa.T]\nA = \"" +
                                  caption + "\"\n[Plexa.frmTest]\nbtnOK = \"" + caption + "\"\n");
    };
    w.Write(L"English.lng", file("first"));
    w.sim.files.SetLastWriteTimeUtc(path, OleDate::FromParts(2026, 12, 1, 10, 0, 0));
    ASSERT_TRUE(w.lang.Init(path, L"Plexa"));

    // Caught half written: the dialog sections are not there yet.
    const std::string whole = file("second");
    w.Write(L"English.lng", whole.substr(0, whole.find("[Plexa.frmTest]")));
    w.sim.files.SetLastWriteTimeUtc(path, OleDate::FromParts(2026, 12, 2, 10, 0, 0));
    TestForm form;
    w.lang.LocalizeForm(form);
    EXPECT_EQ(form[L"btnOK"].caption, L"first");
    EXPECT_EQ(w.lang.Item(L"A"), L"first");
    EXPECT_EQ(w.lang.Filename(), path);
    EXPECT_EQ(w.lang.LangID(), L"EN");

    // Written out in full a moment later: the next dialog takes it.
    w.Write(L"English.lng", whole);
    w.sim.files.SetLastWriteTimeUtc(path, OleDate::FromParts(2026, 12, 2, 10, 0, 5));
    TestForm next;
    w.lang.LocalizeForm(next);
    EXPECT_EQ(next[L"btnOK"].caption, L"second");
    EXPECT_EQ(w.lang.Item(L"A"), L"second");
}

TEST(Lang, DumpsAlignedEntriesThatReadBackAsALanguageFile) {
    LangWorld w;
    w.Write(L"English.lng",
            LangFile("EN",
                     "[Plexa]\nglobals = \"T\"\nforms = \"frmTest\"\ndumpforms = \"2\"\n"
                     "[Plexa.T]\nA = \"a\"\n[Plexa.frmTest]\n"));
    ASSERT_TRUE(w.lang.Init(kFolder + L"\\English.lng", L"Plexa"));
    EXPECT_EQ(w.lang.DumpMode(), 2);

    Form form(L"frmTest");
    form.caption = L"Options";
    form.Add(L"btnOK", ControlType::CommandButton).caption = L"OK";
    form.Add(L"txtName", ControlType::TextBox);
    form.Add(std::wstring(31, L'x'), ControlType::Label).caption = L"say \"hi\"\\\r\n\tnow";
    Control& tip = form.Add(L"chkAll", ControlType::CheckBox);
    tip.toolTipText = L"All of them";
    form.Add(L"linTop", ControlType::Line);
    w.lang.LocalizeForm(form);  // dump mode on: dumps first

    const std::string dump = w.ReadFile(kFolder + L"\\Dump\\frmTest.txt");
    const std::string expected =
        "\xEF\xBB\xBF[Plexa.frmTest]\r\n"
        "; (Form)\r\n.Caption\t\t\t=\"Options\"\r\n"
        "; btnOK(CommandButton)\r\nbtnOK\t\t\t\t=\"OK\"\r\n"
        "; txtName(TextBox)\r\ntxtName\t\t\t\t=\"\"\r\n"
        "; " +
        std::string(31, 'x') + "(Label)\r\n" + std::string(31, 'x') +
        "=\"say \"\"hi\"\"\\\\\\n\\tnow\"\r\n"
        "; chkAll(CheckBox)\r\nchkAll\t\t\t\t=\"\"\r\nchkAll.ToolTipText\t\t=\"All of them\"\r\n";
    EXPECT_EQ(dump, expected);

    // The dump reads back as the dialog's section of a language file.
    w.Write(L"Back.lng", LangFile("EN",
                                  "[Plexa]\nglobals = \"T\"\nforms = \"frmTest\"\n"
                                  "[Plexa.T]\nA = \"a\"\n") +
                             dump.substr(3));
    ASSERT_TRUE(w.lang.Init(kFolder + L"\\Back.lng", L"Plexa"));
    Form copy(L"frmTest");
    copy.Add(L"btnOK", ControlType::CommandButton);
    copy.Add(std::wstring(31, L'x'), ControlType::Label);
    copy.Add(L"chkAll", ControlType::CheckBox);
    w.log.entries.clear();
    w.lang.LocalizeForm(copy);
    EXPECT_EQ(copy.caption, L"Options");
    EXPECT_EQ(copy[L"btnOK"].caption, L"OK");
    EXPECT_EQ(copy[std::wstring(31, L'x')].caption, form[std::wstring(31, L'x')].caption);
    EXPECT_EQ(copy[L"chkAll"].toolTipText, L"All of them");

    // Mode 3 leaves out empty captions, so a text box without a tooltip writes nothing; mode 1
    // adds the layout.
    w.Write(L"English.lng", LangFile("EN",
                                     "[Plexa]\nglobals = \"T\"\nforms = \"x\"\ndumpforms = \"3\"\n"
                                     "[Plexa.T]\nA = \"a\"\n[Plexa.x]\n"));
    w.sim.clock.AdvanceSeconds(60);
    ASSERT_TRUE(w.lang.Init(kFolder + L"\\English.lng", L"Plexa"));
    w.lang.DumpForm(form);
    const std::string mode3 = w.ReadFile(kFolder + L"\\Dump\\frmTest.txt");
    EXPECT_EQ(mode3.find("txtName"), std::string::npos);
    EXPECT_NE(mode3.find("btnOK\t\t\t\t=\"OK\""), std::string::npos);
    EXPECT_EQ(mode3.find("linTop"), std::string::npos);
}

TEST(Lang, DumpMode1WritesTheLayoutPicturesAndLineEnds) {
    LangWorld w;
    w.Write(L"English.lng", LangFile("EN",
                                     "[Plexa]\nglobals = \"T\"\nforms = \"x\"\ndumpforms = \"1\"\n"
                                     "[Plexa.T]\nA = \"a\"\n[Plexa.x]\n"));
    ASSERT_TRUE(w.lang.Init(kFolder + L"\\English.lng", L"Plexa"));
    EXPECT_EQ(w.lang.DumpMode(), 1);
    w.Write(L"ok.bmp", "BM fake bitmap bytes");

    Form form(L"frmTest");
    form.caption = L"Options";
    form.left = 0;
    form.top = 0;
    form.width = 4800;
    form.height = 3600;
    Control& ok = form.Add(L"btnOK", ControlType::CommandButton);
    ok.caption = L"OK";
    ok.left = 120;
    ok.top = 240;
    ok.width = 1215;
    ok.height = 12.5;
    ok.picture = w.sim.pictures.LoadPicture(kFolder + L"\\ok.bmp");
    Control& line = form.Add(L"linTop", ControlType::Line);
    line.x1 = 10;
    line.y1 = 20;
    line.x2 = 4000;
    line.y2 = 20;
    w.lang.DumpForm(form);

    const std::wstring picturePath = kFolder + L"\\Dump\\frmTest\\btnOK.bmp";
    EXPECT_EQ(w.ReadFile(picturePath), "BM fake bitmap bytes");
    const std::string dumpedPath =
        text::ToUtf8(text::ReplaceAll(picturePath, L"\\", L"\\\\"));  // read back as one "\"
    const std::string expected =
        "\xEF\xBB\xBF[Plexa.frmTest]\r\n"
        "\r\n.Caption\t\t\t=\"Options\"\r\n.Left\t\t\t\t=\"0\"\r\n.Top\t\t\t\t=\"0\"\r\n"
        ".Width\t\t\t\t=\"4800\"\r\n.Height\t\t\t\t=\"3600\"\r\n"
        "\r\nbtnOK\t\t\t\t=\"OK\"\r\nbtnOK.Left\t\t\t=\"120\"\r\nbtnOK.Top\t\t\t=\"240\"\r\n"
        "btnOK.Width\t\t\t=\"1215\"\r\nbtnOK.Height\t\t\t=\"12.5\"\r\n"
        "btnOK.Picture\t\t\t= \"" +
        dumpedPath +
        "\"\r\n"
        "\r\nlinTop.Left\t\t\t=\"0\"\r\nlinTop.Top\t\t\t=\"0\"\r\nlinTop.Width\t\t\t=\"0\"\r\n"
        "linTop.Height\t\t\t=\"0\"\r\nlinTop.X1\t\t\t=\"10\"\r\nlinTop.Y1\t\t\t=\"20\"\r\n"
        "linTop.X2\t\t\t=\"4000\"\r\nlinTop.Y2\t\t\t=\"20\"\r\n";
    EXPECT_EQ(w.ReadFile(kFolder + L"\\Dump\\frmTest.txt"), expected);
    EXPECT_TRUE(w.Errors().empty());

    // A picture that cannot be saved: logged, no picture line, and its empty folder goes again.
    w.sim.faults.FailAlways(L"Pictures.SavePicture",
                            HostError(vberr::PathFileAccessError, L"Path/File access error"));
    Form other(L"frmOther");
    other.Add(L"imgLogo", ControlType::Image).picture = ok.picture;
    w.lang.DumpForm(other);
    const std::string dump = w.ReadFile(kFolder + L"\\Dump\\frmOther.txt");
    EXPECT_NE(dump.find("imgLogo.Left"), std::string::npos);
    EXPECT_EQ(dump.find(".Picture"), std::string::npos);
    EXPECT_FALSE(mFileUtils::DirExists(w.services.Ports(), kFolder + L"\\Dump\\frmOther"));
    const auto failed = w.log.Of(LogLevel::Error, L"CLang.DumpControl");
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].number, vberr::PathFileAccessError);
    EXPECT_NE(failed[0].text.find(L"Dump\\frmOther\\imgLogo.bmp"), std::wstring::npos);
}

// Every file-system failure while choosing, reading, reloading, localising and dumping is logged
// and absorbed: the language code never lets an error out, and a later read succeeds again.
TEST(Lang, FileSystemFailuresNeverLeaveTheLanguageCode) {
    const std::string body =
        "[Plexa]\nglobals = \"T\"\nforms = \"frmTest\"\n[Plexa.T]\nA = \"a\"\n"
        "[Plexa.frmTest]\nbtnOK = \"OK\"\nimgOk.picture = \"pics\\\\ok.bmp\"\n";
    for (const wchar_t* op :
         {L"FileSystem.Open", L"File.Read", L"FileSystem.FindFiles", L"File.LastWriteTimeUtc",
          L"Pictures.LoadPicture", L"Pictures.SavePicture", L"File.Write",
          L"FileSystem.CreateDirectory"}) {
        for (int n = 1; n <= 6; ++n) {
            SCOPED_TRACE(text::ToUtf8(op) + " #" + std::to_string(n));
            LangWorld w;
            w.Write(L"English.lng", LangFile("EN", body));
            w.Write(L"pics\\ok.bmp", "BM fake bitmap bytes");
            TestForm form;
            form[L"imgOk"].picture = w.sim.pictures.LoadPicture(kFolder + L"\\pics\\ok.bmp");
            w.sim.faults.FailNth(op, n, HostError(vberr::PermissionDenied, L"Permission denied"));
            EXPECT_NO_THROW({
                w.lang.InitEx(L"Plexa");
                w.lang.Item(L"A");
                w.sim.files.SetLastWriteTimeUtc(kFolder + L"\\English.lng",
                                                OleDate::FromParts(2030, 1, 1));
                w.lang.LocalizeForm(form);
                w.lang.DumpForm(form);
                w.lang.GetAvailableLangs(kFolder, L"");
            });
            w.sim.faults.Clear();
            EXPECT_TRUE(w.lang.Init(kFolder + L"\\English.lng", L"Plexa"));
            EXPECT_EQ(w.lang.Item(L"A"), L"a");
        }
    }

    // What a failed read says: the Windows error of the failure, under the reader's names.
    LangWorld w;
    w.Write(L"English.lng", LangFile("EN", body));
    w.sim.faults.FailAlways(L"File.Read", HostError(vberr::PermissionDenied, L"Permission denied"));
    EXPECT_FALSE(w.lang.Init(kFolder + L"\\English.lng", L"Plexa"));
    ASSERT_FALSE(w.log.Of(LogLevel::Error, L"CTextFile.Buffer_AppendFromFile").empty());
    const auto readFailed = w.log.Of(LogLevel::Error, L"CLang.ReadSection");
    ASSERT_FALSE(readFailed.empty());
    EXPECT_EQ(readFailed[0].text, L"oFile.ReadLine failed; " + kFolder + L"\\English.lng");
    EXPECT_EQ(readFailed[0].number, 32);  // ERROR_SHARING_VIOLATION
    EXPECT_EQ(w.lang.Item(L"A"), L"A");
    w.sim.faults.Clear();
    w.sim.faults.FailAlways(L"FileSystem.FindFiles", HostError(vberr::PathNotFound, L"gone"));
    EXPECT_FALSE(w.lang.InitEx(L"Plexa"));
    EXPECT_EQ(w.log.Of(LogLevel::Error, L"CLang.GetAvailableLangs").size(), 1u);
}

}  // namespace
}  // namespace plexa
