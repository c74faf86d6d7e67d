#pragma once
// The list information dialog: thirteen properties of the open list, read
// from its generation document, plus the record count, remark and period
// that the caller hands over before showing it.
#include "platform/XmlDocumentUnit.h"

#include <QDialog>

#include <cstdint>
#include <string>

class QFontMetrics;
class QGroupBox;
class QLabel;

namespace app {

class TShowListInfoForm : public QDialog {
    Q_OBJECT
public:
    enum TRow {
        ListTypeRow, TermOfListingRow, RemarkRow, ListDescriptionFileNameRow, ListFileRow, NumberOfItemRecordsRow,
        AuthorRow, DefinitionTimeRow, TimeOfCreationRow, SystemNameRow, SystemIDRow, HostNameRow, HDIDRow, RowCount
    };

    // A "createtime" or "dateofgeneration" not of the form YYYY-MM-DD
    // hh:mm:ss, or an "HDID" that is no integer, raises the conversion error
    // and no dialog comes to exist.
    TShowListInfoForm(const platform::TXmlDocument &generation, const std::string &listFileName,
                      QWidget *parent = nullptr);

    void SetRecordCount(std::int64_t count);
    void SetRemark(const std::string &remark);
    void SetPeriod(const std::string &period);

    QGroupBox *GroupBox1 = nullptr;      // "_PropertiesOfList"
    QLabel *Labels[RowCount] = {};
    QLabel *Values[RowCount] = {};       // fixed width: longer texts are cut
};

// The path shortened to width by putting "..." for its leading folders after
// the first one (then before the file name, then inside it), so that the
// start and the file name stay readable for as long as they fit.
QString MinimizeName(const QString &path, const QFontMetrics &metrics, int width);

}  // namespace app
