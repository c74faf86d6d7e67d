#pragma once
// The listing condition under which the open list was produced
// ("listcondition" of the generation document).
#include "platform/XmlDocumentUnit.h"

namespace model {

class TListConditionModule {
public:
    platform::TXmlDocument ListCondition;
};

}  // namespace model
