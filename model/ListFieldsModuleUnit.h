#pragma once
// The list-fields document ("fields"): per list type the columns a list can
// show, how to title and align them, and the schema field behind each; and
// the summarized zones, whose number fixes the size of every counter block.
#include "model/DataFieldUnit.h"
#include "model/TarvilexDataModuleUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <memory>
#include <string>
#include <string_view>

namespace model {

// Text-drawing alignment flags, as the columns' "alignment" yields them.
enum : int { dtLeft = 0, dtCenter = 1, dtRight = 2, dtTop = 0, dtVCenter = 4, dtBottom = 8 };

class TListFieldsModule {
public:
    // Borrows the schema. Loads fileName when it exists ("" = load nothing).
    explicit TListFieldsModule(const TTarvilexDataModule &schema, const std::string &fileName = DefaultFileName());
    static std::string DefaultFileName();                  // program folder + "ListFields.XML"

    // Presentation look-ups in the list of the given type; they never fail.
    std::string FieldTitle(std::string_view id, std::string_view listType) const;
    int FieldAlignment(std::string_view id, std::string_view listType) const;
    bool FieldSummable(std::string_view id, std::string_view listType) const;

    // Layout look-ups over "detailed", "summary", "invoice"; an id none of
    // them defines is logged and raised as "ListFieldsModuleUnit: Invalid field! " + id.
    std::string FieldTypeName(std::string_view id) const;
    int FieldLength(std::string_view id) const;
    pugi::xml_node FindListField(std::string_view id) const;   // none when no list has it
    int SummarizedZoneCount() const;                       // children of fields/summarizedzones

    platform::TXmlDocument ListFields;

private:
    pugi::xml_node FindColumn(std::string_view id, std::string_view listType) const;
    pugi::xml_node RequireListField(std::string_view id) const;
    const TTarvilexDataModule &Schema;
};

// Builds a field of the column's type and length (what the loader and the writer both do).
std::unique_ptr<TTarvilexField> MakeListField(const TListFieldsModule &fields, std::string_view id);

}  // namespace model
