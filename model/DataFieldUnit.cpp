#include "model/DataFieldUnit.h"

#include "dictionary/LanguageUnit.h"
#include "platform/CodePageUnit.h"
#include "platform/StreamUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

namespace model {

namespace {

bool IsIntegerType(std::uint8_t type) { return type == ftInteger || type == ftAutoIncrement; }
bool IsFloatType(std::uint8_t type) { return type == ftFloat || type == ftMoney; }

// Longest text a string slot can take.
int StringCapacity(const TTarvilexField &field)
{
    return std::clamp(field.DeclaredLength, 0, MaxStringLength);
}

std::string IntegerText(std::int32_t value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

struct TBooleanWords {
    const char *Name, *WhenTrue, *WhenFalse;
};
const TBooleanWords BooleanWords[] = {
    {"INCOMING", "_Incoming", "_Outgoing"},     {"INNERCALL", "_Inner", "_NotInner"},
    {"PRIVATECALL", "_Private", "_Official"},   {"PROCESSED", "_Processed", "_NotProcessed"},
    {"ENCRYPT", "_Encrypted", "_NotEncrypted"}, {"MARK", "_Marked", "_NotMarked"},
};

bool IsDurationName(std::string_view name)
{
    return name == "ITIME" || name == "DURATION" || name == "RINGTIME" || name == "CALCDUR";
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

int FieldSize(const TTarvilexField &field)
{
    switch (field.FieldType) {
    case ftInteger: return 4;
    case ftBoolean: return 1;
    case ftString: return std::max(field.DeclaredLength, 0) + 1;
    case ftFloat: return 8;
    case ftAutoIncrement: return 4;
    case ftMoney: return 8;
    default: return 0;
    }
}

bool FieldValuesEqual(const TTarvilexField &field)
{
    if (!field.Data || !field.Source) return false;
    switch (field.FieldType) {
    case ftInteger:
    case ftAutoIncrement: return platform::ReadLE32(field.Data) == platform::ReadLE32(field.Source);
    case ftBoolean: return field.Data[0] == field.Source[0];
    case ftString:
        // The length bytes must agree; then the characters the Data side counts.
        return field.Data[0] == field.Source[0] &&
               std::memcmp(field.Data + 1, field.Source + 1, std::size_t(StoredStringLength(field))) == 0;
    case ftFloat:
    case ftMoney: return platform::ReadLEDouble(field.Data) == platform::ReadLEDouble(field.Source);
    default: return false;
    }
}

std::uint8_t FieldTypeFromName(std::string_view typeName)
{
    if (typeName == "integer") return ftInteger;
    if (typeName == "boolean") return ftBoolean;
    if (typeName == "string") return ftString;
    if (typeName == "float") return ftFloat;
    if (typeName == "autoincrement") return ftAutoIncrement;
    if (typeName == "money") return ftMoney;
    return ftInteger;
}

int StoredStringLength(const TTarvilexField &field)
{
    return std::min<int>(field.Data[0], std::max(field.DeclaredLength, 0));
}

std::int32_t FieldAsInteger(const TTarvilexField &field)
{
    return IsIntegerType(field.FieldType) && field.Data ? platform::ReadLE32(field.Data) : 0;
}

double FieldAsFloat(const TTarvilexField &field)
{
    return IsFloatType(field.FieldType) && field.Data ? platform::ReadLEDouble(field.Data) : 0.0;
}

bool FieldAsBoolean(const TTarvilexField &field)
{
    return field.FieldType == ftBoolean && field.Data && field.Data[0] != 0;
}

std::string FieldAsText(const TTarvilexField &field)
{
    if (field.FieldType != ftString || !field.Data) return {};
    const auto *chars = reinterpret_cast<const char *>(field.Data + 1);
    return platform::SystemCodePage().Decode(std::string_view(chars, std::size_t(StoredStringLength(field))));
}

std::string FieldAsSimpleString(const TTarvilexField &field)
{
    if (!field.Data) return {};
    switch (field.FieldType) {
    case ftInteger:
    case ftAutoIncrement: return IntegerText(FieldAsInteger(field));
    case ftBoolean: return IntegerText(field.Data[0]);
    case ftString: return FieldAsText(field);
    case ftFloat:
    case ftMoney: return GeneralFloatText(FieldAsFloat(field));
    default: return {};
    }
}

std::string FieldAsDisplayText(const TTarvilexField &field, std::string_view name, bool replaceFloatSeparator)
{
    if (!field.Data) return {};
    switch (field.FieldType) {
    case ftInteger:
    case ftAutoIncrement:
        if (IsDurationName(name)) return dictionary::FormatDuration(FieldAsInteger(field));
        return IntegerText(FieldAsInteger(field));
    case ftBoolean:
        for (const auto &words : BooleanWords)
            if (name == words.Name) return dictionary::Translate(field.Data[0] ? words.WhenTrue : words.WhenFalse);
        return IntegerText(field.Data[0]);
    case ftString:
        if (name == "STRDATE") return dictionary::FormatCompactDate(FieldAsText(field));
        if (name == "STRDATETIME") return dictionary::FormatCompactTimestamp(FieldAsText(field));
        return FieldAsText(field);
    case ftFloat:
        return replaceFloatSeparator ? dictionary::FormatNumber(FieldAsFloat(field)) : GeneralFloatText(FieldAsFloat(field));
    case ftMoney: return dictionary::FormatMoney(FieldAsFloat(field));
    default: return {};
    }
}

void SetFieldText(TTarvilexField &field, std::string_view text)
{
    if (!field.Data) return;
    switch (field.FieldType) {
    case ftInteger:
    case ftAutoIncrement:
        platform::WriteLE32(field.Data, text.empty() ? 0 : platform::TextToInteger(text));
        break;
    case ftBoolean:
        field.Data[0] = text.empty() ? 0 : static_cast<std::uint8_t>(platform::TextToInteger(text) & 0xFF);
        break;
    case ftString: {
        const std::string bytes = platform::SystemCodePage().Encode(text);
        const int length = std::min<int>(int(std::min<std::size_t>(bytes.size(), MaxStringLength)), StringCapacity(field));
        // The bytes after the text are not significant; zero keeps written files stable.
        std::memset(field.Data, 0, std::size_t(FieldSize(field)));
        field.Data[0] = static_cast<std::uint8_t>(length);
        std::memcpy(field.Data + 1, bytes.data(), std::size_t(length));
        break;
    }
    case ftFloat:
    case ftMoney: platform::WriteLEDouble(field.Data, text.empty() ? 0.0 : TextToFloat(text)); break;
    default: break;
    }
}

std::string GeneralFloatText(double value)
{
    // The same form as the dictionary's number display, only without the
    // separator replacement.
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

double TextToFloat(std::string_view text)
{
    const char separator = dictionary::StartupDecimalSeparator();
    std::string t(Trimmed(text));
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    bool valid = !t.empty();
    for (char &c : t) {
        if (c == separator)
            c = '.';
        else if (c == '.' || !(std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == 'e' || c == 'E'))
            valid = false;   // also keeps out "inf" and "nan"
    }
    double value = 0.0;
    if (valid) {
        const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value, std::chars_format::general);
        valid = ec == std::errc() && end == t.data() + t.size();
    }
    if (!valid) throw platform::TConversionError("'" + std::string(text) + "' is not a valid floating point value");
    return value;
}

}  // namespace model
