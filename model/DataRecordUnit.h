#pragma once
// A detail record: named fields over one packed buffer, filled by one block
// read per record and decoded only when a value is asked for.
#include "model/FieldListUnit.h"
#include "platform/StreamUnit.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace model {

class TTarvilexDataRecord : public TFieldList {
public:
    // Reallocates the buffer: values stored before are lost, so a record
    // gets all its fields first and its values afterwards.
    void AddField(const std::string &name, std::unique_ptr<TTarvilexField> field);
    int Length() const { return int(Bytes.size()); }
    std::uint8_t *Buffer() { return Bytes.empty() ? nullptr : Bytes.data(); }
    const std::uint8_t *Buffer() const { return Bytes.empty() ? nullptr : Bytes.data(); }
    void Clear() { ClearFields(); }
    std::string FieldValueAsString(std::string_view name) const;   // display text, UTF-8
    void ReadFrom(platform::TStream &stream);   // one block read of Length() bytes

private:
    std::vector<std::uint8_t> Bytes;
};

}  // namespace model
