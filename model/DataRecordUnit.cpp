#include "model/DataRecordUnit.h"

namespace model {

void TTarvilexDataRecord::AddField(const std::string &name, std::unique_ptr<TTarvilexField> field)
{
    const int offset = Length();
    AppendField(name, std::move(field)).Offset = offset;
    Bytes.assign(std::size_t(FieldsLength()), 0);
    PlaceFields(Buffer());
}

std::string TTarvilexDataRecord::FieldValueAsString(std::string_view name) const
{
    return DisplayText(name, true);
}

void TTarvilexDataRecord::ReadFrom(platform::TStream &stream)
{
    if (!Bytes.empty()) stream.ReadBuffer(Bytes.data(), Bytes.size());
}

}  // namespace model
