#pragma once
// One typed field of a packed record: its slot inside the owner's buffer and
// the value it is compared with and copied from when records are aggregated.
// The free functions decode and encode a slot; records call them by name.
#include <cstdint>
#include <string>
#include <string_view>

namespace model {

enum : std::uint8_t { ftInteger = 0, ftBoolean = 1, ftString = 2, ftFloat = 3, ftAutoIncrement = 4, ftMoney = 5 };

// A string slot's length byte cannot count more characters than this.
constexpr int MaxStringLength = 255;

struct TTarvilexField {
    TTarvilexField(std::uint8_t fieldType, std::int32_t declaredLength = 0)
        : DeclaredLength(declaredLength), FieldType(fieldType) {}
    std::uint8_t *Data = nullptr;       // slot inside the owner's buffer
    std::int32_t Offset = 0;
    std::int32_t DeclaredLength = 0;
    std::uint8_t FieldType = 0;
    const std::uint8_t *Source = nullptr;
};

int FieldSize(const TTarvilexField &field);           // 4,1,len+1,8,4,8; 0 outside 0..5
bool FieldValuesEqual(const TTarvilexField &field);   // Data vs Source by type
std::uint8_t FieldTypeFromName(std::string_view typeName);

// Characters a string slot really holds: its length byte, never more than
// the declared length (a damaged length byte must not reach past the slot).
int StoredStringLength(const TTarvilexField &field);

// Slot access. The getters answer 0, 0.0, false for a field of another type.
std::int32_t FieldAsInteger(const TTarvilexField &field);
double FieldAsFloat(const TTarvilexField &field);
bool FieldAsBoolean(const TTarvilexField &field);
std::string FieldAsText(const TTarvilexField &field);          // string slot, UTF-8
// Raw text: no special names, floats in the general form with ".".
std::string FieldAsSimpleString(const TTarvilexField &field);
// Display text by the rules of the field's type and the special field names
// (compared case-sensitively with the name the caller gives). A summary
// record shows floats without the start-up decimal separator.
std::string FieldAsDisplayText(const TTarvilexField &field, std::string_view name, bool replaceFloatSeparator = true);
// Parses the text by the field's type and stores it; a conversion error
// leaves the slot as it was. Too long text is cut to the slot.
void SetFieldText(TTarvilexField &field, std::string_view text);

// General decimal form with at most 15 significant digits and "." as the
// separator ("12.5", "0.3", "1e+20").
std::string GeneralFloatText(double value);
// Decimal floating-point text with the start-up decimal separator; raises
// platform::TConversionError for anything else.
double TextToFloat(std::string_view text);

}  // namespace model
