// The default CSV format of every sample kind at every level, written whole:
// the road a user takes without a format of their own.
#include "tests/output/OutputTestSupport.h"

#include "dictionary/LanguageUnit.h"
#include "tools/SampleListUnit.h"

#include <algorithm>

namespace {

class DefaultCsv : public outputtest::TOutputFixture {};

}  // namespace

TEST_F(DefaultCsv, EverySampleKindAtEveryLevel)
{
    for (const char *kind : {"detailed", "summary", "statistics", "empty"}) {
        const std::string path = Folder.File(std::string(kind) + ".TarvilexList");
        tools::WriteSampleList(kind, path, TARVILEX_BIN_DIR "/");
        ASSERT_TRUE(List->OpenListFile(path)) << kind;
        const int levels = List->LevelCount();
        for (int level = 0; level <= levels; ++level) {
            Modules->ListFormat.SetFormatType("csv");
            Modules->ListFormat.ResetLevel();
            Modules->ListFormat.BuildDefaultFormat(level);
            std::string csv;
            ASSERT_NO_THROW(csv = Csv(platform::ElementXml(Modules->ListFormat.Root()))) << kind << " " << level;
            // One line at least per row shown at that level.
            const int stop = levels - level;
            const std::int64_t rows = stop == levels ? List->Header.RecordCount : List->Output.ControlBreaks[stop]->RecNo;
            EXPECT_GT(std::count(csv.begin(), csv.end(), '\n'), rows) << kind << " " << level;
            EXPECT_EQ(csv.substr(csv.size() - 2), "\r\n") << kind << " " << level;
            // The list's total cost stands in the total line, with the format's decimal sign.
            const output::TFormatSeparators separators(Modules->ListFormat);
            const std::string total = dictionary::FormatMoney(List->ZoneTotal(List->SlotCount - 1).Cost);
            EXPECT_NE(csv.find(total), std::string::npos) << kind << " " << level << ": " << total;
        }
    }
}
