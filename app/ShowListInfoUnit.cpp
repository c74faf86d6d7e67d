#include "app/ShowListInfoUnit.h"

#include "dictionary/LanguageUnit.h"
#include "dictionary/TranslateWindowUnit.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <array>

namespace app {

namespace {

QString Q(const std::string &text) { return QString::fromStdString(text); }

const char *const RowKeys[TShowListInfoForm::RowCount] = {
    "_ListType:", "_TermOfListing:", "_Remark:", "_ListDescriptionFileName:", "_ListFile:", "_NumberOfItemRecords:",
    "_Author:", "_DefinitionTime:", "_TimeOfCreation:", "_SystemName:", "_SystemID:", "_HostName:", "_HDID:",
};

constexpr int ClientWidth = 794, ClientHeight = 300;
constexpr int RowTop = 20, RowPitch = 20, RowHeight = 17;
constexpr int LabelLeft = 12, LabelWidth = 190, ValueLeft = 208, ValueWidth = 558;

// Everything the document gives, formatted before any widget exists so that
// a malformed value leaves nothing behind.
std::array<std::string, TShowListInfoForm::RowCount> GenerationValues(const platform::TXmlDocument &generation)
{
    using platform::AttributeText;
    const pugi::xml_node root = generation.Root();
    const pugi::xml_node outerListType = root.child("listtype");
    std::array<std::string, TShowListInfoForm::RowCount> v;
    v[TShowListInfoForm::ListTypeRow] =
        dictionary::SelectLanguagePart(AttributeText(outerListType.child("listtype"), "title"));
    v[TShowListInfoForm::ListDescriptionFileNameRow] = AttributeText(outerListType, "listfilename");
    v[TShowListInfoForm::AuthorRow] = AttributeText(root, "user");
    v[TShowListInfoForm::DefinitionTimeRow] = dictionary::FormatIsoTimestamp(AttributeText(root, "createtime"));
    v[TShowListInfoForm::TimeOfCreationRow] = dictionary::FormatIsoTimestamp(AttributeText(root, "dateofgeneration"));
    v[TShowListInfoForm::SystemNameRow] = AttributeText(root, "systemname");
    v[TShowListInfoForm::SystemIDRow] = AttributeText(root, "system");
    v[TShowListInfoForm::HostNameRow] = AttributeText(root, "host");
    try {
        v[TShowListInfoForm::HDIDRow] = std::to_string(platform::AttributeAsInteger(root, "HDID"));
    } catch (const platform::TConversionError &e) {
        throw platform::TConversionError(std::string("ShowListInfoUnit: Invalid HDID: ") + e.what());
    }
    return v;
}

}  // namespace

TShowListInfoForm::TShowListInfoForm(const platform::TXmlDocument &generation, const std::string &listFileName,
                                     QWidget *parent)
    : QDialog(parent)
{
    const auto values = GenerationValues(generation);
    setObjectName("ShowListInfoForm");
    setWindowTitle("_ShowListInfoForm");
    setFixedSize(ClientWidth, ClientHeight);
    GroupBox1 = new QGroupBox("_PropertiesOfList", this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(8, 4, ClientWidth - 16, ClientHeight - 12);
    for (int row = 0; row < RowCount; ++row) {
        const int top = RowTop + row * RowPitch;
        Labels[row] = new QLabel(RowKeys[row], GroupBox1);
        Labels[row]->setGeometry(LabelLeft, top, LabelWidth, RowHeight);
        Values[row] = new QLabel(GroupBox1);
        Values[row]->setObjectName(QString("Value%1").arg(row + 1));
        Values[row]->setTextFormat(Qt::PlainText);
        Values[row]->setGeometry(ValueLeft, top, ValueWidth, RowHeight);
    }
    // Values are set after the captions are translated: a remark or title
    // that happens to start with "_" is shown as it stands.
    dictionary::TranslateWindow(this);
    for (int row = 0; row < RowCount; ++row) Values[row]->setText(Q(values[std::size_t(row)]));
    const QString path = Q(listFileName);
    Values[ListFileRow]->setText(MinimizeName(path, Values[ListFileRow]->fontMetrics(), ValueWidth));
    Values[ListFileRow]->setToolTip(path);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) move(screen->geometry().topLeft());
}

void TShowListInfoForm::SetRecordCount(std::int64_t count)
{
    Values[NumberOfItemRecordsRow]->setText(QString::number(count));
}

void TShowListInfoForm::SetRemark(const std::string &remark) { Values[RemarkRow]->setText(Q(remark)); }

void TShowListInfoForm::SetPeriod(const std::string &period) { Values[TermOfListingRow]->setText(Q(period)); }

QString MinimizeName(const QString &path, const QFontMetrics &metrics, int width)
{
    auto fits = [&](const QString &text) { return metrics.horizontalAdvance(text) <= width; };
    if (fits(path)) return path;
    const QStringList parts = path.split('/');
    const QString fileName = parts.last();
    for (qsizetype drop = 1; drop + 1 < parts.size(); ++drop) {
        const QString candidate = parts.first() + "/.../" + parts.mid(drop + 1).join('/');
        if (fits(candidate)) return candidate;
    }
    const QString bare = ".../" + fileName;
    if (parts.size() > 1 && fits(bare)) return bare;
    return metrics.elidedText(fileName, Qt::ElideLeft, width);
}

}  // namespace app
