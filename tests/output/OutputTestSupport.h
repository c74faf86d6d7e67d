#pragma once
// A list written with the project's writer, opened, and a format given as
// XML text: what the writer tests start from.
#include "app/DataModulesUnit.h"
#include "app/ListOutputUnit.h"
#include "app/OpenListUnit.h"
#include "formats/ListFormatModuleUnit.h"
#include "formats/OutputPlanUnit.h"
#include "output/CSVUnit.h"
#include "platform/FileUnit.h"
#include "tests/listfile/ListFixtures.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace outputtest {

// A `listformat` document with the given root attributes and `page` content.
inline std::string FormatText(const std::string &attributes, const std::string &bands)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><listformat name=\"t\" formattype=\"csv\" " + attributes +
           "><page>" + bands + "</page></listformat>";
}

class TOutputFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetProgramFolderForTesting(Folder.Path());
        dictionary::SetStartupSeparatorsForTesting('-', '.', ':');
        Modules = std::make_unique<app::TDataModules>();
        List = std::make_unique<app::TOpenList>(*Modules);
        Values = std::make_unique<app::TListValues>(*List, *Modules);
    }
    void TearDown() override
    {
        Values.reset();
        List.reset();
        Modules.reset();
        dictionary::SetStartupSeparatorsForTesting('/', '.', ':');
        dictionary::SetLanguageIndex(0);
    }

    void Open(const fixtures::TListOptions &options, const std::vector<fixtures::TCall> &calls = fixtures::SampleCalls())
    {
        const std::string path = Folder.File("calls.TarvilexList");
        fixtures::WriteList(path, options, calls);
        ASSERT_TRUE(List->OpenListFile(path));
    }

    // The CSV bytes of the open list written with the format.
    std::string Csv(const std::string &format)
    {
        Modules->ListFormat.Format.LoadFromText(format);
        output::PrepareOutput(*Modules, *List, *Values, Plan);
        const std::string target = Folder.File("out.csv");
        output::WriteCsvFile(target, Job());
        return testsupport::ReadFile(target);
    }

    output::TOutputJob Job() { return {*List, Modules->ListFormat, Plan, *Values}; }

    testsupport::TTempFolder Folder;
    std::unique_ptr<app::TDataModules> Modules;
    std::unique_ptr<app::TOpenList> List;
    std::unique_ptr<app::TListValues> Values;
    formats::TOutputPlan Plan;
};

}  // namespace outputtest
