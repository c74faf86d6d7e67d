#include "editors/SelectFormatUnit.h"

#include "app/DataModulesUnit.h"
#include "app/OpenListUnit.h"
#include "dictionary/TranslateWindowUnit.h"
#include "editors/FormatGridPreviewUnit.h"
#include "formats/FormatGeometryUnit.h"
#include "model/TarvilexDataModuleUnit.h"
#include "platform/FileUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <QCollator>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>

namespace editors {

namespace {

QString Q(const std::string &text) { return QString::fromStdString(text); }
QString Tr(const char *key) { return Q(dictionary::Translate(key)); }

std::string UpperPath(const std::string &path) { return Q(path).toUpper().toStdString(); }

const char *FormatTypeOfKind(int kind)
{
    switch (kind) {
    case 0: return "normal";
    case 1: return "csv";
    case 2: return "excel";
    default: return "";
    }
}

// Rows compare their texts case-insensitively in the user's locale.
class TFormatRow : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        static const QCollator collator = [] {
            QCollator c{QLocale()};
            c.setCaseSensitivity(Qt::CaseInsensitive);
            return c;
        }();
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return collator.compare(text(column), other.text(column)) < 0;
    }
};

// Format files of a folder ("*.XML"), by name so that the order does not
// depend on the file system.
std::vector<std::string> FormatFilesIn(const std::string &folder)
{
    std::vector<std::string> files;
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string path = entry.path().string();
        if (entry.is_regular_file(error) && UpperPath(platform::ExtractFileExt(path)) == ".XML") files.push_back(path);
    }
    std::sort(files.begin(), files.end());
    return files;
}

QToolButton *AddToolButton(QToolBar *bar, const char *name, const char *hint, QStyle::StandardPixmap icon)
{
    auto *button = new QToolButton(bar);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIcon(bar->style()->standardIcon(icon));
    bar->addWidget(button);
    return button;
}

}  // namespace

TSelectFormatForm::TSelectFormatForm(app::TDataModules &modules, const app::TOpenList &list, QWidget *parent)
    : QDialog(parent), Modules(modules), List(list)
{
    setObjectName("SelectFormatForm");
    setWindowTitle("_SelectFormatForm");
    resize(792, 566);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName("ToolBar1");
    ToolButton3 = AddToolButton(ToolBar1, "ToolButton3", "_NewFormat", QStyle::SP_FileIcon);
    ToolButton4 = AddToolButton(ToolBar1, "ToolButton4", "_Delete", QStyle::SP_TrashIcon);
    ToolButton5 = AddToolButton(ToolBar1, "ToolButton5", "_Duplicate", QStyle::SP_FileLinkIcon);
    ToolBar1->addSeparator();
    ToolButton1 = AddToolButton(ToolBar1, "ToolButton1", "_LoadFormatsFromUserDir", QStyle::SP_DirOpenIcon);
    ToolButton2 = AddToolButton(ToolBar1, "ToolButton2", "_LoadFormatFromFile", QStyle::SP_DialogOpenButton);
    ToolButton7 = AddToolButton(ToolBar1, "ToolButton7", "_SaveFormatToFile", QStyle::SP_DialogSaveButton);
    // The management commands come with their own dialogs; until then the
    // buttons that need no selection stay off.
    for (QToolButton *button : {ToolButton3, ToolButton1, ToolButton2, ToolButton4, ToolButton5, ToolButton7})
        button->setEnabled(false);

    ListView9 = new QTreeWidget(this);
    ListView9->setObjectName("ListView9");
    ListView9->setColumnCount(5);
    ListView9->setHeaderLabels({"_Naming", "_SummLevel", "_FileName", "", ""});
    ListView9->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    ListView9->setColumnWidth(0, 200);
    ListView9->setColumnWidth(1, 100);
    ListView9->setColumnWidth(2, 500);
    ListView9->hideColumn(SourceColumn);
    ListView9->hideColumn(PositionColumn);
    ListView9->setRootIsDecorated(false);
    ListView9->setUniformRowHeights(true);
    ListView9->setAllColumnsShowFocus(true);
    ListView9->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView9->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView9->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Grid lines; a style sheet on items also needs its own selection colours.
    ListView9->setStyleSheet("QTreeView::item { border-right: 1px solid #d4d4d4; border-bottom: 1px solid #d4d4d4; }"
                             "QTreeView::item:selected { background: palette(highlight); color: palette(highlighted-text); }");
    ListView9->header()->setSectionsClickable(true);
    ListView9->header()->setSectionsMovable(false);
    connect(ListView9, &QTreeWidget::itemSelectionChanged, this, &TSelectFormatForm::ListView9SelectItem);
    connect(ListView9->header(), &QHeaderView::sectionClicked, this, &TSelectFormatForm::ListView9ColumnClick);

    // Picture preview of print formats: the name, the zoom and the page.
    PicturePanel = new QWidget(this);
    PicturePanel->setObjectName("PicturePanel");
    StaticText1 = new QLabel(PicturePanel);
    StaticText1->setObjectName("StaticText1");
    auto *zoomLabel = new QLabel("_Zoom", PicturePanel);
    zoomLabel->setObjectName("Label1");
    SpinEdit1 = new QSpinBox(PicturePanel);
    SpinEdit1->setObjectName("SpinEdit1");
    SpinEdit1->setRange(0, 500);
    SpinEdit1->setValue(100);
    connect(SpinEdit1, &QSpinBox::valueChanged, this, &TSelectFormatForm::SpinEdit1Change);
    ScrollBox1 = new QScrollArea(PicturePanel);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setAlignment(Qt::AlignCenter);
    Image1 = new QLabel;
    Image1->setObjectName("Image1");
    ScrollBox1->setWidget(Image1);
    ScrollBox1->setWidgetResizable(false);
    auto *pictureTop = new QHBoxLayout;
    pictureTop->addWidget(StaticText1, 1);
    pictureTop->addWidget(zoomLabel);
    pictureTop->addWidget(SpinEdit1);
    auto *pictureLayout = new QVBoxLayout(PicturePanel);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    pictureLayout->addLayout(pictureTop);
    pictureLayout->addWidget(ScrollBox1, 1);

    // Grid preview of CSV and Excel formats.
    DrawGrid1 = new QTableView(this);
    DrawGrid1->setObjectName("DrawGrid1");
    GridModel = new TFormatGridModel(this);
    DrawGrid1->setModel(GridModel);
    DrawGrid1->setItemDelegate(new TFormatGridDelegate(DrawGrid1));
    DrawGrid1->horizontalHeader()->hide();
    DrawGrid1->verticalHeader()->hide();
    DrawGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DrawGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    DrawGrid1->setWordWrap(false);

    auto *previews = new QWidget(this);
    auto *previewLayout = new QVBoxLayout(previews);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->addWidget(PicturePanel);
    previewLayout->addWidget(DrawGrid1);
    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(ListView9);
    splitter->addWidget(previews);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 2);

    BitBtn1 = new QPushButton("_OK", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn1->setEnabled(false);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton("_Cancel", this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(BitBtn1, &QPushButton::clicked, this, &TSelectFormatForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ToolBar1);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    HidePreviews();
    dictionary::TranslateWindow(this);
}

TSelectFormatForm::~TSelectFormatForm() = default;

void TSelectFormatForm::SetListFolder(const std::string &folder)
{
    ListFolderPath = folder;
}

void TSelectFormatForm::SetActualSummLevel(int level)
{
    SummLevel = level;
    setWindowTitle(windowTitle() + " [" + Tr("_ActualSummLevel") + ": " + QString::number(level) + "]");
}

void TSelectFormatForm::SetFormatKind(int kind)
{
    FormatKind = kind;
    FormatTypeText = FormatTypeOfKind(kind);
    FillFormatList();
}

bool TSelectFormatForm::Execute()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    return exec() == QDialog::Accepted;
}

std::vector<std::string> TSelectFormatForm::KnownFormatFiles() const
{
    std::vector<std::string> out;
    for (const auto &[upper, path] : KnownFiles) out.push_back(upper);
    return out;
}

void TSelectFormatForm::AddRow(const std::string &name, const std::string &level, const std::string &fileName,
                               const char *source, const std::string &position)
{
    auto *row = new TFormatRow(ListView9, QStringList{Q(name), Q(level), Q(fileName), source, Q(position)});
    row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
}

void TSelectFormatForm::FillFormatList()
{
    {
        const QSignalBlocker quiet(ListView9);
        ListView9->clear();

        const pugi::xml_node carried = Modules.ListGeneration.ListGeneration.Root().child("formats");
        int position = 0;
        for (pugi::xml_node child = carried.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            const pugi::xml_node format = child.child("listformat");
            if (format && platform::AttributeText(format, "formattype") == FormatTypeText)
                AddRow(platform::AttributeText(format, "name"), platform::AttributeText(format, "level"),
                       dictionary::Translate("_BuildInFormat"), "BI", std::to_string(position));
            ++position;
        }

        const auto addFile = [this](const std::string &path, bool checkKind) {
            platform::TXmlDocument format;
            try {
                format.LoadFromFile(path);
            } catch (const std::exception &e) {
                // One unreadable file must not hide the others.
                model::WriteLogLineQuietly(std::string("SelectFormatUnit: Format file ignored: ") + e.what());
                return;
            }
            const pugi::xml_node root = format.Root();
            if (checkKind && platform::AttributeText(root, "formattype") != FormatTypeText) return;
            AddRow(platform::AttributeText(root, "name"), platform::AttributeText(root, "level"), path, "FILE", "");
            KnownFiles.emplace(UpperPath(path), path);
        };
        if (FirstFill) {
            if (!List.ListFormatDirectory.empty() && platform::DirectoryExists(List.ListFormatDirectory)) {
                ListFormatDirectory = List.ListFormatDirectory;
                for (const std::string &path : FormatFilesIn(ListFormatDirectory)) addFile(path, true);
            }
        } else {
            const auto known = KnownFiles;
            for (const auto &[upper, path] : known)
                if (platform::FileExists(path)) addFile(path, false);
        }
        FirstFill = false;
    }

    BitBtn1->setEnabled(false);
    ToolButton4->setEnabled(false);
    ToolButton5->setEnabled(false);
    ToolButton7->setEnabled(false);
    HidePreviews();
    ApplySort();
    if (ListView9->topLevelItemCount() > 0) {
        const QSignalBlocker quiet(ListView9);
        ListView9->setCurrentItem(ListView9->topLevelItem(0));
        ListView9->topLevelItem(0)->setSelected(true);
    }
    if (ListView9->topLevelItemCount() > 0) ShowFormatPreview();
}

QList<QTreeWidgetItem *> TSelectFormatForm::SelectedRows() const
{
    QList<QTreeWidgetItem *> rows;
    for (int i = 0; i < ListView9->topLevelItemCount(); ++i)
        if (ListView9->topLevelItem(i)->isSelected()) rows.append(ListView9->topLevelItem(i));
    return rows;
}

void TSelectFormatForm::HidePreviews()
{
    PicturePanel->hide();
    DrawGrid1->hide();
    StaticText1->clear();
}

void TSelectFormatForm::LoadRowFormat(const QTreeWidgetItem *row)
{
    // Previews show placeholders, never values of an earlier output.
    Modules.ListFormat.SetValueProviders({});
    if (row->text(SourceColumn) == "BI") {
        const pugi::xml_node carried = Modules.ListGeneration.ListGeneration.Root().child("formats");
        const pugi::xml_node child =
            platform::ElementChild(carried, platform::TextToInteger(row->text(PositionColumn).toStdString()));
        Modules.ListFormat.Format.LoadFromText(platform::ElementXml(child.child("listformat")));
    } else {
        Modules.ListFormat.Format.LoadFromFile(row->text(2).toStdString());
    }
}

void TSelectFormatForm::ShowFormatPreview()
{
    const QList<QTreeWidgetItem *> rows = SelectedRows();
    ToolButton4->setEnabled(!rows.isEmpty());
    ToolButton5->setEnabled(rows.size() == 1 && rows.front()->text(SourceColumn) == "FILE");
    BitBtn1->setEnabled(rows.size() == 1);
    ToolButton7->setEnabled(rows.size() == 1);
    if (rows.size() != 1) {
        ToolButton5->setEnabled(false);
        HidePreviews();
    }
    if (rows.isEmpty()) return;

    try {
        LoadRowFormat(rows.front());
        if (platform::AttributeText(Modules.ListFormat.Root(), "formattype") == "normal") {
            DrawGrid1->hide();
            StaticText1->setText(rows.front()->text(0));
            PicturePanel->show();
            DrawPagePreview();
        } else {
            PicturePanel->hide();
            ShowGridPreview();
        }
    } catch (const std::exception &e) {
        HidePreviews();
        GridModel->Clear();
        ShowError(e.what());
    }
}

void TSelectFormatForm::DrawPagePreview()
{
    const pugi::xml_node root = Modules.ListFormat.Root();
    const auto attribute = [&](const char *name) {
        try {
            return formats::IntegerAttribute(root, name, 0);
        } catch (const platform::TConversionError &) {
            return 0;
        }
    };
    const QScreen *shown = screen();
    const int pixelsPerInch = shown ? int(std::lround(shown->logicalDotsPerInch())) : 96;
    const int zoom = SpinEdit1->value();
    const auto scaled = [&](int pageUnits) {
        return int(formats::RoundHalfEven(std::int64_t(pageUnits) * pixelsPerInch * zoom, 25400)) + 5;
    };
    const int width = scaled(attribute("width"));
    const int height = scaled(attribute("height"));

    QPixmap picture(width, height);
    picture.fill(ScrollBox1->palette().color(QPalette::Window));
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    for (int i = 0; i < 5; ++i) {
        painter.drawLine(width - 1 - i, 5, width - 1 - i, height - 1);
        painter.drawLine(5, height - 1 - i, width - 1, height - 1 - i);
    }
    const QRect page(0, 0, width - 5, height - 5);
    if (!page.isEmpty()) {
        painter.fillRect(page, Qt::white);
        painter.drawRect(page.adjusted(0, 0, -1, -1));
    }
    painter.end();
    Image1->setPixmap(picture);
    Image1->resize(picture.size());
}

void TSelectFormatForm::ShowGridPreview()
{
    const pugi::xml_node root = Modules.ListFormat.Root();
    TPreviewContext context;
    context.Firm = List.SystemName;
    context.DateText = dictionary::FormatDate(dictionary::Today());
    context.PeriodText = context.DateText + " - " + context.DateText;
    context.ListId = platform::AttributeText(root, "listfilename");
    GridModel->SetFormat(root, platform::AttributeText(root, "formattype") == "excel", context);

    QHeaderView *rowsHeader = DrawGrid1->verticalHeader();
    const int rowHeight = rowsHeader->defaultSectionSize();
    // The header band has a second line of sub-cell titles in these cases.
    const bool doubleHeader = List.ListKind != "detailed" || platform::AttributeText(root, "level") != "0";
    for (int row = 0; row < GridModel->rowCount(); ++row)
        DrawGrid1->setRowHeight(row, GridModel->BandName(row) == "header" && doubleHeader ? 2 * rowHeight : rowHeight);

    const int columnWidth = DrawGrid1->horizontalHeader()->defaultSectionSize();
    for (int column = 0; column < GridModel->columnCount(); ++column) {
        int widest = columnWidth;
        for (int row = 0; row < GridModel->rowCount(); ++row) {
            const QModelIndex index = GridModel->index(row, column);
            const QVariant font = GridModel->data(index, Qt::FontRole);
            const QFontMetrics metrics(font.isValid() ? font.value<QFont>() : DrawGrid1->font());
            for (const QString &line : GridModel->data(index).toString().split('\n'))
                if (!line.isEmpty()) widest = std::max(widest, metrics.horizontalAdvance(line + "    "));
        }
        DrawGrid1->setColumnWidth(column, widest);
    }
    DrawGrid1->show();
}

void TSelectFormatForm::ApplySort()
{
    if (SortedColumn < 0) return;
    ListView9->header()->setSortIndicatorShown(true);
    ListView9->sortItems(SortedColumn, Qt::AscendingOrder);
}

void TSelectFormatForm::SortListByColumn(int column)
{
    SortedColumn = column;
    ApplySort();
}

void TSelectFormatForm::ShowError(const std::string &text)
{
    LastErrorText = text;
    if (!QuietMessages) QMessageBox::critical(this, windowTitle(), Q(text));
}

void TSelectFormatForm::BitBtn1Click()
{
    const QList<QTreeWidgetItem *> rows = SelectedRows();
    if (rows.size() != 1) return;
    try {
        // The module already holds the previewed format; loading it again
        // makes sure the confirmed one is exactly the selected row.
        LoadRowFormat(rows.front());
    } catch (const std::exception &e) {
        ShowError(e.what());
        return;
    }
    accept();
}

void TSelectFormatForm::ListView9SelectItem()
{
    ShowFormatPreview();
}

void TSelectFormatForm::ListView9ColumnClick(int column)
{
    SortListByColumn(column);
}

void TSelectFormatForm::SpinEdit1Change(int)
{
    if (!PicturePanel->isHidden()) DrawPagePreview();
}

}  // namespace editors
