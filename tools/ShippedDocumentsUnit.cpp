#include "tools/ShippedDocumentsUnit.h"

#include "platform/FileUnit.h"
#include "tools/ListFileWriterUnit.h"

namespace tools {

platform::TXmlDocument LoadShippedDocument(const std::string &dataFolder, const std::string &fileName)
{
    const std::string path = platform::IncludeTrailingSlash(dataFolder) + fileName;
    if (!platform::FileExists(path))
        throw TListWriterError("ShippedDocumentsUnit: Missing " + fileName + " in " + dataFolder);
    platform::TXmlDocument document;
    document.LoadFromFile(path);
    return document;
}

void CompleteGenerationDocuments(pugi::xml_node generation, const std::string &dataFolder)
{
    const struct {
        const char *Wrapper, *Root, *FileName;
    } documents[] = {
        {"listfields", "fields", "ListFields.XML"},
        {"datamodule", "tarvilexdata", "TarvilexData.XML"},
    };
    for (const auto &d : documents) {
        pugi::xml_node wrapper = generation.child(d.Wrapper);
        if (wrapper.child(d.Root)) continue;
        if (!wrapper) wrapper = generation.append_child(d.Wrapper);
        const platform::TXmlDocument shipped = LoadShippedDocument(dataFolder, d.FileName);
        if (std::string_view(shipped.Root().name()) != d.Root)
            throw TListWriterError(std::string("ShippedDocumentsUnit: ") + d.FileName + " has no " + d.Root +
                                   " root element!");
        wrapper.append_copy(shipped.Root());
    }
}

}  // namespace tools
