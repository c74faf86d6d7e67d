#include "model/ConditionModuleUnit.h"

#include "dictionary/LanguageUnit.h"
#include "platform/FileUnit.h"

#include <string_view>

namespace model {

namespace {

constexpr const char *SkeletonCondition =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-2\" standalone=\"yes\"?><variants><variant></variant></variants>";

const std::string HeadingIndent(5, ' ');
const std::string ItemIndent(10, ' ');

enum class TItemShape { Attribute, Interval, Number, YesNo };

struct TCriterionKind {
    const char *Id;
    const char *Group;         // dictionary key of the heading
    TItemShape Shape;
    const char *Item;          // the attribute shown (Attribute), or the key for true (YesNo)
    const char *No = nullptr;  // YesNo: the key for false
};

const TCriterionKind CriterionKinds[] = {
    {"EXTENSION", "_extensions", TItemShape::Attribute, "id"},
    {"EXTENSIONGRP", "_extensiongroups", TItemShape::Attribute, "name"},
    {"PINCODE", "_pins", TItemShape::Attribute, "name"},
    {"PINCODEGRP", "_PINgroups", TItemShape::Attribute, "name"},
    {"ACCOUNTCODE", "_accounts", TItemShape::Attribute, "id"},
    {"ACCOUNTCODEGRP", "_accountgroups", TItemShape::Attribute, "name"},
    {"TRUNK", "_trunks", TItemShape::Attribute, "id"},
    {"TRUNKGRP", "_trunkgroups", TItemShape::Attribute, "name"},
    {"COSTCENTER", "_costcenters", TItemShape::Attribute, "name"},
    {"ITIME", "_timeintervals", TItemShape::Interval, nullptr},
    {"DURATION", "_durationintervals", TItemShape::Interval, nullptr},
    {"RINGTIME", "_ringtimeintervals", TItemShape::Interval, nullptr},
    {"IMPULSE", "_impulseintervals", TItemShape::Interval, nullptr},
    {"PRICE", "_priceintervals", TItemShape::Interval, nullptr},
    {"READINPRICE", "_readinpriceintervals", TItemShape::Interval, nullptr},
    {"NUMBER", "_callnumbers", TItemShape::Number, nullptr},
    {"INCOMING", "_direction", TItemShape::YesNo, "_Incoming", "_Outgoing"},
    {"PRIVATECALL", "_privacy", TItemShape::YesNo, "_Private", "_Official"},
    {"MARK", "_marking", TItemShape::YesNo, "_Marked", "_NotMarked"},
    {"SUMMARIZEDZONE", "_summarizedzones", TItemShape::Attribute, "name"},
    {"ZONE", "_zones", TItemShape::Attribute, "name"},
    {"ORIGINID", "_originIDs", TItemShape::Attribute, "id"},
    {"RECORDORIGIN", "_recordorigins", TItemShape::Attribute, "name"},
};

const TCriterionKind *FindKind(std::string_view id)
{
    for (const TCriterionKind &kind : CriterionKinds)
        if (id == kind.Id) return &kind;
    return nullptr;
}

bool CriterionBoolean(pugi::xml_node node, const char *attribute, const char *id)
{
    try {
        return platform::AttributeAsBoolean(node, attribute);
    } catch (const platform::TConversionError &e) {
        throw platform::TConversionError(std::string("ConditionModuleUnit: Invalid ") + attribute + " of criterion " +
                                         id + ": " + e.what());
    }
}

std::string ItemText(const TCriterionKind &kind, pugi::xml_node item)
{
    using platform::AttributeText;
    switch (kind.Shape) {
    case TItemShape::Attribute: return AttributeText(item, kind.Item);
    case TItemShape::Interval: return AttributeText(item, "lowerlimit") + " - " + AttributeText(item, "upperlimit");
    case TItemShape::Number: return AttributeText(item, "number") + " [" + AttributeText(item, "length") + "]";
    case TItemShape::YesNo: break;
    }
    return {};
}

}  // namespace

TConditionModule::TConditionModule(const std::string &conditionTypesFile)
{
    if (!conditionTypesFile.empty() && platform::FileExists(conditionTypesFile))
        ConditionTypes.LoadFromFile(conditionTypesFile);
    else
        ResetCondition();
}

std::string TConditionModule::DefaultFileName()
{
    return platform::ProgramFolder() + "ConditionTypes.XML";
}

void TConditionModule::ResetCondition()
{
    Condition.LoadFromText(SkeletonCondition);
}

void TConditionModule::DescribeVariants(std::vector<std::string> &lines) const
{
    const int count = platform::ElementChildCount(Condition.Root());
    for (int i = 0; i < count; ++i) {
        lines.push_back(std::to_string(i + 1) + ". " + dictionary::Translate("_conditionvariant"));
        for (std::string &line : DescribeVariant(i)) lines.push_back(std::move(line));
    }
}

std::vector<std::string> TConditionModule::DescribeVariant(int index) const
{
    std::vector<std::string> lines;
    const pugi::xml_node variant = platform::ElementChild(Condition.Root(), index);
    for (pugi::xml_node criterion : variant.children()) {
        if (criterion.type() != pugi::node_element) continue;
        const std::string id = platform::AttributeText(criterion, "id");
        const TCriterionKind *kind = FindKind(id);
        if (!kind) continue;
        const bool selected = CriterionBoolean(criterion, "selected", kind->Id);
        lines.push_back(HeadingIndent + dictionary::Translate(selected ? "_TheSelected" : "_TheOmitted") + " " +
                        dictionary::Translate(kind->Group));
        if (kind->Shape == TItemShape::YesNo) {
            const bool value = CriterionBoolean(criterion.find_child([](pugi::xml_node n) {
                return n.type() == pugi::node_element;
            }), "value", kind->Id);
            lines.push_back(ItemIndent + dictionary::Translate(value ? kind->Item : kind->No));
            continue;
        }
        for (pugi::xml_node item : criterion.children())
            if (item.type() == pugi::node_element) lines.push_back(ItemIndent + ItemText(*kind, item));
    }
    return lines;
}

}  // namespace model
