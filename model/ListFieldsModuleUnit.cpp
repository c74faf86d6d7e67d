#include "model/ListFieldsModuleUnit.h"

#include "platform/FileUnit.h"

#include <stdexcept>

namespace model {

namespace {

constexpr std::string_view MarkId = "MARK";

pugi::xml_node FirstChildWith(pugi::xml_node parent, const char *attribute, std::string_view value)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element && value == child.attribute(attribute).value()) return child;
    return {};
}

}  // namespace

TListFieldsModule::TListFieldsModule(const TTarvilexDataModule &schema, const std::string &fileName) : Schema(schema)
{
    if (!fileName.empty() && platform::FileExists(fileName)) ListFields.LoadFromFile(fileName);
}

std::string TListFieldsModule::DefaultFileName()
{
    return platform::ProgramFolder() + "ListFields.XML";
}

pugi::xml_node TListFieldsModule::FindColumn(std::string_view id, std::string_view listType) const
{
    const pugi::xml_node fields = ListFields.Document().child("fields");
    return FirstChildWith(fields.child(std::string(listType).c_str()), "id", id);
}

std::string TListFieldsModule::FieldTitle(std::string_view id, std::string_view listType) const
{
    if (id == MarkId) return "_Mark";
    const auto underscore = id.find('_');
    if (underscore != std::string_view::npos) {
        const std::string_view zone = id.substr(underscore + 1);
        if (zone == "T") return "_Total";
        const pugi::xml_node zones = ListFields.Document().child("fields").child("summarizedzones");
        return platform::AttributeText(FirstChildWith(zones, "code", zone), "title");
    }
    return platform::AttributeText(FindColumn(id, listType), "title");
}

int TListFieldsModule::FieldAlignment(std::string_view id, std::string_view listType) const
{
    if (id == MarkId) return dtCenter | dtVCenter;
    if (id.find('_') != std::string_view::npos) return dtRight | dtTop;
    const pugi::xml_node column = FindColumn(id, listType);
    if (!column) return dtCenter | dtVCenter;
    const std::string alignment = platform::AttributeText(column, "alignment");
    const auto has = [&](const char *word) { return alignment.find(word) != std::string::npos; };
    const int horizontal = has("right") ? dtRight : has("left") ? dtLeft : dtCenter;
    const int vertical = has("top") ? dtTop : has("bottom") ? dtBottom : dtVCenter;
    return horizontal + vertical;
}

bool TListFieldsModule::FieldSummable(std::string_view id, std::string_view listType) const
{
    if (id.find('_') != std::string_view::npos) return false;
    const pugi::xml_node column = FindColumn(id, listType);
    if (!column) return false;
    // A presentation look-up never fails: a missing or malformed flag is false.
    try {
        return platform::AttributeAsBoolean(column, "summable");
    } catch (const platform::TConversionError &) {
        return false;
    }
}

pugi::xml_node TListFieldsModule::FindListField(std::string_view id) const
{
    const pugi::xml_node fields = ListFields.Document().child("fields");
    for (const char *list : {"detailed", "summary", "invoice"})
        if (const pugi::xml_node column = FirstChildWith(fields.child(list), "id", id)) return column;
    return {};
}

pugi::xml_node TListFieldsModule::RequireListField(std::string_view id) const
{
    const pugi::xml_node column = FindListField(id);
    if (!column) {
        const std::string message = "ListFieldsModuleUnit: Invalid field! " + std::string(id);
        WriteLogLine(message);
        throw std::runtime_error(message);
    }
    return column;
}

std::string TListFieldsModule::FieldTypeName(std::string_view id) const
{
    if (id == MarkId) return "boolean";
    return Schema.SchemaFieldType(platform::AttributeText(RequireListField(id), "tablefield"));
}

int TListFieldsModule::FieldLength(std::string_view id) const
{
    if (id == MarkId) return 0;
    return Schema.SchemaFieldLength(platform::AttributeText(RequireListField(id), "tablefield"));
}

int TListFieldsModule::SummarizedZoneCount() const
{
    return platform::ElementChildCount(ListFields.Document().child("fields").child("summarizedzones"));
}

std::unique_ptr<TTarvilexField> MakeListField(const TListFieldsModule &fields, std::string_view id)
{
    const std::uint8_t type = FieldTypeFromName(fields.FieldTypeName(id));
    return std::make_unique<TTarvilexField>(type, type == ftString ? fields.FieldLength(id) : 0);
}

}  // namespace model
