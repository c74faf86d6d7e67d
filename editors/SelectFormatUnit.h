#pragma once
// The format selection: the formats of one kind that belong to the open list
// (those built into the list file and the user's format files of its list
// type), with a preview of the selected one. When confirmed, the chosen
// format is the current document of the list-format module.
#include <QDialog>

#include <map>
#include <vector>
#include <string>

class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTableView;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace app {
class TOpenList;
struct TDataModules;
}  // namespace app

namespace editors {

class TFormatGridModel;

class TSelectFormatForm : public QDialog {
    Q_OBJECT
public:
    TSelectFormatForm(app::TDataModules &modules, const app::TOpenList &list, QWidget *parent = nullptr);
    ~TSelectFormatForm() override;

    // Called in this order before Execute.
    void SetListFolder(const std::string &folder);
    void SetActualSummLevel(int level);
    void SetFormatKind(int kind);       // 0 print, 1 CSV, 2 Excel; fills the list

    void FillFormatList();
    void ShowFormatPreview();
    void DrawPagePreview();
    void SortListByColumn(int column);

    // Shows the dialog maximized and modal; true when confirmed with OK.
    bool Execute();

    const std::string &FormatType() const { return FormatTypeText; }
    const std::string &ListFolder() const { return ListFolderPath; }
    int ActualSummLevel() const { return SummLevel; }
    int SortColumn() const { return SortedColumn; }
    // Upper-case paths of the format files listed, added or created.
    std::vector<std::string> KnownFormatFiles() const;

    // Errors are not shown in a message box while set (tests); the text
    // still reaches LastError.
    bool QuietMessages = false;
    const std::string &LastError() const { return LastErrorText; }

    // Positions of the hidden sub-items of a row.
    static constexpr int SourceColumn = 3;      // "FILE" or "BI"
    static constexpr int PositionColumn = 4;    // child of "formats", built-in rows only

    QToolBar *ToolBar1 = nullptr;
    QToolButton *ToolButton3 = nullptr;   // new format
    QToolButton *ToolButton4 = nullptr;   // delete
    QToolButton *ToolButton5 = nullptr;   // duplicate
    QToolButton *ToolButton1 = nullptr;   // formats of another user folder
    QToolButton *ToolButton2 = nullptr;   // one format file
    QToolButton *ToolButton7 = nullptr;   // save to a file
    QTreeWidget *ListView9 = nullptr;
    QWidget *PicturePanel = nullptr;      // picture preview with its zoom and name
    QLabel *StaticText1 = nullptr;
    QSpinBox *SpinEdit1 = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    QLabel *Image1 = nullptr;
    QTableView *DrawGrid1 = nullptr;
    TFormatGridModel *GridModel = nullptr;
    QPushButton *BitBtn1 = nullptr;       // OK
    QPushButton *BitBtn2 = nullptr;       // Cancel

private slots:
    void BitBtn1Click();
    void ListView9SelectItem();
    void ListView9ColumnClick(int column);
    void SpinEdit1Change(int value);

private:
    void AddRow(const std::string &name, const std::string &level, const std::string &fileName,
                const char *source, const std::string &position);
    void LoadRowFormat(const QTreeWidgetItem *row);
    void ShowGridPreview();
    void HidePreviews();
    void ApplySort();
    QList<QTreeWidgetItem *> SelectedRows() const;
    void ShowError(const std::string &text);

    app::TDataModules &Modules;
    const app::TOpenList &List;
    int FormatKind = -1;
    std::string FormatTypeText;
    std::string ListFolderPath;
    int SummLevel = 0;
    std::string ListFormatDirectory;              // once found
    std::map<std::string, std::string> KnownFiles;   // upper-case path -> path as found
    bool FirstFill = true;
    int SortedColumn = -1;
    std::string LastErrorText;
};

}  // namespace editors
