#include "app/CounterTextUnit.h"
#include "app/DataModulesUnit.h"
#include "app/ListOutputUnit.h"
#include "app/OpenListUnit.h"
#include "platform/FileUnit.h"
#include "tests/listfile/ListFixtures.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using formats::TEntryKind;
using formats::TPlanEntry;

namespace {

class ListOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetProgramFolderForTesting(Folder.Path());
        Modules = std::make_unique<app::TDataModules>();
        List = std::make_unique<app::TOpenList>(*Modules);
    }
    void Open(const fixtures::TListOptions &options)
    {
        const std::string path = Folder.File("calls.TarvilexList");
        fixtures::WriteList(path, options);
        ASSERT_TRUE(List->OpenListFile(path));
    }
    std::vector<TPlanEntry> Plan(int formatLevel)
    {
        formats::TOutputPlan plan;
        plan.AddEnd();   // a previous plan is discarded
        app::BuildOutputPlan(*List, formatLevel, plan);
        EXPECT_EQ(plan.Position(), 0u);
        return plan.Entries();
    }
    testsupport::TTempFolder Folder;
    std::unique_ptr<app::TDataModules> Modules;
    std::unique_ptr<app::TOpenList> List;
};

TPlanEntry Items(int first, int count, int level) { return {TEntryKind::Items, first, count, level}; }
TPlanEntry Header(int first, int level) { return {TEntryKind::GroupHeader, first, 1, level}; }
TPlanEntry Subtotal(int first, int level) { return {TEntryKind::Subtotal, first, 1, level}; }
const TPlanEntry End{TEntryKind::End, 0, 0, 0};

}  // namespace

TEST_F(ListOutput, PlanOfATwoLevelList)
{
    // Cost centres: Pénzügy (extensions 201, 202), Értékesítés (301);
    // records: 201, 201, 202, 301.
    Open({});
    EXPECT_EQ(Plan(0), (std::vector<TPlanEntry>{
                           Header(1, 0), Header(1, 1), Items(1, 2, 2), Subtotal(1, 1),
                           Header(2, 1), Items(3, 1, 2), Subtotal(2, 1), Subtotal(1, 0),
                           Header(2, 0), Header(3, 1), Items(4, 1, 2), Subtotal(3, 1), Subtotal(2, 0), End}));
    // Format level 1 stops at the extension groups.
    EXPECT_EQ(Plan(1), (std::vector<TPlanEntry>{Header(1, 0), Items(1, 2, 1), Subtotal(1, 0), Header(2, 0),
                                                Items(3, 1, 1), Subtotal(2, 0), End}));
    // S = 0: one run over all groups of level 0; a level beyond the list's
    // levels gives the same instead of reaching past them.
    EXPECT_EQ(Plan(2), (std::vector<TPlanEntry>{Items(1, 2, 0), End}));
    EXPECT_EQ(Plan(5), (std::vector<TPlanEntry>{Items(1, 2, 0), End}));
}

TEST_F(ListOutput, PlanWithoutLevelsIsOneRun)
{
    fixtures::TListOptions options;
    options.Levels = 0;
    Open(options);
    EXPECT_EQ(Plan(0), (std::vector<TPlanEntry>{Items(1, 4, 0), End}));
    // A format that hides levels the list does not have still shows the records.
    EXPECT_EQ(Plan(1), (std::vector<TPlanEntry>{Items(1, 4, 0), End}));
    Modules->ListFormat.Format.LoadFromText("<listformat level=\"1\"/>");
    app::TListValues values(*List, *Modules);
    List->ReadItemRecord(List->Output, 3);
    EXPECT_EQ(values.ItemValue("EXTENSION"), "301");
}

TEST_F(ListOutput, ValueProvidersReadTheOutputSet)
{
    dictionary::SetStartupSeparatorsForTesting('/', '.', ':');
    Open({});
    app::TListValues values(*List, *Modules);
    // The display set is elsewhere: the outputs must not depend on it.
    List->ReadItemRecord(List->Display, 0);
    List->ReadItemRecord(List->Output, 2);
    EXPECT_EQ(values.ItemValue("EXTENSION"), "202");
    EXPECT_EQ(values.ItemValue("COST"), "30.00");
    List->ReadBreakRecord(List->Output, 1, 1);
    EXPECT_EQ(values.ControlBreakValue(1, "EXTENSION"), "201");
    EXPECT_EQ(values.SubtotalValue(1, "counter"), "2");
    EXPECT_EQ(values.SubtotalValue(1, "COST_T"), "14.75");
    EXPECT_EQ(values.SubtotalValue(1, "COST"), "");        // no counter without a slot
    EXPECT_EQ(values.SubtotalValue(1, "DURATION"), "0:01:15");
    EXPECT_EQ(values.SubtotalValue(1, "PIECE_0"), "1");     // zone 0 of extension 201
    EXPECT_EQ(values.TotalValue("COST"), "145.50");
    EXPECT_EQ(values.TotalValue("PRICE"), "145.50");
    EXPECT_EQ(values.TotalValue("counter"), "4");
    EXPECT_EQ(values.TotalValue("IMPULSE_T"), "14");
    EXPECT_EQ(values.TotalValue("EXTENSION"), "");
    // A format of level 1 reads its rows from the extension groups.
    Modules->ListFormat.Format.LoadFromText("<listformat level=\"1\"/>");
    EXPECT_EQ(values.ItemValue("counter"), "2");
    EXPECT_EQ(values.ItemValue("EXTENSION"), "201");
    try {
        values.TotalValue("CALLS_T");
        FAIL() << "an unknown counter was accepted";
    } catch (const std::runtime_error &e) {
        EXPECT_STREQ(e.what(), "ListViewUnit: Invalid field name: CALLS");
    }
}
