#include "app/ScreenFormatUnit.h"

#include <string>

namespace app {

namespace {

std::string Name(const char *prefix, int index) { return prefix + std::to_string(index); }

std::optional<int> Stored(pugi::xml_node node, const char *attribute)
{
    if (!node || !node.attribute(attribute)) return std::nullopt;
    return platform::AttributeAsInteger(node, attribute);
}

void Write(pugi::xml_node node, const char *attribute, int value)
{
    pugi::xml_attribute a = node.attribute(attribute);
    if (!a) a = node.append_attribute(attribute);
    a.set_value(std::to_string(value).c_str());
}

pugi::xml_node Child(pugi::xml_node parent, const std::string &name)
{
    pugi::xml_node child = parent.child(name.c_str());
    return child ? child : parent.append_child(name.c_str());
}

}  // namespace

pugi::xml_node TScreenFormat::DepthElement(int depth) const
{
    return Document.Root().child(Name("_", depth).c_str());
}

std::optional<TStoredLayout> TScreenFormat::Apply(int depth, const TScreenLayout &current)
{
    if (const pugi::xml_node element = DepthElement(depth)) {
        TStoredLayout stored;
        stored.PanelWidth = Stored(element, "controlbreakwidth");
        for (std::size_t i = 0; i < current.ColumnWidths.size(); ++i)
            stored.ColumnWidths.push_back(Stored(element.child(Name("column", int(i)).c_str()), "width"));
        for (std::size_t k = 0; k < current.LevelHeights.size(); ++k) {
            const pugi::xml_node level = element.child(Name("controlbreak", int(k)).c_str());
            stored.LevelHeights.push_back(Stored(level, "height"));
            std::vector<std::optional<int>> columns;
            if (k < current.LevelColumnWidths.size())
                for (std::size_t j = 0; j < current.LevelColumnWidths[k].size(); ++j)
                    columns.push_back(Stored(level.child(Name("column", int(j)).c_str()), "width"));
            stored.LevelColumnWidths.push_back(std::move(columns));
        }
        return stored;
    }
    pugi::xml_node element = Document.Root().append_child(Name("_", depth).c_str());
    Write(element, "controlbreakwidth", current.PanelWidth);
    for (std::size_t i = 0; i < current.ColumnWidths.size(); ++i)
        Write(element.append_child(Name("column", int(i)).c_str()), "width", current.ColumnWidths[i]);
    for (std::size_t k = 0; k < current.LevelHeights.size(); ++k)
        Write(element.append_child(Name("controlbreak", int(k)).c_str()), "height", current.LevelHeights[k]);
    return std::nullopt;
}

void TScreenFormat::StoreColumnWidths(int depth, const std::vector<int> &widths)
{
    const pugi::xml_node element = DepthElement(depth);
    if (!element) return;
    for (std::size_t i = 0; i < widths.size(); ++i)
        if (pugi::xml_node column = element.child(Name("column", int(i)).c_str())) Write(column, "width", widths[i]);
}

void TScreenFormat::StoreLevelHeights(int depth, const std::vector<int> &heights)
{
    const pugi::xml_node element = DepthElement(depth);
    if (!element) return;
    for (std::size_t k = 0; k < heights.size(); ++k)
        if (pugi::xml_node level = element.child(Name("controlbreak", int(k)).c_str())) Write(level, "height", heights[k]);
}

void TScreenFormat::StorePanelWidth(int depth, int width)
{
    pugi::xml_node element = DepthElement(depth);
    if (!element) element = Document.Root().append_child(Name("_", depth).c_str());
    Write(element, "controlbreakwidth", width);
}

void TScreenFormat::StoreLevelColumnWidths(int depth, int level, int height, const std::vector<int> &widths)
{
    pugi::xml_node element = DepthElement(depth);
    if (!element) return;
    pugi::xml_node levelElement = element.child(Name("controlbreak", level).c_str());
    if (!levelElement) {
        levelElement = element.append_child(Name("controlbreak", level).c_str());
        Write(levelElement, "height", height);
    }
    for (std::size_t j = 0; j < widths.size(); ++j) Write(Child(levelElement, Name("column", int(j))), "width", widths[j]);
}

}  // namespace app
