#pragma once
// The list-fields and schema documents shipped beside the program, which
// every list written here carries inside its generation document.
#include "platform/XmlDocumentUnit.h"

#include <string>

namespace tools {

// Loads fileName ("ListFields.XML", "TarvilexData.XML") from dataFolder;
// raises TListWriterError when it is missing.
platform::TXmlDocument LoadShippedDocument(const std::string &dataFolder, const std::string &fileName);

// Adds listfields/fields and datamodule/tarvilexdata from dataFolder to a
// listgeneration element that lacks them; present ones are kept as they are.
void CompleteGenerationDocuments(pugi::xml_node generation, const std::string &dataFolder);

}  // namespace tools
