#include "tests/output/OutputTestSupport.h"

#include "dictionary/LanguageUnit.h"

#include <QCoreApplication>

using outputtest::FormatText;

namespace {

class CsvWriter : public outputtest::TOutputFixture {};

// cp1250 bytes of the fixture's accented texts.
const std::string Penzugy = "P\xE9nz\xFCgy";
const std::string Ertekesites = "\xC9rt\xE9kes\xEDt\xE9s";

}  // namespace

TEST_F(CsvWriter, ListWithoutBreaksWritesEveryBandOnceInTheCodePage)
{
    fixtures::TListOptions options;
    options.Levels = 0;
    options.Language = 0;
    Open(options);
    const std::string csv = Csv(FormatText(
        "columnseparator=\";\" dateseparator=\".\" decimalsign=\",\" level=\"0\"",
        "<pageheader><title fixtext=\"Hívások|Calls\"/><firm fixtext=\"Cég: %|Firm: %\"/></pageheader>"
        "<pageheader1><period fixtext=\"Időszak: %|Period: %\"/><date fixtext=\"%\"/></pageheader1>"
        "<pageheader2><remark fixtext=\"Megjegyzés: %|Remark: %\"/></pageheader2>"
        "<header><EXTENSION fixtext=\"Mellék|Extension\"/><COST fixtext=\"Költség|Cost\"/></header>"
        "<item><EXTENSION fixtext=\"\"/><COST fixtext=\"\"/></item>"
        "<total><totalname fixtext=\"Összesen|Total\"/><COST fixtext=\"\"/></total>"
        "<pagefooter><product fixtext=\"x\"/><listid fixtext=\"\"/></pagefooter>"));
    // The start-up date separator is "-": the period's joint stays " - ".
    EXPECT_EQ(csv, "H\xEDv\xE1sok;C\xE9g: Pr\xF3" "ba Kft.\r\n"
                   "Id\xF5szak: 2013.03.01 - 2013.03.31;2013.03.31 10:00:00\r\n"
                   "Megjegyz\xE9s: Megjegyz\xE9s\r\n"
                   "Mell\xE9k;K\xF6lts\xE9g\r\n"
                   "201;12,50\r\n201;2,25\r\n202;30,00\r\n301;100,75\r\n"
                   "\xD6sszesen;145,50\r\n"
                   ";7\r\n");
    // The format's characters were in force only for the output.
    EXPECT_EQ(dictionary::StartupDecimalSeparator(), '.');
    EXPECT_EQ(dictionary::StartupDateSeparator(), '-');
}

TEST_F(CsvWriter, TwoLevelsRepeatTheColumnHeaderForEveryInnermostGroup)
{
    Open({});
    const std::string csv = Csv(FormatText(
        "columnseparator=\"#9\" dateseparator=\".\" decimalsign=\".\" level=\"0\"",
        "<pageheader visible=\"False\"><title fixtext=\"Calls\"/></pageheader>"
        "<pageheader1 visible=\"False\"/><pageheader2 visible=\"False\"/>"
        "<header><EXTENSION fixtext=\"Extension\"/><COST fixtext=\"Cost\"/></header>"
        "<controlbreak_0><COSTCENTER fixtext=\"\"/></controlbreak_0>"
        "<controlbreak_1><EXTENSION fixtext=\"Ext %\"/></controlbreak_1>"
        "<item><EXTENSION fixtext=\"\"/><COST fixtext=\"\"/></item>"
        "<subtotal_1><subtotalname fixtext=\"Subtotal\"/><COST_T fixtext=\"\"/></subtotal_1>"
        // COST without a slot is no counter in a subtotal: an empty field.
        "<subtotal_0><subtotalname fixtext=\"Sum\"/><COST_T fixtext=\"\"/><COST fixtext=\"\"/></subtotal_0>"
        "<total><totalname fixtext=\"Total\"/><COST fixtext=\"\"/></total>"
        "<pagefooter visible=\"False\"/>"));
    EXPECT_EQ(csv, Penzugy + "\r\n"
                   "Ext 201\r\nExtension\tCost\r\n201\t12.50\r\n201\t2.25\r\nSubtotal\t14.75\r\n"
                   "Ext 202\r\nExtension\tCost\r\n202\t30.00\r\nSubtotal\t30.00\r\n"
                   "Sum\t44.75\t\r\n" +
                   Ertekesites + "\r\n"
                   "Ext 301\r\nExtension\tCost\r\n301\t100.75\r\nSubtotal\t100.75\r\n"
                   "Sum\t100.75\t\r\n"
                   "Total\t145.50\r\n");
}

TEST_F(CsvWriter, GroupColumnsFillsAndInvisibleCellsOfASummaryList)
{
    fixtures::TListOptions options;
    options.Kind = "summary";
    options.Levels = 0;
    Open(options);
    const std::string group = "<T fixtext=\"Total\"><PIECE_T fixtext=\"Calls\"/><COST_T fixtext=\"Cost\"/>"
                              "<DURATION_T visible=\"False\" fixtext=\"Dur\"/></T>";
    const std::string csv = Csv(FormatText(
        "columnseparator=\";\" dateseparator=\".\" decimalsign=\",\" level=\"0\"",
        // The firm above the group column of two visible sub-cells is preceded
        // by one extra separator; a field text holding the separator stays.
        "<pageheader><title fixtext=\"Calls\"/><x fixtext=\"Sec;ond\"/><firm fixtext=\"Firm: %\"/></pageheader>"
        "<pageheader1 visible=\"False\"/>"
        "<pageheader2><remark fixtext=\"Remark: %\"/><x visible=\"False\" fixtext=\"X\"/><y fixtext=\"Y\"/></pageheader2>"
        "<header><COSTCENTER visible=\"False\" fixtext=\"Centre\"/><EXTENSION fixtext=\"Extension\"/>" + group +
        "</header>"
        "<item><COSTCENTER visible=\"False\"/><EXTENSION/><T><PIECE_T/><COST_T/><DURATION_T visible=\"False\"/></T></item>"
        "<total><totalname fixtext=\"Total\"/><x visible=\"False\"/><T><PIECE_T/><COST_T/></T></total>"
        "<pagefooter><a visible=\"False\"/><listid/><b fixtext=\"zzz\"/></pagefooter>"));
    EXPECT_EQ(csv, "Calls;Sec;ond;;Firm: Pr\xF3" "ba Kft.\r\n"
                   "Remark: Megjegyz\xE9s;;Y;\r\n"
                   // No leading field for the invisible first column in line 1 ...
                   "Extension;Total;\r\n"
                   ";;Calls;Cost\r\n"
                   // ... but an empty one in the item lines.
                   ";201;2;14,75\r\n;202;1;30,00\r\n;301;1;100,75\r\n"
                   "Total;;4;145,50\r\n"
                   "7;\r\n");
}

TEST_F(CsvWriter, ControlBreakLevelRowsKeepTheFieldsOfAnInvisibleGroup)
{
    Open({});
    const std::string header = "<header><EXTENSION fixtext=\"Ext\"/>"
                               "<G_0 visible=\"False\" fixtext=\"Local\"><PIECE_0 fixtext=\"n\"/><COST_0 fixtext=\"c\"/></G_0>"
                               "<T fixtext=\"All\"><PIECE_T fixtext=\"n\"/><COST_T fixtext=\"c\"/></T></header>";
    const std::string csv = Csv(FormatText(
        "columnseparator=\";\" dateseparator=\".\" decimalsign=\",\" level=\"1\"",
        "<pageheader visible=\"False\"/><pageheader1 visible=\"False\"/><pageheader2 visible=\"False\"/>" + header +
        "<controlbreak_0><COSTCENTER/></controlbreak_0>"
        "<item><EXTENSION/><G_0 visible=\"False\"><PIECE_0/><COST_0/></G_0><T><PIECE_T/><COST_T/></T></item>"
        "<subtotal_0><subtotalname fixtext=\"Sum\"/><x visible=\"False\"/><T><PIECE_T/><COST_T/></T></subtotal_0>"
        "<total><totalname fixtext=\"Total\"/><x visible=\"False\"/><T><PIECE_T/><COST_T/></T></total>"
        "<pagefooter visible=\"False\"/>"));
    const std::string columnHeader = "Ext;;All;\r\n;;n;c\r\n";
    EXPECT_EQ(csv, Penzugy + "\r\n" + columnHeader + "201;;;2;14,75\r\n202;;;1;30,00\r\nSum;;3;44,75\r\n" +
                       Ertekesites + "\r\n" + columnHeader + "301;;;1;100,75\r\nSum;;1;100,75\r\n"
                       "Total;;4;145,50\r\n");
}

TEST_F(CsvWriter, FailuresRaiseAndRestoreTheSeparators)
{
    Open({});
    const std::string bands = "<item><EXTENSION/></item>";
    // A malformed separator code stops before the file exists.
    EXPECT_THROW(Csv(FormatText("columnseparator=\"#x\" decimalsign=\",\"", bands)), platform::TConversionError);
    EXPECT_FALSE(platform::FileExists(Folder.File("out.csv")));
    // A target that cannot be created.
    Modules->ListFormat.Format.LoadFromText(FormatText("columnseparator=\";\" decimalsign=\",\"", bands));
    output::PrepareOutput(*Modules, *List, *Values, Plan);
    EXPECT_THROW(output::WriteCsvFile(Folder.File("missing/out.csv"), Job()), platform::TStreamError);
    EXPECT_EQ(dictionary::StartupDecimalSeparator(), '.');
}

TEST_F(CsvWriter, ThreadReportsItsOutcome)
{
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    Open({});
    Modules->ListFormat.Format.LoadFromText(
        FormatText("columnseparator=\";\" decimalsign=\",\" level=\"2\"", "<item><COSTCENTER/><COST_T/></item>"));
    output::PrepareOutput(*Modules, *List, *Values, Plan);
    output::TCSVThread written(Folder.File("a.csv"), Job());
    written.start();
    written.wait();
    EXPECT_EQ(written.Error(), "");
    EXPECT_EQ(testsupport::ReadFile(Folder.File("a.csv")), Penzugy + ";44,75\r\n" + Ertekesites + ";100,75\r\n");

    output::TCSVThread failed(Folder.File("missing/b.csv"), Job());
    failed.start();
    failed.wait();
    EXPECT_NE(failed.Error().find("missing/b.csv"), std::string::npos) << failed.Error();
}

TEST_F(CsvWriter, ThreadsWriteTheSameBytesInPlanOrder)
{
    // Enough calls for many pieces: 40 cost centres of 25 extensions, 12 calls each.
    std::vector<fixtures::TCall> calls;
    for (int centre = 0; centre < 40; ++centre)
        for (int extension = 0; extension < 25; ++extension)
            for (int call = 0; call < 12; ++call) {
                const int duration = centre * 1000 + extension * 10 + call;
                calls.push_back({{"C" + std::to_string(100 + centre), std::to_string(1000 + centre * 25 + extension),
                                  std::to_string(duration), "1.5"},
                                 {call % 2, duration, duration, 1, 1.5, 1.0, 0}});
            }
    Open({}, calls);
    Modules->ListFormat.Format.LoadFromText(FormatText(
        "columnseparator=\";\" decimalsign=\",\" level=\"0\"",
        "<header><EXTENSION fixtext=\"Extension\"/><DURATION fixtext=\"Duration\"/></header>"
        "<controlbreak_0><COSTCENTER/></controlbreak_0><controlbreak_1><EXTENSION fixtext=\"Ext %\"/></controlbreak_1>"
        "<item><EXTENSION/><DURATION/></item>"
        "<subtotal_1><subtotalname fixtext=\"Sub\"/><PIECE_T/></subtotal_1>"
        "<subtotal_0><subtotalname fixtext=\"Sum\"/><COST_T/></subtotal_0>"
        "<total><totalname fixtext=\"Total\"/><COST_T/></total>"));
    output::PrepareOutput(*Modules, *List, *Values, Plan);
    output::WriteCsvFile(Folder.File("one.csv"), Job(), 1);
    output::WriteCsvFile(Folder.File("two.csv"), Job(), 2);
    const std::string one = testsupport::ReadFile(Folder.File("one.csv"));
    EXPECT_EQ(testsupport::ReadFile(Folder.File("two.csv")), one);
    // Per cost centre: its line, per extension 1 + 1 + 12 + 1 lines, its sum.
    EXPECT_EQ(std::count(one.begin(), one.end(), '\n'), 40 * (2 + 25 * 15) + 1);
    EXPECT_EQ(one.substr(0, 43), "C100\r\nExt 1000\r\nExtension;Duration\r\n1000;0:");
    EXPECT_EQ(one.substr(one.size() - 36), "Sub;12\r\nSum;450,00\r\nTotal;18000,00\r\n");
}

TEST_F(CsvWriter, AnEmptyListWritesItsHeaderAndZeroTotals)
{
    fixtures::TListOptions options;
    options.Levels = 0;
    Open(options, {});
    EXPECT_EQ(Csv(FormatText("columnseparator=\";\" decimalsign=\",\" level=\"0\"",
                             "<header><EXTENSION fixtext=\"Extension\"/><COST fixtext=\"Cost\"/></header>"
                             "<item><EXTENSION/><COST/></item>"
                             "<total><totalname fixtext=\"Total\"/><COST/><PIECE_T/></total>")),
              "Extension;Cost\r\nTotal;0,00;0\r\n");
}
