#include "app/OpenListUnit.h"

#include "app/DataModulesUnit.h"
#include "platform/CodePageUnit.h"
#include "platform/FileUnit.h"

#include <limits>

namespace app {

namespace {

constexpr int MaxFormatFolderLength = 38;

// The first n characters (not bytes) of a UTF-8 text.
std::string FirstCharacters(const std::string &text, std::size_t n)
{
    std::size_t i = 0;
    for (std::size_t count = 0; i < text.size() && count < n; ++count) platform::NextUtf8(text, i);
    return text.substr(0, i);
}

class TLoader {
public:
    TLoader(const std::string &path, TOpenList &list) : Path(path), List(list) {}

    [[noreturn]] void Fail(const std::string &what) const
    {
        throw TOpenListError("OpenListUnit: " + Path + ": " + what);
    }

    // Checks that count bytes from the stream's position lie inside the file.
    void Need(std::int64_t count, const std::string &what) const
    {
        const auto &stream = *List.Display.Stream;
        if (count < 0 || count > stream.Size() - stream.Position())
            Fail(what + " does not fit in the file (" + std::to_string(count) + " bytes needed at offset " +
                 std::to_string(stream.Position()) + ", the file has " + std::to_string(stream.Size()) + ")");
    }

    std::int32_t ReadLength(const std::string &what) const
    {
        Need(4, "the length of " + what);
        const std::int32_t length = List.Display.Stream->ReadInt32();
        if (length < 0) Fail("the length of " + what + " is negative (" + std::to_string(length) + ")");
        Need(length, what);
        return length;
    }

    std::string Path;
    TOpenList &List;
};

pugi::xml_node Element(pugi::xml_node parent, const char *name) { return parent.child(name); }

void LoadSection(platform::TXmlDocument &doc, pugi::xml_node element)
{
    if (element)
        doc.LoadFromText(platform::ElementXml(element));
    else
        doc.Clear();
}

}  // namespace

TOpenList::TOpenList(TDataModules &modules) : Modules(&modules) {}
TOpenList::TOpenList(TOpenList &&) noexcept = default;
TOpenList &TOpenList::operator=(TOpenList &&) noexcept = default;
TOpenList::~TOpenList() = default;

bool TOpenList::OpenListFile(const std::string &path)
{
    if (path == FileName) return false;
    TOpenList staged(*Modules);
    staged.Load(path);
    *this = std::move(staged);
    return true;
}

void TOpenList::Load(const std::string &path)
{
    TLoader loader(path, *this);
    FileName = path;
    try {
        Display.Stream = std::make_unique<platform::TFileStream>(path, platform::TFileStream::TMode::Read);
        Output.Stream = std::make_unique<platform::TFileStream>(path, platform::TFileStream::TMode::Read);
    } catch (const platform::TStreamError &e) {
        throw TOpenListError(std::string("OpenListUnit: ") + e.what());
    }
    platform::TStream &stream = *Display.Stream;

    // Header, first text (skipped), remark, generation document.
    loader.Need(ContainerHeaderSize, "the container header");
    stream.ReadBuffer(Header.Bytes.data(), Header.Bytes.size());
    Header.GenerationTime = platform::ReadLEDouble(&Header.Bytes[41]);
    Header.RecordCount = platform::ReadLE32(&Header.Bytes[49]);
    Header.PeriodFirst = platform::ReadLEDouble(&Header.Bytes[53]);
    Header.PeriodLast = platform::ReadLEDouble(&Header.Bytes[61]);
    Header.GenerationLength = platform::ReadLE32(&Header.Bytes[69]);
    if (Header.RecordCount < 0) loader.Fail("the record count is negative (" + std::to_string(Header.RecordCount) + ")");
    if (Header.GenerationLength < 0)
        loader.Fail("the length of the generation document is negative (" + std::to_string(Header.GenerationLength) + ")");

    const std::int32_t firstTextLength = loader.ReadLength("the first text");
    stream.Seek(stream.Position() + firstTextLength);
    std::string remark(std::size_t(loader.ReadLength("the remark")), '\0');
    stream.ReadBuffer(remark.data(), remark.size());
    Remark = platform::SystemCodePage().Decode(remark);

    loader.Need(Header.GenerationLength, "the generation document");
    std::string generationText(std::size_t(Header.GenerationLength), '\0');
    stream.ReadBuffer(generationText.data(), generationText.size());
    RecordAreaStart = stream.Position();

    // Everything is parsed into staged documents first, so that a fault
    // found later leaves the modules of the open list untouched.
    platform::TXmlDocument generation;
    try {
        generation.LoadFromText(generationText);
    } catch (const platform::TXmlError &e) {
        loader.Fail(std::string("the generation document is not valid XML: ") + e.what());
    }
    const pugi::xml_node root = generation.Root();
    if (std::string(root.name()) != "listgeneration")
        loader.Fail("the generation document has no listgeneration element");
    const pugi::xml_node outerListType = Element(root, "listtype");
    const pugi::xml_node listTypeElement = Element(outerListType, "listtype");
    if (!listTypeElement) loader.Fail("the generation document has no list type");

    model::TTarvilexDataModule schema("");
    model::TListFieldsModule fields(schema, "");
    model::TListTypeModule listType;
    model::TListConditionModule condition;
    try {
        LoadSection(condition.ListCondition, Element(Element(root, "conditions"), "listcondition"));
        LoadSection(fields.ListFields, Element(Element(root, "listfields"), "fields"));
        LoadSection(listType.ListType, listTypeElement);
        LoadSection(schema.TarvilexData, Element(Element(root, "datamodule"), "tarvilexdata"));
        Language = platform::AttributeAsInteger(root, "language");
    } catch (const std::exception &e) {
        loader.Fail(std::string("the generation document cannot be read: ") + e.what());
    }
    if (Language < 0) loader.Fail("the language index is negative (" + std::to_string(Language) + ")");

    // List-format directory and screen format.
    const std::string folder = platform::NativePath(
        platform::AttributeText(root, "userdir") + "\\Formats.Dir\\" +
        FirstCharacters(platform::AttributeText(outerListType, "listfilename"), MaxFormatFolderLength));
    ListFormatDirectory = platform::DirectoryExists(folder) ? folder : std::string();
    ScreenFormat.LoadFromText("<?xml version=\"1.0\" encoding=\"ISO-8859-2\" standalone=\"yes\"?>"
                              "<listformat name=\"\" formattype=\"screen\" language=\"" +
                              std::to_string(dictionary::LanguageIndex()) + "\"/>");
    for (pugi::xml_node carried : Element(root, "formats").children()) {
        const pugi::xml_node format = carried.child("listformat");
        if (format && platform::AttributeText(format, "formattype") == "screen")
            ScreenFormat.LoadFromText(platform::ElementXml(format));
    }
    ScreenFormat.FileName.clear();
    if (!ListFormatDirectory.empty() && platform::FileExists(ListFormatDirectory + "/Screen.XML")) {
        try {
            ScreenFormat.LoadFromFile(ListFormatDirectory + "/Screen.XML");
        } catch (const std::exception &e) {
            // The list is still readable; its remembered widths start afresh.
            model::WriteLogLine(std::string("OpenListUnit: Screen format ignored: ") + e.what());
        }
    }

    SystemName = platform::AttributeText(root, "systemname");
    // The heading is shown in the language of the list being opened.
    {
        const int previous = dictionary::LanguageIndex();
        dictionary::SetLanguageIndex(Language);
        ListTitle = dictionary::SelectLanguagePart(platform::AttributeText(listTypeElement, "title"));
        dictionary::SetLanguageIndex(previous);
    }
    ListKind = listType.ListKind();

    if (HasRecords()) {
        SlotCount = fields.SummarizedZoneCount() + 1;
        const pugi::xml_node columns = listType.ListType.Root().child("columns");
        try {
            for (TReadSet *set : {&Display, &Output}) {
                if (IsDetailed())
                    set->DataRecord = std::make_unique<model::TTarvilexDataRecord>();
                else
                    set->CollectRecord = std::make_unique<model::TCollectRecord>(model::TCounterSources{}, SlotCount);
                for (pugi::xml_node column : columns.children()) {
                    const std::string id = platform::AttributeText(column, "id");
                    if (set->DataRecord)
                        set->DataRecord->AddField(id, model::MakeListField(fields, id));
                    else
                        set->CollectRecord->AddField(id, model::MakeListField(fields, id));
                }
                if (set->CollectRecord) set->CollectRecord->F = set->Stream.get();
            }
        } catch (const platform::TConversionError &e) {
            loader.Fail(std::string("a column cannot be built: ") + e.what());
        } catch (const std::runtime_error &e) {
            loader.Fail(e.what());
        }
        RecordLength = IsDetailed() ? Display.DataRecord->Length() : Display.CollectRecord->Length();
        if (RecordLength <= 0) loader.Fail("the list type has no columns");

        loader.Need(std::int64_t(Header.RecordCount) * RecordLength, "the record area");
        stream.Seek(RecordAreaStart + std::int64_t(Header.RecordCount) * RecordLength);

        const pugi::xml_node levels = listType.ListType.Root().child("controlbreaks");
        int level = 0;
        for (pugi::xml_node levelElement : levels.children()) {
            try {
                for (TReadSet *set : {&Display, &Output}) {
                    auto controlBreak = std::make_unique<model::TControlBreak>(model::TCounterSources{}, SlotCount);
                    for (pugi::xml_node key : levelElement.children()) {
                        const std::string id = platform::AttributeText(key, "id");
                        controlBreak->AddField(id, model::MakeListField(fields, id));
                    }
                    controlBreak->F = set->Stream.get();
                    set->ControlBreaks.push_back(std::move(controlBreak));
                }
            } catch (const std::runtime_error &e) {
                loader.Fail(e.what());
            }
            const std::string what = "control-break level " + std::to_string(level);
            loader.Need(4, "the entry count of " + what);
            const std::int32_t entries = stream.ReadInt32();
            if (entries < 0) loader.Fail("the entry count of " + what + " is negative (" + std::to_string(entries) + ")");
            auto &a = *Display.ControlBreaks.back();
            auto &b = *Output.ControlBreaks.back();
            a.RecNo = b.RecNo = entries;
            a.Position = b.Position = stream.Position();
            loader.Need(std::int64_t(entries) * a.FullLength(), "the entries of " + what);
            stream.Seek(stream.Position() + std::int64_t(entries) * a.FullLength());
            ++level;
        }

        ZoneTotals.assign(std::size_t(SlotCount) * model::CounterSlotSize, 0);
        ControlBreakTotal.assign(ZoneTotals.size(), 0);
        loader.Need(std::int64_t(ZoneTotals.size()), "the zone totals");
        stream.ReadBuffer(ZoneTotals.data(), ZoneTotals.size());
        ShownDepth = LevelCount();
    } else {
        // An empty list keeps no streams open and offers no format folder.
        Display.Stream.reset();
        Output.Stream.reset();
        ListFormatDirectory.clear();
    }

    // Nothing can fail any more: the list's documents become the modules'.
    Modules->ListGeneration.ListGeneration = std::move(generation);
    Modules->ListCondition.ListCondition = std::move(condition.ListCondition);
    Modules->ListFields.ListFields = std::move(fields.ListFields);
    Modules->ListType.ListType = std::move(listType.ListType);
    Modules->TarvilexData.TarvilexData = std::move(schema.TarvilexData);
    dictionary::SetLanguageIndex(Language);
    if (HasRecords()) model::SlotCount = SlotCount;
}

void TOpenList::SaveScreenFormat() const
{
    if (ListFormatDirectory.empty() || !platform::DirectoryExists(ListFormatDirectory)) return;
    ScreenFormat.SaveToFile(ListFormatDirectory + "/Screen.XML");
}

std::unique_ptr<TReadSet> TOpenList::NewReadSet() const
{
    auto set = std::make_unique<TReadSet>();
    set->Stream = std::make_unique<platform::TFileStream>(FileName, platform::TFileStream::TMode::Read);
    const model::TListFieldsModule &fields = Modules->ListFields;
    const auto copyFields = [&](const model::TFieldList &from, auto &to) {
        for (int i = 0; i < from.FieldCount(); ++i) to.AddField(from.FieldName(i), model::MakeListField(fields, from.FieldName(i)));
    };
    if (Output.DataRecord) {
        set->DataRecord = std::make_unique<model::TTarvilexDataRecord>();
        copyFields(*Output.DataRecord, *set->DataRecord);
    } else if (Output.CollectRecord) {
        set->CollectRecord = std::make_unique<model::TCollectRecord>(model::TCounterSources{}, SlotCount);
        copyFields(*Output.CollectRecord, *set->CollectRecord);
        set->CollectRecord->F = set->Stream.get();
    }
    for (const auto &level : Output.ControlBreaks) {
        auto controlBreak = std::make_unique<model::TControlBreak>(model::TCounterSources{}, SlotCount);
        copyFields(*level, *controlBreak);
        controlBreak->F = set->Stream.get();
        controlBreak->RecNo = level->RecNo;
        controlBreak->Position = level->Position;
        set->ControlBreaks.push_back(std::move(controlBreak));
    }
    return set;
}

void TOpenList::ReadItemRecord(TReadSet &set, std::int64_t index) const
{
    set.Stream->Seek(RecordAreaStart + index * RecordLength);
    if (set.DataRecord)
        set.DataRecord->ReadFrom(*set.Stream);
    else
        set.CollectRecord->ReadRecord();
}

void TOpenList::ReadBreakRecord(TReadSet &set, int level, std::int64_t entry) const
{
    auto &controlBreak = *set.ControlBreaks.at(std::size_t(level));
    set.Stream->Seek(controlBreak.Position + (entry - 1) * controlBreak.FullLength());
    controlBreak.ReadRecord();
}

model::TCounterSlot TOpenList::ZoneTotal(int slot) const
{
    // An empty list stores no totals: all its counters are zero.
    if (slot < 0 || (std::size_t(slot) + 1) * model::CounterSlotSize > ZoneTotals.size()) return {};
    return model::ReadCounterSlot(ZoneTotals.data() + std::size_t(slot) * model::CounterSlotSize);
}

}  // namespace app
