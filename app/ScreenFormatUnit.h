#pragma once
// The screen format ("Screen.XML"): per shown depth D an element "_"D that
// remembers the control-break panel width, the record grid's column widths
// and, per level, the level panel height and the level grid's column widths.
#include "platform/XmlDocumentUnit.h"

#include <optional>
#include <vector>

namespace app {

// The widths and heights of the window that the screen format keeps.
struct TScreenLayout {
    int PanelWidth = 0;
    std::vector<int> ColumnWidths;
    std::vector<int> LevelHeights;
    std::vector<std::vector<int>> LevelColumnWidths;
};

// What a present depth element asks for; values it lacks stay unset.
struct TStoredLayout {
    std::optional<int> PanelWidth;
    std::vector<std::optional<int>> ColumnWidths;
    std::vector<std::optional<int>> LevelHeights;
    std::vector<std::vector<std::optional<int>>> LevelColumnWidths;
};

class TScreenFormat {
public:
    explicit TScreenFormat(platform::TXmlDocument &document) : Document(document) {}

    // A present depth element yields its values for the window's current
    // shape; a missing one is created from current and nothing is returned.
    std::optional<TStoredLayout> Apply(int depth, const TScreenLayout &current);
    void StoreColumnWidths(int depth, const std::vector<int> &widths);
    void StoreLevelHeights(int depth, const std::vector<int> &heights);
    void StorePanelWidth(int depth, int width);
    void StoreLevelColumnWidths(int depth, int level, int height, const std::vector<int> &widths);

private:
    pugi::xml_node DepthElement(int depth) const;
    platform::TXmlDocument &Document;
};

}  // namespace app
