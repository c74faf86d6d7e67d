#pragma once
// The View menu's descriptions of the open list: "_ShowListInfo" and
// "_ListingConditions". The Create functions build the dialog filled but not
// shown (and raise when the list's documents are malformed); the Show
// functions run the whole command.
#include <memory>
#include <string>

class QWidget;

namespace app {

struct TDataModules;
class TOpenList;
class TShowConditionForm;
class TShowListInfoForm;

std::unique_ptr<TShowListInfoForm> CreateListInfoForm(QWidget *parent, TDataModules &modules, const TOpenList &list);
// Sets the reference date to the day of generation first; it keeps that
// value even when the description then fails.
std::unique_ptr<TShowConditionForm> CreateConditionForm(QWidget *parent, TDataModules &modules);

// Show the dialog modally and destroy it. A malformed value shows its message
// in an error box (none when quietMessages) and no dialog; the result is that
// message, "" when the dialog was shown.
std::string ShowListInfo(QWidget *parent, TDataModules &modules, const TOpenList &list, bool quietMessages = false);
std::string ShowListingConditions(QWidget *parent, TDataModules &modules, bool quietMessages = false);

}  // namespace app
