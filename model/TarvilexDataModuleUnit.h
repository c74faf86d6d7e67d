#pragma once
// The data schema ("tarvilexdata"): every field of the call record with its
// type and, for text, its length. Also the program's log beside the program.
#include "platform/XmlDocumentUnit.h"

#include <string>
#include <string_view>

namespace model {

class TTarvilexDataModule {
public:
    // Loads fileName when it exists ("" = load nothing); a malformed file
    // raises the parser's error. Default: program folder + "TarvilexData.XML".
    explicit TTarvilexDataModule(const std::string &fileName = DefaultFileName());
    static std::string DefaultFileName();

    pugi::xml_node FindSchemaField(std::string_view name) const;   // first child of "fields" by "name"
    std::string SchemaFieldType(std::string_view name) const;      // "" when unknown
    // "length" of a string field (conversion error when it is no integer);
    // 0 for any other type and for an unknown field.
    int SchemaFieldLength(std::string_view name) const;

    platform::TXmlDocument TarvilexData;
};

// Appends "yyyy/mm/dd hh:nn:ss " (start-up date and time separators), the
// text and CR LF to the log, in the system code page; the file is opened and
// closed for every line. Raises platform::TStreamError when it cannot write.
void WriteLogLine(const std::string &text);
// The same where a failure to log must not stop anything (painting, clean-up,
// unattended jobs): a log that cannot be written is passed over.
void WriteLogLineQuietly(const std::string &text) noexcept;
// Program folder + the program's file name with the extension ".LOG".
std::string LogFileName();

}  // namespace model
