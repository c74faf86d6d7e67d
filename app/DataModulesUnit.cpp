#include "app/DataModulesUnit.h"

#include "platform/FileUnit.h"

namespace app {

namespace {
void LoadBesideProgram(platform::TXmlDocument &doc, const char *fileName, std::vector<std::string> &errors)
{
    const std::string path = platform::ProgramFolder() + fileName;
    if (!platform::FileExists(path)) return;
    try {
        doc.LoadFromFile(path);
    } catch (const std::exception &e) {
        errors.push_back(e.what());
    }
}
}  // namespace

// The dictionary comes first: every later creation may translate through it.
TDataModules::TDataModules()
    : Language(std::make_unique<dictionary::TLanguageModule>()), ConditionDescription(""), TarvilexData(""),
      ListFields(TarvilexData, ""), ListFormat(ListType, ListFields, *Language)
{
    if (!Language->LoadError().empty()) StartupErrors.push_back(Language->LoadError());
    LoadBesideProgram(ListFields.ListFields, "ListFields.XML", StartupErrors);
    LoadBesideProgram(TarvilexData.TarvilexData, "TarvilexData.XML", StartupErrors);
    LoadBesideProgram(ConditionDescription.ConditionTypes, "ConditionTypes.XML", StartupErrors);
}

}  // namespace app
