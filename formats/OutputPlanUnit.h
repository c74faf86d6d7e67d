#pragma once
// The output plan: item runs, group headers, subtotals and the end of a list
// in the order printing and the writers emit them. The page layout reuses the
// same entry form with two kinds of its own (page end, column header).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace formats {

// One byte in every reader; a kind outside these values is skipped.
enum class TEntryKind : std::uint8_t {
    PageEnd = 0,        // page layout only
    ColumnHeader = 1,   // page layout only
    Items = 2,          // Count rows of level Level from the 1-based position First
    End = 3,            // the list total
    GroupHeader = 4,    // group First of control-break level Level
    Subtotal = 5,       // the same group, after its contents
};

struct TPlanEntry {
    TEntryKind Kind = TEntryKind::End;
    std::int32_t First = 0, Count = 0, Level = 0;   // meaningless for kinds 0 and 1
    bool operator==(const TPlanEntry &) const = default;
};

class TOutputPlan {
public:
    void Clear();                   // a new, empty plan, positioned at its start

    void Add(const TPlanEntry &entry) { Entries_.push_back(entry); }
    void AddItems(std::int32_t first, std::int32_t count, std::int32_t level);
    void AddGroupHeader(std::int32_t first, std::int32_t level);
    void AddSubtotal(std::int32_t first, std::int32_t level);
    void AddEnd();

    int Count() const { return int(Entries_.size()); }
    bool IsEmpty() const { return Entries_.empty(); }
    const TPlanEntry &operator[](std::size_t index) const { return Entries_[index]; }
    const std::vector<TPlanEntry> &Entries() const { return Entries_; }

    // Read position, for the writers that walk the plan from its start.
    void Rewind() { Position_ = 0; }
    bool AtEnd() const { return Position_ >= Entries_.size(); }
    const TPlanEntry &Current() const;          // raises past the last entry
    void Next() { if (!AtEnd()) ++Position_; }
    std::size_t Position() const { return Position_; }

private:
    std::vector<TPlanEntry> Entries_;
    std::size_t Position_ = 0;
};

}  // namespace formats
