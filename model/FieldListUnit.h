#pragma once
// An ordered list of named fields that owns them: the shared base of the
// data, collect and control-break records. Names may repeat; look-up is
// case-insensitive (ASCII) and finds the first entry. The value operations
// take a field name; an unknown name is never an error.
#include "model/DataFieldUnit.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace model {

class TFieldList {
public:
    TFieldList() = default;
    virtual ~TFieldList() = default;
    TFieldList(const TFieldList &) = delete;
    TFieldList &operator=(const TFieldList &) = delete;

    int FieldCount() const { return int(Entries.size()); }
    const std::string &FieldName(int index) const;      // raises std::out_of_range
    TTarvilexField &Field(int index);
    const TTarvilexField &Field(int index) const;
    TTarvilexField *FindField(std::string_view name);   // first, case-insensitive (ASCII)
    const TTarvilexField *FindField(std::string_view name) const;
    int IndexOfField(std::string_view name) const;      // -1 when not found

    void SetFieldValue(std::string_view name, std::string_view text);   // UTF-8 text
    std::int32_t FieldValueAsInteger(std::string_view name) const;
    double FieldValueAsFloat(std::string_view name) const;
    bool FieldValueAsBoolean(std::string_view name) const;
    std::string FieldValueAsSimpleString(std::string_view name) const;
    bool SameField(std::string_view name) const;

protected:
    // Appends without touching any buffer; the caller places the fields.
    TTarvilexField &AppendField(const std::string &name, std::unique_ptr<TTarvilexField> field);
    int FieldsLength() const;                           // sum of the slot widths
    // Points every field's Data at its slot, the first at keys.
    void PlaceFields(std::uint8_t *keys);
    // Every field to its empty value (0, false, "", 0.0).
    void ClearFields();
    std::string DisplayText(std::string_view name, bool replaceFloatSeparator) const;

private:
    struct TEntry {
        std::string Name;
        std::unique_ptr<TTarvilexField> Field;
    };
    std::vector<TEntry> Entries;
    bool UniqueNames = true;        // in any letter case
    // Where the next look-up starts; a record is read by one thread at a time.
    mutable std::size_t Hint = 0;
};

// Case-insensitive comparison of ASCII letters, as field names are compared.
bool SameText(std::string_view a, std::string_view b);

}  // namespace model
