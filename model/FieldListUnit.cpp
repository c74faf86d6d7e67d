#include "model/FieldListUnit.h"

#include <cstring>
#include <utility>
#include <stdexcept>

namespace model {

bool SameText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = char(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = char(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

const std::string &TFieldList::FieldName(int index) const
{
    if (index < 0 || index >= FieldCount())
        throw std::out_of_range("FieldListUnit: List index out of bounds (" + std::to_string(index) + ")");
    return Entries[std::size_t(index)].Name;
}

TTarvilexField &TFieldList::Field(int index)
{
    return const_cast<TTarvilexField &>(std::as_const(*this).Field(index));
}

const TTarvilexField &TFieldList::Field(int index) const
{
    if (index < 0 || index >= FieldCount())
        throw std::out_of_range("FieldListUnit: List index out of bounds (" + std::to_string(index) + ")");
    return *Entries[std::size_t(index)].Field;
}

int TFieldList::IndexOfField(std::string_view name) const
{
    // With names unique in any letter case an exact match is the only match,
    // and writers ask for a row's fields in column order: the entry after the
    // last one found is the likely one.
    if (UniqueNames) {
        if (Hint < Entries.size() && Entries[Hint].Name == name) return int(Hint++);
        for (std::size_t i = 0; i < Entries.size(); ++i)
            if (Entries[i].Name == name) {
                Hint = i + 1;
                return int(i);
            }
    }
    for (std::size_t i = 0; i < Entries.size(); ++i)
        if (SameText(Entries[i].Name, name)) return int(i);
    return -1;
}

TTarvilexField *TFieldList::FindField(std::string_view name)
{
    const int index = IndexOfField(name);
    return index < 0 ? nullptr : Entries[std::size_t(index)].Field.get();
}

const TTarvilexField *TFieldList::FindField(std::string_view name) const
{
    const int index = IndexOfField(name);
    return index < 0 ? nullptr : Entries[std::size_t(index)].Field.get();
}

void TFieldList::SetFieldValue(std::string_view name, std::string_view text)
{
    if (TTarvilexField *field = FindField(name)) SetFieldText(*field, text);
}

std::int32_t TFieldList::FieldValueAsInteger(std::string_view name) const
{
    const TTarvilexField *field = FindField(name);
    return field ? FieldAsInteger(*field) : 0;
}

double TFieldList::FieldValueAsFloat(std::string_view name) const
{
    const TTarvilexField *field = FindField(name);
    return field ? FieldAsFloat(*field) : 0.0;
}

bool TFieldList::FieldValueAsBoolean(std::string_view name) const
{
    const TTarvilexField *field = FindField(name);
    return field && FieldAsBoolean(*field);
}

std::string TFieldList::FieldValueAsSimpleString(std::string_view name) const
{
    const TTarvilexField *field = FindField(name);
    return field ? FieldAsSimpleString(*field) : std::string();
}

bool TFieldList::SameField(std::string_view name) const
{
    const TTarvilexField *field = FindField(name);
    return field && FieldValuesEqual(*field);
}

TTarvilexField &TFieldList::AppendField(const std::string &name, std::unique_ptr<TTarvilexField> field)
{
    if (!field) throw std::invalid_argument("FieldListUnit: No field given for " + name);
    for (const auto &entry : Entries)
        if (SameText(entry.Name, name)) UniqueNames = false;
    Entries.push_back({name, std::move(field)});
    return *Entries.back().Field;
}

int TFieldList::FieldsLength() const
{
    int length = 0;
    for (const auto &entry : Entries) length += FieldSize(*entry.Field);
    return length;
}

void TFieldList::PlaceFields(std::uint8_t *keys)
{
    int offset = 0;
    for (auto &entry : Entries) {
        entry.Field->Data = keys ? keys + offset : nullptr;
        offset += FieldSize(*entry.Field);
    }
}

void TFieldList::ClearFields()
{
    for (auto &entry : Entries) {
        TTarvilexField &field = *entry.Field;
        if (field.Data) std::memset(field.Data, 0, std::size_t(FieldSize(field)));
    }
}

std::string TFieldList::DisplayText(std::string_view name, bool replaceFloatSeparator) const
{
    const TTarvilexField *field = FindField(name);
    return field ? FieldAsDisplayText(*field, name, replaceFloatSeparator) : std::string();
}

}  // namespace model
