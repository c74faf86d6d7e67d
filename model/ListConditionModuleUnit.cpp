#include "model/ListConditionModuleUnit.h"

#include "dictionary/LanguageUnit.h"
#include "model/ConditionModuleUnit.h"

namespace model {

namespace {

// Three signed integers split at the first two "/".
dictionary::TDateTime ResolveTermDate(const std::string &text, const char *attribute)
{
    const std::size_t first = text.find('/');
    const std::size_t second = first == std::string::npos ? std::string::npos : text.find('/', first + 1);
    try {
        if (second == std::string::npos) throw platform::TConversionError("'" + text + "' is not year/month/day");
        const int year = platform::TextToInteger(std::string_view(text).substr(0, first));
        const int month = platform::TextToInteger(std::string_view(text).substr(first + 1, second - first - 1));
        const int day = platform::TextToInteger(std::string_view(text).substr(second + 1));
        return dictionary::ResolveRelativeDate(year, month, day);
    } catch (const platform::TConversionError &e) {
        throw platform::TConversionError(std::string("ListConditionModuleUnit: Invalid ") + attribute + ": " + e.what());
    }
}

}  // namespace

bool TListConditionModule::ConditionsAreEmpty() const
{
    return platform::ElementChildCount(ListCondition.Root()) == 0;
}

dictionary::TDateTime TListConditionModule::ListingStartDate() const
{
    return ResolveTermDate(platform::AttributeText(ListCondition.Root(), "startdate"), "startdate");
}

dictionary::TDateTime TListConditionModule::ListingEndDate() const
{
    return ResolveTermDate(platform::AttributeText(ListCondition.Root(), "enddate"), "enddate");
}

std::string TListConditionModule::ListConditionName() const
{
    return dictionary::SelectLanguagePart(platform::AttributeText(ListCondition.Root(), "name"));
}

void TListConditionModule::DescribeListCondition(TConditionModule &conditions, std::vector<std::string> &lines) const
{
    lines.clear();
    lines.push_back(dictionary::Translate("_ListingTerm") + ": " + dictionary::FormatDate(ListingStartDate()) + " - " +
                    dictionary::FormatDate(ListingEndDate()));
    if (ConditionsAreEmpty()) {
        conditions.ResetCondition();
    } else {
        // A condition without a "variants" element has no variant to describe.
        const pugi::xml_node variants = ListCondition.Root().child("variants");
        conditions.Condition.LoadFromText(variants ? platform::ElementXml(variants) : std::string("<variants/>"));
    }
    conditions.DescribeVariants(lines);
}

void SetReferenceDateOfGeneration(std::string_view dateOfGeneration)
{
    dictionary::SetReferenceDate(dictionary::ParseIsoDate(dateOfGeneration));
}

}  // namespace model
