#pragma once
// The data modules of the process, created in start-up order. Each holds one
// XML document for the life of the process; opening a list replaces their
// contents.
#include "dictionary/LanguageUnit.h"
#include "formats/ListFormatModuleUnit.h"
#include "model/ConditionModuleUnit.h"
#include "model/ListConditionModuleUnit.h"
#include "model/ListFieldsModuleUnit.h"
#include "model/ListGenerationModuleUnit.h"
#include "model/ListTypeModuleUnit.h"
#include "model/TarvilexDataModuleUnit.h"

#include <memory>
#include <string>
#include <vector>

namespace app {

struct TDataModules {
    // Loads the files beside the program (platform::ProgramFolder()). A file
    // that cannot be parsed leaves its module empty and its message in
    // StartupErrors, so that the program still starts and says why.
    TDataModules();

    std::unique_ptr<dictionary::TLanguageModule> Language;
    model::TListGenerationModule ListGeneration;
    model::TListConditionModule ListCondition;
    model::TConditionModule ConditionDescription;   // the variants being described
    model::TTarvilexDataModule TarvilexData;   // before ListFields, which asks it
    model::TListFieldsModule ListFields;
    model::TListTypeModule ListType;
    formats::TListFormatModule ListFormat;     // the current list format

    std::vector<std::string> StartupErrors;
};

}  // namespace app
