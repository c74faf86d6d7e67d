#pragma once
// The generation document of the open list ("listgeneration"): who produced
// the list, when and where, and its embedded documents.
#include "platform/XmlDocumentUnit.h"

namespace model {

class TListGenerationModule {
public:
    platform::TXmlDocument ListGeneration;
};

}  // namespace model
