#include "app/ListCommandsUnit.h"

#include "app/DataModulesUnit.h"
#include "app/OpenListUnit.h"
#include "app/ShowConditionUnit.h"
#include "app/ShowListInfoUnit.h"
#include "dictionary/LanguageUnit.h"

#include <QMessageBox>
#include <QPlainTextEdit>

#include <exception>
#include <vector>

namespace app {

namespace {

QString Q(const std::string &text) { return QString::fromStdString(text); }

// Runs the command; its failure is reported where the user started it.
template <typename Create>
std::string RunModal(QWidget *parent, bool quietMessages, Create create)
{
    std::string error;
    try {
        create()->exec();
    } catch (const std::exception &e) {
        error = e.what();
    }
    if (!error.empty() && !quietMessages)
        QMessageBox::critical(parent, Q(dictionary::Translate("_Error")), Q(error));
    return error;
}

}  // namespace

std::unique_ptr<TShowListInfoForm> CreateListInfoForm(QWidget *parent, TDataModules &modules, const TOpenList &list)
{
    auto form = std::make_unique<TShowListInfoForm>(modules.ListGeneration.ListGeneration, list.FileName, parent);
    form->SetRecordCount(list.Header.RecordCount);
    form->SetRemark(list.Remark);
    form->SetPeriod(dictionary::FormatDate(list.Header.PeriodFirst) + " - " +
                    dictionary::FormatDate(list.Header.PeriodLast));
    return form;
}

std::unique_ptr<TShowConditionForm> CreateConditionForm(QWidget *parent, TDataModules &modules)
{
    model::SetReferenceDateOfGeneration(
        platform::AttributeText(modules.ListGeneration.ListGeneration.Root(), "dateofgeneration"));
    std::vector<std::string> lines;
    modules.ListCondition.DescribeListCondition(modules.ConditionDescription, lines);
    auto form = std::make_unique<TShowConditionForm>(parent);
    form->SetConditionName(modules.ListCondition.ListConditionName());
    QStringList text;
    for (const std::string &line : lines) text << Q(line);
    form->Memo1->setPlainText(text.join('\n'));
    return form;
}

std::string ShowListInfo(QWidget *parent, TDataModules &modules, const TOpenList &list, bool quietMessages)
{
    return RunModal(parent, quietMessages, [&] { return CreateListInfoForm(parent, modules, list); });
}

std::string ShowListingConditions(QWidget *parent, TDataModules &modules, bool quietMessages)
{
    return RunModal(parent, quietMessages, [&] { return CreateConditionForm(parent, modules); });
}

}  // namespace app
