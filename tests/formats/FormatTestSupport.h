#pragma once
// A small open-list context for format tests: a dictionary with the few
// words the default formats ask for, list fields with two zones and a list
// type given by the test.
#include "dictionary/LanguageUnit.h"
#include "formats/ListFormatModuleUnit.h"
#include "model/ListFieldsModuleUnit.h"
#include "model/ListTypeModuleUnit.h"
#include "model/TarvilexDataModuleUnit.h"
#include "tests/support/TestSupport.h"

#include <string>

namespace formattest {

inline const char *kWords =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><words>"
    "<_subtotal language0=\"részösszeg\" language1=\"subtotal\"/>"
    "<_pcs language0=\"db\" language1=\"pcs\"/>"
    "<_Total language0=\"Összesen\" language1=\"Total\"/>"
    "<_Ext language0=\"Mellék\" language1=\"Extension\"/>"
    "<_Name language0=\"Név\" language1=\"Name\"/>"
    "<_Num language0=\"Szám\" language1=\"Number\"/>"
    "<_Dur language0=\"Idő\" language1=\"Duration\"/>"
    "<_Cost language0=\"Díj\" language1=\"Cost\"/>"
    "<_Local language0=\"Helyi\" language1=\"Local\"/>"
    "<_Far language0=\"Távolsági\" language1=\"Long\"/>"
    "</words>";

inline const char *kListFields =
    "<fields>"
    "<detailed>"
    "<f id=\"EXTENSION\" title=\"_Ext\" alignment=\"left\" summable=\"False\"/>"
    "<f id=\"NAME\" title=\"_Name\" alignment=\"left\" summable=\"False\"/>"
    "<f id=\"NUMBER\" title=\"_Num\" alignment=\"left\" summable=\"False\"/>"
    "<f id=\"DURATION\" title=\"_Dur\" alignment=\"right\" summable=\"True\"/>"
    "<f id=\"COST\" title=\"_Cost\" alignment=\"right\" summable=\"True\"/>"
    "</detailed>"
    "<summary>"
    "<f id=\"EXTENSION\" title=\"_Ext\" alignment=\"left\" summable=\"False\"/>"
    "<f id=\"NAME\" title=\"_Name\" alignment=\"center\" summable=\"False\"/>"
    "</summary>"
    "<statistics/>"
    "<summarizedzones><z code=\"0\" title=\"_Local\"/><z code=\"1\" title=\"_Far\"/></summarizedzones>"
    "</fields>";

// A detailed list of calls, broken by extension (shown with its name).
inline const char *kDetailedType =
    "<listtype type=\"detailed\" title=\"Hívások|Calls\">"
    "<columns><c id=\"NUMBER\"/><c id=\"DURATION\"/><c id=\"COST\"/></columns>"
    "<controlbreaks><b><k id=\"EXTENSION\" visible=\"True\"/><k id=\"NAME\" visible=\"True\"/></b></controlbreaks>"
    "</listtype>";

// Builds the module over a list type; the dictionary is the process's one
// for the fixture's life.
struct TFormatFixture {
    explicit TFormatFixture(const std::string &listType)
        : Dictionary(WriteWords(Folder), "TESTS"), Schema(""), Fields(Schema, ""),
          Module(Type, Fields, Dictionary)
    {
        Fields.ListFields.LoadFromText(kListFields);
        Type.ListType.LoadFromText(listType);
        Module.SetListFileName("LIST-IDENTIFIER");
    }
    // A default format built afresh.
    pugi::xml_node Build(const std::string &formatType, int level)
    {
        Module.SetFormatType(formatType);
        Module.ResetLevel();
        Module.BuildDefaultFormat(level);
        return Module.Format.Root();
    }
    pugi::xml_node Band(const char *name) const { return Module.Format.Root().child("page").child(name); }

    static std::string WriteWords(const testsupport::TTempFolder &folder)
    {
        testsupport::WriteFile(folder.File("Language.XML"), kWords);
        return folder.File("Language.XML");
    }

    testsupport::TTempFolder Folder;
    dictionary::TLanguageModule Dictionary;
    model::TTarvilexDataModule Schema;
    model::TListFieldsModule Fields;
    model::TListTypeModule Type;
    formats::TListFormatModule Module;
};

// Element names of the element children, joined by " ".
inline std::string ChildNames(pugi::xml_node node)
{
    std::string out;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) out += (out.empty() ? "" : " ") + std::string(c.name());
    return out;
}

// "name=value" of every attribute in order, joined by " ".
inline std::string AttributeList(pugi::xml_node node)
{
    std::string out;
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
        out += (out.empty() ? "" : " ") + std::string(a.name()) + "=" + a.value();
    return out;
}

}  // namespace formattest
