#include "tools/SampleListUnit.h"

#include "tools/ListFileWriterUnit.h"
#include "tools/ShippedDocumentsUnit.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

namespace tools {

namespace {

constexpr const char *UnitName = "SampleListUnit: ";

// splitmix64: tiny, fast and the same on every platform (the standard
// distributions are not).
class TSampleRandom {
public:
    explicit TSampleRandom(std::uint64_t seed) : State(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (State += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return int(Next() % std::uint64_t(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    std::string Digits(int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i) text += char('0' + Below(10));
        return text;
    }

private:
    std::uint64_t State;
};

struct TPerson {
    const char *Extension, *Name, *CostCentre, *CostCentreEnglish, *Pin;
};

// Grouped by cost centre in the producing system's sort order; the index in
// this table is the sort key of the break levels.
const TPerson Persons[] = {
    {"201", "Kovács Péter", "Értékesítés", "Sales", "4711"},
    {"202", "Szabó Éva", "Értékesítés", "Sales", "5120"},
    {"203", "Horváth Gábor", "Értékesítés", "Sales", "6034"},
    {"204", "Kiss Júlia", "Értékesítés", "Sales", "7245"},
    {"401", "Nagy Zoltán", "Műszaki osztály", "Engineering", "1357"},
    {"402", "Németh Ákos", "Műszaki osztály", "Engineering", "2468"},
    {"403", "Farkas Réka", "Műszaki osztály", "Engineering", "3579"},
    {"404", "Lakatos Győző", "Műszaki osztály", "Engineering", "4680"},
    {"301", "Tóth Ildikó", "Pénzügy", "Finance", "8123"},
    {"302", "Varga László", "Pénzügy", "Finance", "9234"},
    {"303", "Molnár Erzsébet", "Pénzügy", "Finance", "1045"},
    {"501", "Takács Enikő", "Raktár és logisztika", "Logistics", "2156"},
    {"502", "Juhász Ferenc", "Raktár és logisztika", "Logistics", "3267"},
    {"503", "Mészáros Ágnes", "Raktár és logisztika", "Logistics", "4378"},
    {"504", "Oláh Imre", "Raktár és logisztika", "Logistics", "5489"},
    {"101", "Balogh Tünde", "Ügyvezetés", "Management", "6590"},
    {"102", "Papp Ödön", "Ügyvezetés", "Management", "7601"},
};
constexpr int PersonCount = int(std::size(Persons));
// How often each person telephones, relative to the others.
constexpr int PersonWeights[PersonCount] = {9, 8, 8, 7, 5, 5, 4, 4, 4, 3, 3, 6, 5, 5, 4, 7, 6};

struct TTariffZone {
    const char *Name;
    int Summarized;          // slot of the summarized zone
    int ImpulsesPerMinute;
    int Weight;
    const char *Prefixes[6];
};
const TTariffZone TariffZones[] = {
    {"Budapest", 0, 1, 45, {"2", "3", "4"}},
    {"Belföld", 1, 2, 20, {"0622", "0624", "0646", "0652", "0662", "0696"}},
    {"Mobil", 1, 3, 25, {"0620", "0630", "0670"}},
    {"Európa", 2, 6, 7, {"0043", "0049", "0044", "00420", "00421", "0033"}},
    {"Tengerentúl", 2, 10, 3, {"001", "0086", "0061"}},
};
// Digits after the prefix, per tariff zone.
constexpr int NumberDigits[] = {6, 6, 7, 8, 9};

constexpr double CostPerImpulse = 9.75;
constexpr double ReadInCostPerImpulse = 9.5;

// Call classes of the statistics sample, in row order.
enum : int { ccOfficial = 1, ccPrivate = 2, ccIncoming = 3, ccInner = 4 };

struct TSampleCall {
    int Person = 0;
    int Day = 1;             // of March 2013
    int Time = 0;            // seconds since midnight
    bool Incoming = false, Inner = false, Private = false;
    std::string Trunk, Number, Zone, Pin, Account;
    int CallClass = ccOfficial;
    TCallCounters Counters;
};

// Working days of March 2013 (15 March is a holiday).
const int WorkDays[] = {1, 4, 5, 6, 7, 8, 11, 12, 13, 14, 18, 19, 20, 21, 22, 25, 26, 27, 28, 29};

template <class T, std::size_t N>
int WeightedPick(TSampleRandom &random, const T (&weights)[N], int (*weightOf)(const T &))
{
    int total = 0;
    for (const T &w : weights) total += weightOf(w);
    int pick = random.Below(total);
    for (std::size_t i = 0; i < N; ++i) {
        pick -= weightOf(weights[i]);
        if (pick < 0) return int(i);
    }
    return int(N) - 1;
}

int PersonWeight(const int &w) { return w; }
int ZoneWeight(const TTariffZone &z) { return z.Weight; }

void ChargeCall(TSampleCall &call, int impulsesPerMinute)
{
    TCallCounters &c = call.Counters;
    c.CalcDur = (c.Duration + 59) / 60 * 60;
    c.Impulse = c.CalcDur / 60 * impulsesPerMinute;
    c.Cost = c.Impulse * CostPerImpulse;
    c.ReadInCost = c.Impulse * ReadInCostPerImpulse;
}

TSampleCall MakeCall(TSampleRandom &random, int person)
{
    TSampleCall call;
    call.Person = person;
    call.Day = WorkDays[random.Below(int(std::size(WorkDays)))];
    call.Time = 7 * 3600 + 1800 + random.Below(10 * 3600);
    TCallCounters &c = call.Counters;
    c.RingTime = 2 + random.Below(24);
    c.Duration = random.Chance(10) ? 300 + random.Below(1500) : 8 + random.Below(290);
    const int kind = random.Below(100);
    if (kind < 28) {
        call.Incoming = true;
        call.CallClass = ccIncoming;
        call.Trunk = "0" + std::to_string(1 + random.Below(6));
        call.Zone = "Bejövő";
        call.Number = random.Chance(12) ? std::string() : "06" + std::string(random.Chance(50) ? "30" : "1") + random.Digits(7);
    } else if (kind < 38) {
        call.Inner = true;
        call.CallClass = ccInner;
        call.Zone = "Belső";
        int other = random.Below(PersonCount - 1);
        if (other >= person) ++other;
        call.Number = Persons[other].Extension;
        c.Duration = 5 + random.Below(240);
    } else {
        const int z = WeightedPick(random, TariffZones, ZoneWeight);
        const TTariffZone &zone = TariffZones[z];
        int prefixes = 0;
        while (prefixes < 6 && zone.Prefixes[prefixes]) ++prefixes;
        call.Trunk = "0" + std::to_string(1 + random.Below(4));
        call.Zone = zone.Name;
        call.Number = zone.Prefixes[random.Below(prefixes)] + random.Digits(NumberDigits[z]);
        c.ZoneIndex = zone.Summarized;
        call.Private = random.Chance(7);
        call.CallClass = call.Private ? ccPrivate : ccOfficial;
        if (call.Private) call.Pin = Persons[person].Pin;
        if (!call.Private && std::string_view(Persons[person].CostCentreEnglish) == "Sales" && random.Chance(25))
            call.Account = random.Chance(60) ? "P-2013-014" : "P-2013-022";
        ChargeCall(call, zone.ImpulsesPerMinute);
    }
    return call;
}

// A month of calls as the exchange logged them, in time order.
std::vector<TSampleCall> MakeCalls(int count, std::uint64_t seed)
{
    TSampleRandom random(seed);
    std::vector<TSampleCall> calls;
    calls.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) calls.push_back(MakeCall(random, WeightedPick(random, PersonWeights, PersonWeight)));
    std::stable_sort(calls.begin(), calls.end(), [](const TSampleCall &a, const TSampleCall &b) {
        return std::pair(a.Day, a.Time) < std::pair(b.Day, b.Time);
    });
    return calls;
}

std::string TwoDigits(int value)
{
    return std::string(1, char('0' + value / 10 % 10)) + char('0' + value % 10);
}

std::string MoneyText(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    return std::string(buffer, result.ptr);
}

std::string ColumnValue(const TSampleCall &call, std::string_view id, bool english)
{
    const TPerson &person = Persons[call.Person];
    const TCallCounters &c = call.Counters;
    const std::string date = "201303" + TwoDigits(call.Day);
    if (id == "STRDATE") return date;
    if (id == "ITIME") return std::to_string(call.Time);
    if (id == "STRDATETIME")
        return date + TwoDigits(call.Time / 3600) + TwoDigits(call.Time / 60 % 60) + TwoDigits(call.Time % 60);
    if (id == "EXTENSION") return person.Extension;
    if (id == "NAME") return person.Name;
    if (id == "COSTCENTER") return english ? person.CostCentreEnglish : person.CostCentre;
    if (id == "TRUNK") return call.Trunk;
    if (id == "NUMBER") return call.Number;
    if (id == "ZONE") return call.Zone;
    if (id == "SUMMARIZEDZONE") return std::to_string(c.ZoneIndex);
    if (id == "DURATION") return std::to_string(c.Duration);
    if (id == "CALCDUR") return std::to_string(c.CalcDur);
    if (id == "RINGTIME") return std::to_string(c.RingTime);
    if (id == "IMPULSE") return std::to_string(c.Impulse);
    if (id == "COST") return MoneyText(c.Cost);
    if (id == "READINCOST") return MoneyText(c.ReadInCost);
    if (id == "INCOMING") return call.Incoming ? "1" : "0";
    if (id == "INNERCALL") return call.Inner ? "1" : "0";
    if (id == "PRIVATECALL") return call.Private ? "1" : "0";
    if (id == "PINCODE") return call.Pin;
    if (id == "ACCOUNTCODE") return call.Account;
    if (id == "CALLCLASS") return std::to_string(call.CallClass);
    throw TListWriterError(std::string(UnitName) + "No sample values for the column " + std::string(id) + "!");
}

// --- the generation document -------------------------------------------

struct TGenerationValues {
    int Language = 0;
    std::string SystemName, ListId, ListFileName;
    std::string Kind, Title;
    std::vector<std::string> Columns;
    std::vector<std::vector<std::string>> Levels;   // key ids per level, outermost first
};

void AppendColumns(pugi::xml_node parent, const std::vector<std::string> &ids, bool withVisible)
{
    for (const std::string &id : ids) {
        pugi::xml_node column = parent.append_child("column");
        column.append_attribute("id") = id.c_str();
        if (withVisible) column.append_attribute("visible") = "True";
    }
}

pugi::xml_node AppendGeneration(pugi::xml_document &document, const TGenerationValues &v)
{
    pugi::xml_node generation = document.append_child("listgeneration");
    const std::pair<const char *, std::string> attributes[] = {
        {"userdir", "C:\\TARVILEX\\USERS\\ADMIN"},
        {"systemname", v.SystemName},
        {"language", std::to_string(v.Language)},
        {"listID", v.ListId},
        {"user", "ADMIN"},
        {"dateofgeneration", "2013-04-01 06:30:00"},
        {"system", "TVX-0042-7731"},
        {"createtime", "2012-11-15 09:12:44"},
        {"host", "TARVILEX-SRV"},
        {"HDID", "904347112"},
    };
    for (const auto &[name, value] : attributes) generation.append_attribute(name) = value.c_str();

    pugi::xml_node outer = generation.append_child("listtype");
    outer.append_attribute("listfilename") = v.ListFileName.c_str();
    pugi::xml_node listType = outer.append_child("listtype");
    listType.append_attribute("type") = v.Kind.c_str();
    listType.append_attribute("title") = v.Title.c_str();
    AppendColumns(listType.append_child("columns"), v.Columns, false);
    if (!v.Levels.empty()) {
        pugi::xml_node breaks = listType.append_child("controlbreaks");
        for (const auto &keys : v.Levels) AppendColumns(breaks.append_child("controlbreak"), keys, true);
    }
    return generation;
}

using TItem = std::vector<std::pair<const char *, std::string>>;

void AppendCriterion(pugi::xml_node variant, const char *id, bool selected, const std::vector<TItem> &items)
{
    pugi::xml_node criterion = variant.append_child("criterion");
    criterion.append_attribute("id") = id;
    criterion.append_attribute("selected") = selected ? "True" : "False";
    for (const TItem &item : items) {
        pugi::xml_node node = criterion.append_child("item");
        for (const auto &[name, value] : item) node.append_attribute(name) = value.c_str();
    }
}

// The term of every sample: the whole previous month of the generation day.
pugi::xml_node AppendCondition(pugi::xml_node generation, const char *name)
{
    pugi::xml_node condition = generation.append_child("conditions").append_child("listcondition");
    condition.append_attribute("name") = name;
    condition.append_attribute("startdate") = "0/-1/1";
    condition.append_attribute("enddate") = "0/-1/31";
    return condition.append_child("variants");
}

std::vector<TItem> CostCentreItems(bool english)
{
    std::vector<TItem> items;
    for (const TPerson &p : Persons) {
        const std::string name = english ? p.CostCentreEnglish : p.CostCentre;
        if (items.empty() || items.back().front().second != name) items.push_back({{"name", name}});
    }
    return items;
}

std::vector<TItem> ExtensionItems()
{
    std::vector<TItem> items;
    for (const TPerson &p : Persons) items.push_back({{"id", p.Extension}});
    return items;
}

// Column widths of the main window for the detailed sample at full depth.
void AppendScreenFormat(pugi::xml_node generation, int columns)
{
    pugi::xml_node format = generation.append_child("formats").append_child("format").append_child("listformat");
    format.append_attribute("name") = "";
    format.append_attribute("formattype") = "screen";
    format.append_attribute("language") = "0";
    pugi::xml_node depth = format.append_child("_2");
    depth.append_attribute("controlbreakwidth") = "330";
    const int widths[] = {76, 62, 44, 120, 150, 44, 110, 90, 64, 64, 56, 54, 70, 70, 60, 60, 60, 56, 96};
    for (int i = 0; i < columns && i < int(std::size(widths)); ++i)
        depth.append_child(("column" + std::to_string(i)).c_str()).append_attribute("width") = widths[i];
    pugi::xml_node level0 = depth.append_child("controlbreak0");
    level0.append_attribute("height") = "150";
    level0.append_child("column0").append_attribute("width") = "160";
    pugi::xml_node level1 = depth.append_child("controlbreak1");
    level1.append_attribute("height") = "260";
    level1.append_child("column0").append_attribute("width") = "50";
    level1.append_child("column1").append_attribute("width") = "140";
}

TListHeader SampleHeader(const std::string &firstText, const std::string &remark)
{
    TListHeader header;
    header.GenerationTime = ParseIsoDateTime("2013-04-01 06:30:00");
    header.FirstDay = ParseIsoDateTime("2013-03-01");
    header.LastDay = ParseIsoDateTime("2013-03-31");
    header.FirstText = firstText;
    header.Remark = remark;
    return header;
}

void WriteCalls(TListFileWriter &writer, const std::vector<TSampleCall> &calls, bool english)
{
    std::vector<std::string> values(writer.Columns().size());
    for (const TSampleCall &call : calls) {
        for (std::size_t i = 0; i < values.size(); ++i) values[i] = ColumnValue(call, writer.Columns()[i], english);
        writer.AddCall(values, call.Counters);
    }
}

const std::vector<std::string> DetailedColumns = {
    "STRDATE", "ITIME", "EXTENSION", "NAME", "COSTCENTER", "TRUNK", "NUMBER", "ZONE", "DURATION", "CALCDUR",
    "RINGTIME", "IMPULSE", "COST", "READINCOST", "INCOMING", "INNERCALL", "PRIVATECALL", "PINCODE", "ACCOUNTCODE"};

void WriteDetailedSample(const std::string &fileName, const std::string &dataFolder, bool empty)
{
    TGenerationValues v;
    v.SystemName = "Példa Kereskedelmi Kft.";
    v.Kind = "detailed";
    v.Columns = DetailedColumns;
    pugi::xml_document document;
    pugi::xml_node generation;
    if (empty) {
        v.ListId = "{3C0B5E7A-91D4-4F2B-A8E6-5D17C2F09B44}";
        v.ListFileName = "Recepció hívásai";
        v.Title = "Recepció hívásai|Calls of the reception";
        v.Levels = {{"COSTCENTER"}};
        generation = AppendGeneration(document, v);
        pugi::xml_node variant = AppendCondition(generation, "Recepció|Reception").append_child("variant");
        AppendCriterion(variant, "EXTENSION", true, {{{"id", "999"}}});
    } else {
        v.ListId = "{6F1C2A9E-3B7D-4E52-9A0C-81D4F2B6E731}";
        v.ListFileName = "Részletes hívásliszta költséghelyenként";
        v.Title = "Részletes hívásliszta|Detailed call list";
        v.Levels = {{"COSTCENTER"}, {"EXTENSION", "NAME"}};
        generation = AppendGeneration(document, v);
        AppendScreenFormat(generation, int(v.Columns.size()));
        pugi::xml_node variants = AppendCondition(generation, "Márciusi hívások költséghelyenként|Calls of March by cost centre");
        pugi::xml_node first = variants.append_child("variant");
        AppendCriterion(first, "COSTCENTER", true, CostCentreItems(false));
        AppendCriterion(first, "TRUNK", false, {{{"id", "09"}}, {{"id", "10"}}});
        AppendCriterion(first, "DURATION", true, {{{"lowerlimit", "0:00:05"}, {"upperlimit", "9:59:59"}}});
        pugi::xml_node second = variants.append_child("variant");
        AppendCriterion(second, "EXTENSION", true, {{{"id", "101"}}, {{"id", "102"}}});
        AppendCriterion(second, "INCOMING", true, {{{"value", "True"}}});
    }
    CompleteGenerationDocuments(generation, dataFolder);

    TListFileWriter writer(fileName,
                           SampleHeader(v.ListFileName, empty ? "Nem volt hívás a recepcióról." : "Márciusi hívások – próbalista"),
                           generation);
    if (!empty) {
        std::vector<TSampleCall> calls = MakeCalls(2000, 20130401);
        std::stable_sort(calls.begin(), calls.end(),
                         [](const TSampleCall &a, const TSampleCall &b) { return a.Person < b.Person; });
        WriteCalls(writer, calls, false);
    }
    writer.Finish();
}

void WriteSummarySample(const std::string &fileName, const std::string &dataFolder)
{
    TGenerationValues v;
    v.Language = 1;
    v.SystemName = "Example Trading Ltd.";
    v.ListId = "{A4E92D13-6C58-4B07-9F3E-2B81D6C0E5A7}";
    v.ListFileName = "Monthly summary by extension";
    v.Kind = "summary";
    v.Title = "Összesítő lista mellékenként|Summary by extension";
    v.Columns = {"COSTCENTER", "EXTENSION", "NAME"};
    v.Levels = {{"COSTCENTER"}};
    pugi::xml_document document;
    pugi::xml_node generation = AppendGeneration(document, v);
    pugi::xml_node variant = AppendCondition(generation, "Havi összesítő|Monthly summary").append_child("variant");
    AppendCriterion(variant, "EXTENSION", true, ExtensionItems());
    AppendCriterion(variant, "NUMBER", false, {{{"number", "0690"}, {"length", "4"}}});
    CompleteGenerationDocuments(generation, dataFolder);

    TListFileWriter writer(fileName, SampleHeader(v.ListFileName, "Calls of March, summed per extension"), generation);
    std::vector<TSampleCall> calls = MakeCalls(1500, 20130402);
    std::stable_sort(calls.begin(), calls.end(),
                     [](const TSampleCall &a, const TSampleCall &b) { return a.Person < b.Person; });
    WriteCalls(writer, calls, true);
    writer.Finish();
}

void WriteStatisticsSample(const std::string &fileName, const std::string &dataFolder)
{
    TGenerationValues v;
    v.SystemName = "Példa Kereskedelmi Kft.";
    v.ListId = "{D2795F06-8E3A-4C1B-B6D4-7A0E93C5F218}";
    v.ListFileName = "Hívásstatisztika hívásosztályonként";
    v.Kind = "statistics";
    v.Title = "Hívásstatisztika|Call statistics";
    v.Columns = {"CALLCLASS"};
    pugi::xml_document document;
    pugi::xml_node generation = AppendGeneration(document, v);
    pugi::xml_node listType = generation.child("listtype").child("listtype");
    for (const char *zone : {"codeT", "code0", "code1", "code2"}) listType.append_attribute(zone) = "True";
    pugi::xml_node classes = listType.append_child("classes");
    classes.append_attribute("title") = "Hívásosztály|Call class";
    for (const char *name : {"Hivatalos kimenő|Official outgoing", "Magán kimenő|Private outgoing", "Bejövő|Incoming",
                             "Belső|Inner"})
        classes.append_child("class").append_attribute("name") = name;
    pugi::xml_node variant = AppendCondition(generation, "Hívásstatisztika|Call statistics").append_child("variant");
    AppendCriterion(variant, "TRUNK", true,
                    {{{"id", "01"}}, {{"id", "02"}}, {{"id", "03"}}, {{"id", "04"}}, {{"id", "05"}}, {{"id", "06"}}});
    AppendCriterion(variant, "RINGTIME", true, {{{"lowerlimit", "0:00:00"}, {"upperlimit", "0:01:00"}}});
    CompleteGenerationDocuments(generation, dataFolder);

    TListFileWriter writer(fileName, SampleHeader(v.ListFileName, "Márciusi hívásstatisztika"), generation);
    std::vector<TSampleCall> calls = MakeCalls(1200, 20130403);
    std::stable_sort(calls.begin(), calls.end(),
                     [](const TSampleCall &a, const TSampleCall &b) { return a.CallClass < b.CallClass; });
    WriteCalls(writer, calls, false);
    writer.Finish();
}

// --- generated benchmark lists --------------------------------------------

constexpr int GeneratedCostCentres = 25;
constexpr int GeneratedExtensions = 1000;
const char *const Surnames[] = {"Kovács", "Szabó", "Horváth", "Kiss", "Nagy", "Tóth", "Varga", "Molnár", "Németh",
                                "Farkas", "Balogh", "Papp", "Takács", "Juhász", "Lakatos", "Mészáros", "Oláh",
                                "Simon", "Rácz", "Fekete"};
const char *const GivenNames[] = {"Péter", "Éva", "Gábor", "Júlia", "Zoltán", "Ákos", "Réka", "Győző", "Ildikó",
                                  "László", "Erzsébet", "Enikő", "Ferenc", "Ágnes", "Imre", "Tünde", "Ödön",
                                  "Krisztina", "Béla", "Zsófia"};

// No STRDATE: an all-zero sparse record must still display, and an empty
// STRDATETIME shows the current time instead of failing.
const std::vector<std::string> GeneratedColumns = {"STRDATETIME", "EXTENSION", "NAME",   "COSTCENTER", "TRUNK",
                                                   "NUMBER",      "ZONE",      "DURATION", "RINGTIME", "IMPULSE",
                                                   "COST",        "INCOMING",  "PRIVATECALL"};

}  // namespace

void WriteSampleList(const std::string &kind, const std::string &fileName, const std::string &dataFolder)
{
    if (kind == "detailed")
        WriteDetailedSample(fileName, dataFolder, false);
    else if (kind == "empty")
        WriteDetailedSample(fileName, dataFolder, true);
    else if (kind == "summary")
        WriteSummarySample(fileName, dataFolder);
    else if (kind == "statistics")
        WriteStatisticsSample(fileName, dataFolder);
    else
        throw TListWriterError(std::string(UnitName) + "Unknown sample kind \"" + kind +
                               "\" (detailed, summary, statistics or empty)");
}

void WriteGeneratedDetailedList(std::int32_t count, int levels, bool sparse, const std::string &fileName,
                                const std::string &dataFolder)
{
    if (count < 0) throw TListWriterError(std::string(UnitName) + "Invalid record count " + std::to_string(count) + "!");
    if (levels < 0 || levels > 2)
        throw TListWriterError(std::string(UnitName) + "Invalid level count " + std::to_string(levels) + " (0, 1 or 2)");
    if (sparse && levels != 0)
        throw TListWriterError(std::string(UnitName) + "A sparse list cannot have control breaks!");

    TGenerationValues v;
    v.SystemName = "Példa Kereskedelmi Kft.";
    v.ListId = "{0B7E4C92-5A16-4D83-9E2F-C41A8B6D3075}";
    v.ListFileName = "Teljesítményteszt hívásliszta";
    v.Kind = "detailed";
    v.Title = "Teljesítményteszt|Benchmark list";
    v.Columns = GeneratedColumns;
    if (levels >= 1) v.Levels.push_back({"COSTCENTER"});
    if (levels >= 2) v.Levels.push_back({"EXTENSION", "NAME"});
    pugi::xml_document document;
    pugi::xml_node generation = AppendGeneration(document, v);
    pugi::xml_node variant = AppendCondition(generation, "Minden hívás|All calls").append_child("variant");
    AppendCriterion(variant, "INCOMING", true, {{{"value", "False"}}});
    CompleteGenerationDocuments(generation, dataFolder);

    TListFileWriter writer(fileName, SampleHeader(v.ListFileName, "Generált lista"), generation);
    if (sparse) {
        writer.AddSparseRecords(count);
        writer.Finish();
        return;
    }

    TSampleRandom random(0x7A21u + std::uint64_t(count));
    std::vector<std::string> values(GeneratedColumns.size());
    constexpr int Month = 31 * 86400;
    int extension = -1;
    std::int64_t groupStart = 0, groupEnd = 0;
    TCallCounters counters;
    for (std::int64_t i = 0; i < count; ++i) {
        // Extension e takes calls e * N / E up to (e + 1) * N / E - 1, so the
        // input is sorted by cost centre and extension by construction.
        while (i >= groupEnd) {
            ++extension;
            groupStart = groupEnd;
            groupEnd = (std::int64_t(extension) + 1) * count / GeneratedExtensions;
            if (groupEnd > groupStart) {
                const int centre = extension / (GeneratedExtensions / GeneratedCostCentres);
                values[1] = std::to_string(1000 + extension);
                values[2] = std::string(Surnames[extension % 20]) + " " + GivenNames[extension / 20 % 20];
                values[3] = "Költséghely " + TwoDigits(centre + 1);
            }
        }
        const std::int64_t second = (i - groupStart) * Month / (groupEnd - groupStart);
        const int day = int(second / 86400) + 1, time = int(second % 86400);
        values[0] = "201303" + TwoDigits(day) + TwoDigits(time / 3600) + TwoDigits(time / 60 % 60) + TwoDigits(time % 60);
        const bool incoming = random.Chance(25);
        counters = TCallCounters{};
        counters.Duration = 5 + random.Below(600);
        counters.RingTime = 2 + random.Below(24);
        if (incoming) {
            values[4] = "05";
            values[5] = "0630" + random.Digits(7);
            values[6] = "Bejövő";
        } else {
            const int z = WeightedPick(random, TariffZones, ZoneWeight);
            values[4] = "0" + std::to_string(1 + random.Below(4));
            values[5] = TariffZones[z].Prefixes[0] + random.Digits(NumberDigits[z]);
            values[6] = TariffZones[z].Name;
            counters.ZoneIndex = TariffZones[z].Summarized;
            counters.CalcDur = (counters.Duration + 59) / 60 * 60;
            counters.Impulse = counters.CalcDur / 60 * TariffZones[z].ImpulsesPerMinute;
            counters.Cost = counters.Impulse * CostPerImpulse;
            counters.ReadInCost = counters.Impulse * ReadInCostPerImpulse;
        }
        values[7] = std::to_string(counters.Duration);
        values[8] = std::to_string(counters.RingTime);
        values[9] = std::to_string(counters.Impulse);
        values[10] = MoneyText(counters.Cost);
        values[11] = incoming ? "1" : "0";
        values[12] = !incoming && random.Chance(5) ? "1" : "0";
        writer.AddCall(values, counters);
    }
    writer.Finish();
}

}  // namespace tools
