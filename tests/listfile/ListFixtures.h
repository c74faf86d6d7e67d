#pragma once
// Small list files for the loader tests, written with the project's writer
// from a generation document made here.
#include "tools/ListFileWriterUnit.h"

#include <string>
#include <vector>

namespace fixtures {

struct TCall {
    std::vector<std::string> Values;    // COSTCENTER, EXTENSION, DURATION, COST
    tools::TCallCounters Counters;
};

// Four calls in two cost centres, three extensions, two zones.
inline std::vector<TCall> SampleCalls()
{
    return {
        {{"Pénzügy", "201", "65", "12.5"}, {0, 65, 60, 1, 12.5, 12.0, 5}},
        {{"Pénzügy", "201", "10", "2.25"}, {1, 10, 10, 1, 2.25, 2.0, 3}},
        {{"Pénzügy", "202", "125", "30"}, {1, 125, 120, 2, 30.0, 29.5, 0}},
        {{"Értékesítés", "301", "3600", "100.75"}, {0, 3600, 3600, 10, 100.75, 100.0, 12}},
    };
}

struct TListOptions {
    std::string Kind = "detailed";
    std::string UserDir = "C:\\NOWHERE";
    std::string ListFileName = "Hivasok";
    int Language = 1;
    int Levels = 2;                 // 0, 1 (cost centre) or 2 (+ extension)
    std::string FirstColumn = "COSTCENTER";
    std::string Formats;            // children of <formats>
    std::string Title = "Hívások|Calls";
};

inline std::string GenerationText(const TListOptions &o)
{
    const char *levels[] = {"", "<l0><k id=\"COSTCENTER\" visible=\"true\"/></l0>",
                            "<l0><k id=\"COSTCENTER\" visible=\"true\"/></l0><l1><k id=\"EXTENSION\" visible=\"true\"/></l1>"};
    std::string columns = "<c id=\"" + o.FirstColumn + "\"/><c id=\"EXTENSION\"/>";
    if (o.Kind == "detailed") columns += "<c id=\"DURATION\"/><c id=\"COST\"/>";
    return "<listgeneration userdir=\"" + o.UserDir + "\" systemname=\"Próba Kft.\" language=\"" +
           std::to_string(o.Language) +
           "\" listID=\"7\" user=\"admin\" dateofgeneration=\"2013-03-31 10:00:00\">"
           "<listtype listfilename=\"" + o.ListFileName + "\"><listtype type=\"" + o.Kind + "\" title=\"" + o.Title +
           "\"><columns>" + columns + "</columns><controlbreaks>" + levels[o.Levels] +
           "</controlbreaks></listtype></listtype>"
           "<formats>" + o.Formats + "</formats>"
           "<conditions><listcondition name=\"Március|March\" startdate=\"0/-1/1\" enddate=\"0/-1/31\"/></conditions>"
           "<listfields><fields>"
           "<detailed><f id=\"COSTCENTER\" title=\"_CostCenter\" tablefield=\"COSTCENTER\"/>"
           "<f id=\"EXTENSION\" title=\"_Extension\" tablefield=\"EXTENSION\"/>"
           "<f id=\"DURATION\" title=\"_Duration\" tablefield=\"DURATION\"/>"
           "<f id=\"COST\" title=\"_Cost\" tablefield=\"COST\"/></detailed>"
           "<summarizedzones><z code=\"0\" title=\"Helyi|Local\"/><z code=\"1\" title=\"Távolsági|Long distance\"/></summarizedzones>"
           "</fields></listfields>"
           "<datamodule><tarvilexdata><fields>"
           "<f name=\"COSTCENTER\" type=\"string\" length=\"20\"/><f name=\"EXTENSION\" type=\"string\" length=\"8\"/>"
           "<f name=\"DURATION\" type=\"integer\"/><f name=\"COST\" type=\"money\"/>"
           "</fields></tarvilexdata></datamodule></listgeneration>";
}

// Writes the list with the given calls (all four samples by default).
inline void WriteList(const std::string &path, const TListOptions &options,
                      const std::vector<TCall> &calls = SampleCalls())
{
    platform::TXmlDocument generation;
    generation.LoadFromText(GenerationText(options));
    tools::TListHeader header;
    header.GenerationTime = dictionary::EncodeDateTime(2013, 3, 31, 10, 0, 0);
    header.FirstDay = dictionary::EncodeDate(2013, 3, 1);
    header.LastDay = dictionary::EncodeDate(2013, 3, 31);
    header.FirstText = "x";
    header.Remark = "Megjegyzés";
    tools::TListFileWriter writer(path, header, generation.Root());
    for (const auto &call : calls) {
        std::vector<std::string> values = call.Values;
        if (options.Kind != "detailed") values.resize(2);
        writer.AddCall(values, call.Counters);
    }
    writer.Finish();
}

}  // namespace fixtures
