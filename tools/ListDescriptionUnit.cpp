#include "tools/ListDescriptionUnit.h"

#include "platform/XmlDocumentUnit.h"
#include "tools/ListFileWriterUnit.h"
#include "tools/ShippedDocumentsUnit.h"

#include <charconv>
#include <map>

namespace tools {

namespace {

constexpr const char *UnitName = "ListDescriptionUnit: ";

std::string CallName(int number)
{
    return "call " + std::to_string(number);
}

std::int32_t IntegerValue(std::string_view text, const std::string &where)
{
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw TListWriterError(std::string(UnitName) + where + ": \"" + std::string(text) + "\" is no integer!");
    return value;
}

double FloatValue(std::string_view text, const std::string &where)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw TListWriterError(std::string(UnitName) + where + ": \"" + std::string(text) + "\" is no number!");
    return value;
}

TCallCounters ReadCounters(pugi::xml_node call, const std::string &where)
{
    TCallCounters c;
    std::int32_t *integers[] = {&c.ZoneIndex, &c.Duration, &c.CalcDur, &c.Impulse, &c.RingTime};
    const char *integerNames[] = {"zoneindex", "duration", "calcdur", "impulse", "ringtime"};
    for (std::size_t i = 0; i < std::size(integers); ++i)
        if (pugi::xml_attribute a = call.attribute(integerNames[i]))
            *integers[i] = IntegerValue(a.value(), where + " " + integerNames[i]);
    if (pugi::xml_attribute a = call.attribute("cost")) c.Cost = FloatValue(a.value(), where + " cost");
    if (pugi::xml_attribute a = call.attribute("readincost")) c.ReadInCost = FloatValue(a.value(), where + " readincost");
    return c;
}

bool IsCounterName(std::string_view name)
{
    for (const char *counter : {"zoneindex", "duration", "calcdur", "impulse", "cost", "readincost", "ringtime"})
        if (name == counter) return true;
    return false;
}

}  // namespace

void WriteDescribedList(const std::string &descriptionFile, const std::string &fileName, const std::string &dataFolder)
{
    platform::TXmlDocument description;
    description.LoadFromFile(descriptionFile);
    const pugi::xml_node root = description.Root();
    if (std::string_view(root.name()) != "listdescription")
        throw TListWriterError(std::string(UnitName) + descriptionFile + " is no listdescription document!");
    pugi::xml_node generation = root.child("listgeneration");
    if (!generation) throw TListWriterError(std::string(UnitName) + descriptionFile + " has no listgeneration element!");
    CompleteGenerationDocuments(generation, dataFolder);

    TListHeader header;
    const struct {
        const char *Name;
        dictionary::TDateTime *Value;
    } dates[] = {{"generationtime", &header.GenerationTime}, {"firstday", &header.FirstDay}, {"lastday", &header.LastDay}};
    for (const auto &d : dates) {
        if (!root.attribute(d.Name))
            throw TListWriterError(std::string(UnitName) + "The listdescription has no " + d.Name + " attribute!");
        *d.Value = ParseIsoDateTime(root.attribute(d.Name).value());
    }
    header.FirstText = root.attribute("firsttext").value();
    header.Remark = root.attribute("remark").value();

    TListFileWriter writer(fileName, header, generation);
    std::map<std::string, std::size_t, std::less<>> columnIndex;
    for (std::size_t i = 0; i < writer.Columns().size(); ++i) columnIndex.emplace(writer.Columns()[i], i);

    std::vector<std::string> values(writer.Columns().size());
    int number = 0;
    for (pugi::xml_node call : root.child("calls").children()) {
        if (call.type() != pugi::node_element) continue;
        ++number;
        const std::string where = CallName(number);
        if (std::string_view(call.name()) != "call")
            throw TListWriterError(std::string(UnitName) + where + ": unexpected element " + call.name() + "!");
        std::fill(values.begin(), values.end(), std::string());
        for (pugi::xml_attribute a : call.attributes()) {
            if (IsCounterName(a.name())) continue;
            const auto column = columnIndex.find(std::string_view(a.name()));
            if (column == columnIndex.end())
                throw TListWriterError(std::string(UnitName) + where + ": " + a.name() + " is no column of the list!");
            values[column->second] = a.value();
        }
        try {
            writer.AddCall(values, ReadCounters(call, where));
        } catch (const TListWriterError &e) {
            const std::string text = e.what();
            if (text.rfind(UnitName, 0) == 0) throw;
            throw TListWriterError(text + " in " + where);
        }
    }
    writer.Finish();
}

}  // namespace tools
