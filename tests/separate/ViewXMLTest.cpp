// The Drafts view change: the received-date column, the grouping by that date and the
// arrangement, edited in the Drafts folder's current view and saved; the rules for a view grouped
// already or otherwise, a column there already, a view that does not parse, an old client, and
// every host call failing in turn.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FaultSweep.h"
#include "TestWorld.h"
#include "core/Text.h"
#include "host/outlook/OlConstants.h"
#include "separate/mViewXML.h"
#include "sim/SimDesktop.h"
#include "sim/outlook/SimFolder.h"

namespace plexa {
namespace {

constexpr const wchar_t* kGroupedByReceived =
    L"<groupby><order><Heading>Received</Heading><prop>urn:schemas:httpmail:datereceived</prop>"
    L"<type>datetime</type></order></groupby>";
constexpr const wchar_t* kArrangement =
    L"<arrangement><autogroup>0</autogroup><persistgroups>1</persistgroups></arrangement>";
constexpr const wchar_t* kReceivedColumn =
    L"<column><Heading>Received</Heading><prop>urn:schemas:httpmail:datereceived</prop>"
    L"<width>40</width><type>datetime</type></column>";

struct ViewWorld : test::TestWorld {
    explicit ViewWorld(int32_t major = 12) {
        sim.host.SetVersion(std::to_wstring(major) + L".0.0.1");
        desktop.host.session.outlookMajorVersion = major;
        services.host = desktop.Ports();
    }
    sim::FolderRecord& Drafts() { return *desktop.host.session.DefaultFolder(olFolderDrafts); }
    // The view the client shows (and, once saved, keeps).
    void Store(const std::wstring& xml) {
        Drafts().viewXml = xml;
        Drafts().savedViewXml = xml;
    }
    std::wstring Saved() { return Drafts().savedViewXml; }
    int Count(const std::wstring& part) {
        const std::wstring saved = Saved();
        int n = 0;
        for (auto p = saved.find(part); p != std::wstring::npos; p = saved.find(part, p + 1)) {
            ++n;
        }
        return n;
    }

    sim::SimDesktop desktop{sim};
};

TEST(ViewXML, TheDefaultDraftsViewGetsTheColumnTheGroupingAndTheArrangement) {
    ViewWorld w;
    mViewXML::ModifyDraftsView(w.services, false);
    EXPECT_EQ(w.Count(kReceivedColumn), 1) << text::ToUtf8(w.Saved());
    EXPECT_EQ(w.Count(kGroupedByReceived), 1);
    EXPECT_EQ(w.Count(kArrangement), 1);
    // What the view had stays, in its order, and the additions come last.
    const std::wstring saved = w.Saved();
    EXPECT_TRUE(saved.starts_with(L"<?xml version=\"1.0\"?>"));
    EXPECT_LT(saved.find(L"urn:schemas:httpmail:subject"), saved.find(kReceivedColumn));
    EXPECT_LT(saved.find(L"<orderby>"), saved.find(kGroupedByReceived));
    EXPECT_LT(saved.find(kGroupedByReceived), saved.find(kArrangement));
    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());

    // Running again changes nothing: one column, one grouping, one arrangement.
    mViewXML::ModifyDraftsView(w.services, false);
    EXPECT_EQ(w.Saved(), saved);
}

TEST(ViewXML, GroupingColumnsAndArrangementFollowTheRules) {
    // Grouped by the received date already (another letter case): the grouping stays as it
    // is, the column there already gets no twin, the arrangement values are rewritten.
    ViewWorld w;
    const std::wstring groupedAlready =
        L"<view type=\"table\"><column><Heading>Received</Heading>"
        L"<prop>urn:schemas:httpmail:datereceived</prop><width>77</width></column>"
        L"<groupby><order><heading>Got</heading><prop>URN:Schemas:HTTPmail:DateReceived</prop>"
        L"<sort>desc</sort></order></groupby>"
        L"<arrangement><autogroup>1</autogroup><persistgroups>0</persistgroups>"
        L"<collapsestate/></arrangement></view>";
    w.Store(groupedAlready);
    mViewXML::ModifyDraftsView(w.services, false);
    EXPECT_EQ(w.Saved(),
              L"<view type=\"table\"><column><Heading>Received</Heading>"
              L"<prop>urn:schemas:httpmail:datereceived</prop><width>77</width></column>"
              L"<groupby><order><heading>Got</heading>"
              L"<prop>URN:Schemas:HTTPmail:DateReceived</prop><sort>desc</sort></order>"
              L"</groupby><arrangement><autogroup>0</autogroup><persistgroups>1</persistgroups>"
              L"<collapsestate/></arrangement></view>");

    // Grouped by another property, twice over: both groupings go, one by the date comes.
    w.Store(
        L"<view><groupby><order><prop>urn:schemas:httpmail:subject</prop></order></groupby>"
        L"<groupby><order><prop>urn:schemas:httpmail:datereceived</prop></order></groupby>"
        L"</view>");
    mViewXML::ModifyDraftsView(w.services, false);
    EXPECT_EQ(w.Saved(), std::wstring(L"<view>") + kReceivedColumn + kGroupedByReceived +
                             kArrangement + L"</view>");

    // A column's property compares exactly: another letter case is another column.
    w.Store(L"<view><column><prop>URN:schemas:httpmail:datereceived</prop></column></view>");
    mViewXML::ModifyDraftsView(w.services, false);
    EXPECT_EQ(w.Count(L"<column>"), 2);

    // Reset replaces the column and the grouping even when they are there.
    w.Store(groupedAlready);
    mViewXML::ModifyDraftsView(w.services, true);
    EXPECT_EQ(w.Saved(),
              std::wstring(L"<view type=\"table\">") +
                  L"<arrangement><autogroup>0</autogroup><persistgroups>1</persistgroups>"
                  L"<collapsestate/></arrangement>" +
                  kReceivedColumn + kGroupedByReceived + L"</view>");
    EXPECT_TRUE(w.log.Of(LogLevel::Error).empty());
}

TEST(ViewXML, DocumentOperationsInsertBeforeAndKeepTexts) {
    ViewXmlDocument doc;
    ASSERT_TRUE(
        doc.LoadXml(L"<view><column><prop>a</prop></column>"
                    L"<column><prop>b</prop></column></view>"));
    mViewXML::AddTableViewUserColumn(doc, L"R&D <x>", L"c", L"string", L"Mine", L"b", 12);
    mViewXML::AddTableViewUserColumn(doc, L"Last", L"d", L"string", L"", L"missing", 0);
    EXPECT_EQ(doc.Xml(),
              L"<view><column><prop>a</prop></column><column><Heading>R&amp;D &lt;x&gt;</Heading>"
              L"<prop>c</prop><width>12</width><type>string</type><userheading>Mine</userheading>"
              L"</column><column><prop>b</prop></column><column><Heading>Last</Heading>"
              L"<prop>d</prop><width>40</width><type>string</type></column></view>");
    EXPECT_TRUE(mViewXML::ColumnExists(doc, L"c"));
    mViewXML::RemoveColumn(doc, L"c");
    mViewXML::RemoveColumn(doc, L"nothing");
    EXPECT_FALSE(mViewXML::ColumnExists(doc, L"c"));
    mViewXML::SetGroupOrder(doc, L"H", L"p", L"t", L"asc", false);
    EXPECT_NE(doc.Xml().find(L"<sort>asc</sort>"), std::wstring::npos);

    // Without a document the operations log and change nothing.
    ViewXmlDocument empty;
    EXPECT_FALSE(empty.LoadXml(L"<view><column></view>"));
    EXPECT_FALSE(empty.Error().empty());
    test::TestWorld world;
    mViewXML::SetArrangement(empty, 0, 1);
    mViewXML::AddTableViewUserColumn(empty, L"H", L"p", L"t", L"", L"", 0);
    EXPECT_FALSE(mViewXML::ColumnExists(empty, L"p"));
    EXPECT_EQ(world.log.Of(LogLevel::Error, L"mViewXML::SetArrangement").size(), 1U);
    EXPECT_EQ(world.log.Of(LogLevel::Error, L"Xml.AddTableViewUserColumn").size(), 1U);
    EXPECT_EQ(world.log.Of(LogLevel::Error, L"Xml.ColumnExists").size(), 1U);
    EXPECT_EQ(empty.Xml(), L"");
}

TEST(ViewXML, AViewThatDoesNotParseAndAnOldClientAreLeftAlone) {
    for (const std::wstring& bad :
         {std::wstring(L"<view><column><prop>x</prop></view>"), std::wstring(L"not xml at all"),
          std::wstring(L"<!DOCTYPE v [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><view>&e;")}) {
        ViewWorld w;
        w.Store(bad);
        mViewXML::ModifyDraftsView(w.services, false);
        EXPECT_EQ(w.Saved(), bad);
        EXPECT_EQ(w.Drafts().viewXml, bad);
        const auto errors = w.log.Of(LogLevel::Error, L"mViewXML::ModifyDraftsView");
        ASSERT_EQ(errors.size(), 1U);
        EXPECT_NE(errors[0].text.find(L"The Drafts view cannot be read"), std::wstring::npos);
    }
    // Outlook 2000: nothing is asked, nothing changes.
    ViewWorld old(9);
    old.Store(L"<view/>");
    mViewXML::ModifyDraftsView(old.services, false);
    EXPECT_EQ(old.Saved(), L"<view/>");
    EXPECT_TRUE(old.log.Of(LogLevel::Error).empty());
}

TEST(ViewXML, EveryHostCallFailingLeavesTheSavedViewWholeOrDone) {
    const std::wstring original = sim::SimView::DefaultXml(ViewWorld().Drafts());
    std::wstring done;
    {
        ViewWorld w;
        mViewXML::ModifyDraftsView(w.services, false);
        done = w.Saved();
    }
    const auto result = test::SweepHostCalls(
        "the Drafts view change", [] { return std::make_unique<ViewWorld>(); },
        [](ViewWorld& w) { mViewXML::ModifyDraftsView(w.services, false); },
        [&](ViewWorld& w, const test::SweepPoint& point) {
            // Never half a view: the one saved is the client's own or the finished one.
            const std::wstring saved = w.Saved();
            EXPECT_TRUE(saved.empty() || saved == done || saved == original) << point.Describe();
            if (point.n == 0) {
                EXPECT_EQ(saved, done);
                return;
            }
            // A failure of the client is logged once; the log's own files fail quietly.
            const bool client =
                !point.op.starts_with(L"FileSystem.") && !point.op.starts_with(L"File.") &&
                !point.op.starts_with(L"Shell.") && !point.op.starts_with(L"Clock.");
            EXPECT_EQ(point.errors.size(), client ? 1U : 0U) << point.Describe();
            if (!client) {
                EXPECT_EQ(saved, done) << point.Describe();
            }
        });
    EXPECT_GE(result.points, 4);
}

}  // namespace
}  // namespace plexa
