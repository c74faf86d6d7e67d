#pragma once
// The listing condition under which the open list was produced
// ("listcondition" of the generation document): its term, resolved against
// the reference date, its name and its description in words.
#include "dictionary/DateTimeUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <string>
#include <string_view>
#include <vector>

namespace model {

class TConditionModule;

class TListConditionModule {
public:
    bool ConditionsAreEmpty() const;                // "listcondition" has no child elements
    // "startdate" / "enddate" as year/month/day, resolved with
    // dictionary::ResolveRelativeDate; a malformed text raises the conversion error.
    dictionary::TDateTime ListingStartDate() const;
    dictionary::TDateTime ListingEndDate() const;
    std::string ListConditionName() const;          // "name" in the current language
    // The term line, then the variants as conditions describes them; conditions
    // is rebuilt from this document first.
    void DescribeListCondition(TConditionModule &conditions, std::vector<std::string> &lines) const;

    platform::TXmlDocument ListCondition;
};

// Relative conditions are read against the day the list was generated: the
// date part of "dateofgeneration" becomes the reference date. Raises the
// conversion error when the text has no valid date part.
void SetReferenceDateOfGeneration(std::string_view dateOfGeneration);

}  // namespace model
