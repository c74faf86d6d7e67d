#pragma once
// A working copy of the condition variants of a listing condition ("Condition",
// root "variants") and their description in words, one line per heading and
// item. Also holds the shipped criterion kinds ("ConditionTypes.XML").
#include "platform/XmlDocumentUnit.h"

#include <string>
#include <vector>

namespace model {

class TConditionModule {
public:
    // DataModuleCreate: loads conditionTypesFile into ConditionTypes when it
    // exists ("" = load nothing; a malformed file raises the parser's error),
    // otherwise starts from the skeleton condition.
    explicit TConditionModule(const std::string &conditionTypesFile = DefaultFileName());
    static std::string DefaultFileName();    // program folder + "ConditionTypes.XML"

    // The skeleton: one variant without criteria.
    void ResetCondition();
    // Per variant: "<n>. " + "_conditionvariant", then its DescribeVariant lines.
    void DescribeVariants(std::vector<std::string> &lines) const;
    // The lines of variant index (0-based). A missing "selected", or "value"
    // of a yes/no criterion, raises the conversion error; unknown criterion
    // ids give no lines.
    std::vector<std::string> DescribeVariant(int index) const;

    platform::TXmlDocument Condition;
    platform::TXmlDocument ConditionTypes;
};

}  // namespace model
