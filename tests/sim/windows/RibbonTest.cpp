// The simulated ribbon: the mark-up asked once per ribbon and checked against the custom-UI
// schema, onLoad, the get... callbacks asked again only after invalidation, clicks, and the
// ribbon's state as text.
#include <gtest/gtest.h>

#include <map>

#include "TestWorld.h"
#include "host/outlook/OlConstants.h"
#include "sim/SimDesktop.h"
#include "sim/SimResources.h"
#include "sim/office/RibbonMarkup.h"
#include "sim/windows/ScriptError.h"

namespace plexa::sim {
namespace {

const wchar_t* const kCompose =
    LR"(<?xml version="1.0" encoding="utf-16"?>
<customUI xmlns="http://schemas.microsoft.com/office/2006/01/customui" onLoad="Ribbon_OnLoad">
  <ribbon>
    <tabs>
      <tab idMso="TabNewMailMessage">
        <group id="Orvin.Plexa.Group" getLabel="Control_GetLabel" getVisible="Control_GetVisible"
               insertBeforeMso="GroupSend">
          <button id="btnOptions" getLabel="Control_GetLabel" onAction="Button_Action"
                  getScreentip="Button_GetScreentip" getImage="Button_GetImage"
                  getShowLabel="Button_GetShowLabel"/>
          <toggleButton id="btnSendModeSep" getPressed="ToggleButton_GetPressed"
                        onAction="ToggleButton_OnAction" getLabel="Control_GetLabel"/>
          <button id="btnSendNow" label="Send now" imageMso="SendItem"
                  getEnabled="Control_GetEnabled" onAction="Button_Action"/>
          <button id="btnNothing" label="Nothing"/>
        </group>
      </tab>
    </tabs>
  </ribbon>
</customUI>)";

// An add-in's ribbon side that answers from tables and records every call.
class FakeAddIn : public IRibbonExtensibility {
public:
    std::wstring GetCustomUI(const std::wstring& ribbonID) override {
        calls.push_back(L"GetCustomUI " + ribbonID);
        auto it = markup.find(ribbonID);
        return it == markup.end() ? L"" : it->second;
    }
    void InvokeOnLoad(const std::wstring& callback, const std::shared_ptr<IRibbonUI>& r) override {
        Expect(callback, L"Ribbon_OnLoad");
        ribbon = r;
    }
    std::wstring InvokeGetText(const std::wstring& callback,
                               const std::shared_ptr<IRibbonControl>& control) override {
        calls.push_back(callback + L" " + control->Id());
        contexts.push_back(control->Context());
        if (callback == L"Button_GetScreentip") {
            return L"Tip of " + control->Id();
        }
        Expect(callback, L"Control_GetLabel");
        return labels[control->Id()];
    }
    bool InvokeGetBool(const std::wstring& callback,
                       const std::shared_ptr<IRibbonControl>& control) override {
        calls.push_back(callback + L" " + control->Id());
        if (callback == L"Control_GetVisible") {
            return visible;
        }
        if (callback == L"Control_GetEnabled") {
            throw HostError(91, L"Object variable not set");
        }
        if (callback == L"ToggleButton_GetPressed") {
            return pressed;
        }
        Expect(callback, L"Button_GetShowLabel");
        return false;
    }
    std::shared_ptr<IPictureDisp> InvokeGetImage(
        const std::wstring& callback, const std::shared_ptr<IRibbonControl>& control) override {
        calls.push_back(callback + L" " + control->Id());
        return std::make_shared<SimPicture>(L"ICO", IPictureDisp::PicTypeIcon, 0x2A);
    }
    void InvokeAction(const std::wstring& callback,
                      const std::shared_ptr<IRibbonControl>& control) override {
        Expect(callback, L"Button_Action");
        calls.push_back(callback + L" " + control->Id());
    }
    void InvokeToggleAction(const std::wstring& callback,
                            const std::shared_ptr<IRibbonControl>& control, bool p) override {
        Expect(callback, L"ToggleButton_OnAction");
        calls.push_back(callback + L" " + control->Id() + (p ? L" pressed" : L" released"));
    }

    static void Expect(const std::wstring& callback, const std::wstring& known) {
        if (callback != known) {
            throw HostError(static_cast<int32_t>(0x80020006), L"Unknown name.");
        }
    }
    // How many calls of a kind ("Control_GetLabel btnOptions").
    int Count(const std::wstring& call) const {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }

    std::map<std::wstring, std::wstring> markup;
    std::map<std::wstring, std::wstring> labels{{L"Orvin.Plexa.Group", L"Plexa"},
                                                {L"btnOptions", L"Options"},
                                                {L"btnSendModeSep", L"Separately"}};
    bool visible = true;
    bool pressed = false;
    std::shared_ptr<IRibbonUI> ribbon;
    std::vector<std::wstring> calls;
    std::vector<std::shared_ptr<AutomationObject>> contexts;
};

class RibbonTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The mark-up is checked against Office's schema, which lies beside the repository.
        if (!CustomUiSchemaAvailable()) {
            GTEST_SKIP() << "the Office custom-UI schema is missing: " << CustomUiSchemaPath();
        }
        addIn.markup[L"Microsoft.Outlook.Mail.Compose"] = kCompose;
        desktop.SetRibbonProvider(&addIn);
    }
    std::shared_ptr<SimInspector> NewMessage() {
        desktop.host.application->CreateItem(olMailItem)->Display();
        return desktop.ActiveInspector();
    }

    test::TestWorld world;
    SimDesktop desktop{world.sim};
    FakeAddIn addIn;
};

TEST_F(RibbonTest, TheMarkupIsAskedOnceAndCallbacksAgainOnlyAfterInvalidation) {
    auto first = NewMessage();
    auto second = NewMessage();
    EXPECT_EQ(desktop.ribbons.Asked(L"Microsoft.Outlook.Mail.Compose"), 1);
    ASSERT_NE(addIn.ribbon, nullptr);
    EXPECT_EQ(addIn.Count(L"Control_GetLabel btnOptions"), 2);  // once per window
    EXPECT_EQ(addIn.contexts.back(), second);

    EXPECT_EQ(desktop.RibbonText(second),
              L"tab TabNewMailMessage\n"
              L"  group Orvin.Plexa.Group \"Plexa\"\n"
              L"    button btnOptions \"Options\" no-label tip \"Tip of btnOptions\" image "
              L"picture 0x2A\n"
              L"    toggleButton btnSendModeSep \"Separately\"\n"
              L"    button btnSendNow \"Send now\" image SendItem\n"
              L"    button btnNothing \"Nothing\"\n");
    // A callback that fails gets the default, and the failure is kept.
    EXPECT_EQ(desktop.ribbons.Errors().size(), 2U);
    EXPECT_NE(desktop.ribbons.Errors()[0].find(L"Control_GetEnabled(btnSendNow)"),
              std::wstring::npos);

    addIn.labels[L"btnOptions"] = L"Settings";
    EXPECT_NE(desktop.RibbonText(second).find(L"\"Options\""), std::wstring::npos);
    addIn.ribbon->InvalidateControl(L"btnOptions");
    addIn.pressed = true;
    EXPECT_NE(desktop.RibbonText(second).find(L"\"Settings\""), std::wstring::npos);
    EXPECT_NE(desktop.RibbonText(first).find(L"\"Settings\""), std::wstring::npos);
    EXPECT_EQ(desktop.RibbonText(first).find(L"pressed"), std::wstring::npos);
    addIn.visible = false;
    addIn.ribbon->Invalidate();
    EXPECT_NE(desktop.RibbonText(first).find(L"pressed"), std::wstring::npos);
    EXPECT_NE(desktop.RibbonText(first).find(L"Orvin.Plexa.Group \"Plexa\" hidden"),
              std::wstring::npos);
    EXPECT_EQ(desktop.ribbons.Asked(L"Microsoft.Outlook.Mail.Compose"), 1);

    world.sim.faults.FailAlways(L"RibbonUI.Invalidate", HostError(E_FAIL, L"injected"));
    EXPECT_THROW(addIn.ribbon->Invalidate(), HostError);
}

TEST_F(RibbonTest, ClicksRunTheActionsNamedInTheMarkup) {
    auto inspector = NewMessage();
    desktop.Click(L"Options");
    desktop.Click(L"btnSendModeSep");
    desktop.Click(L"btnSendModeSep");
    EXPECT_EQ(addIn.Count(L"Button_Action btnOptions"), 1);
    EXPECT_EQ(addIn.Count(L"ToggleButton_OnAction btnSendModeSep pressed"), 1);
    EXPECT_EQ(addIn.Count(L"ToggleButton_OnAction btnSendModeSep released"), 1);
    // Send now was disabled by its failing callback's default? No: the default is enabled.
    desktop.Click(L"Send now");
    EXPECT_EQ(addIn.Count(L"Button_Action btnSendNow"), 1);
    // A control without an action, and controls in a hidden group, cannot be clicked.
    EXPECT_THROW(desktop.Click(L"Nothing"), ScriptError);
    addIn.visible = false;
    addIn.ribbon->InvalidateControl(L"Orvin.Plexa.Group");
    EXPECT_THROW(desktop.Click(L"btnOptions"), ScriptError);
    // Read mail has another ribbon, which this add-in leaves alone.
    auto received =
        desktop.host.session.AddItem(*desktop.host.session.DefaultFolder(olFolderInbox), olMail);
    desktop.host.outlook.Item(received)->Display();
    EXPECT_EQ(desktop.RibbonText(desktop.ActiveInspector()), L"(no custom ribbon)\n");
    EXPECT_EQ(desktop.ribbons.Asked(L"Microsoft.Outlook.Mail.Read"), 1);
}

TEST_F(RibbonTest, MarkupThatBreaksTheSchemaIsIgnoredWithTheReason) {
    addIn.markup[L"Microsoft.Outlook.Mail.Compose"] =
        LR"(<customUI xmlns="http://schemas.microsoft.com/office/2006/01/customui">
  <ribbon><tabs><tab id="t" label="T"><group id="g" label="G">
    <button id="b" label="B" onClick="Button_Action"/>
  </group></tab></tabs></ribbon></customUI>)";
    auto inspector = NewMessage();
    EXPECT_EQ(desktop.RibbonText(inspector), L"(no custom ribbon)\n");
    ASSERT_EQ(desktop.ribbons.Errors().size(), 1U);
    EXPECT_NE(desktop.ribbons.Errors()[0].find(L"onClick"), std::wstring::npos);
    EXPECT_EQ(addIn.ribbon, nullptr);  // no onLoad for a rejected document

    const CustomUiSchema& schema = DefaultCustomUiSchema();
    EXPECT_THROW(schema.Read(L"<customUI"), RibbonMarkupError);
    EXPECT_THROW(schema.Read(L"<customUI xmlns=\"urn:other\"/>"), RibbonMarkupError);
    const RibbonElement root = schema.Read(kCompose);
    EXPECT_EQ(root.kind, L"customUI");
    EXPECT_EQ(root.Attr(L"onLoad"), L"Ribbon_OnLoad");
    EXPECT_THROW(CustomUiSchema(world.root.Path().string() + "/missing.xsd"), std::runtime_error);
}

TEST_F(RibbonTest, TheExplorerRibbonFromTwoThousandTenHasTheExplorerAsContext) {
    desktop.host.session.outlookMajorVersion = 14;
    addIn.markup[L"Microsoft.Outlook.Explorer"] =
        LR"(<customUI xmlns="http://schemas.microsoft.com/office/2006/01/customui">
  <ribbon><tabs><tab id="Orvin.Plexa.Explorer.tab" getLabel="Control_GetLabel">
    <group id="Orvin.Plexa.Explorer.grpEmail" label="E-mail">
      <button id="Orvin.Plexa.Explorer.btnTo" label="To" size="large" onAction="Button_Action"/>
    </group></tab></tabs></ribbon></customUI>)";
    auto explorer = desktop.OpenExplorer(olFolderInbox);
    desktop.Click(L"To");
    EXPECT_EQ(addIn.Count(L"Button_Action Orvin.Plexa.Explorer.btnTo"), 1);
    EXPECT_EQ(addIn.contexts.back(), explorer);
    // A second connection asks afresh.
    desktop.SetRibbonProvider(nullptr);
    desktop.SetRibbonProvider(&addIn);
    EXPECT_EQ(desktop.ribbons.Asked(L"Microsoft.Outlook.Explorer"), 1);
    EXPECT_EQ(addIn.Count(L"GetCustomUI Microsoft.Outlook.Explorer"), 2);
}

TEST_F(RibbonTest, TheTwoThousandNineNamespaceIsReadFromVersionFourteenOnly) {
    if (!CustomUi14SchemaAvailable()) {
        GTEST_SKIP() << "the Office 2010 custom-UI schema is missing: " << CustomUi14SchemaPath();
    }
    std::wstring markup = kCompose;
    const std::wstring from = L"2006/01/customui";
    markup.replace(markup.find(from), from.size(), L"2009/07/customui");
    EXPECT_EQ(CustomUiNamespace(markup), kCustomUiNamespace2009);
    EXPECT_EQ(CustomUiNamespace(kCompose), kCustomUiNamespace2006);
    EXPECT_EQ(CustomUiNamespace(L"<customUI"), "");
    EXPECT_EQ(ReadCustomUi(markup, 14).kind, L"customUI");
    EXPECT_THROW(ReadCustomUi(markup, 12), RibbonMarkupError);
    EXPECT_EQ(ReadCustomUi(kCompose, 14).kind, L"customUI");

    // Version 12 ignores it, with the reason; version 14 shows it.
    addIn.markup[L"Microsoft.Outlook.Mail.Compose"] = markup;
    EXPECT_EQ(desktop.RibbonText(NewMessage()), L"(no custom ribbon)\n");
    ASSERT_EQ(desktop.ribbons.Errors().size(), 1U);
    EXPECT_NE(desktop.ribbons.Errors()[0].find(L"needs client version 14"), std::wstring::npos);
    test::TestWorld w14;
    SimDesktop d14{w14.sim};
    d14.host.session.outlookMajorVersion = 14;
    d14.SetRibbonProvider(&addIn);
    d14.host.application->CreateItem(olMailItem)->Display();
    EXPECT_NE(d14.RibbonText(d14.ActiveInspector()).find(L"group Orvin.Plexa.Group"),
              std::wstring::npos);
    d14.SetRibbonProvider(nullptr);
}

}  // namespace
}  // namespace plexa::sim
