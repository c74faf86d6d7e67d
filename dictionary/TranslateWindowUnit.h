#pragma once
// Translation of a whole window: every dictionary key shown by the window,
// its child widgets, their actions and menus is replaced by its text in the
// current language. Texts that are not keys stay as they are. A text that
// was translated before is translated again into the current language, so
// the window follows the language of each list opened.
class QWidget;
class QString;

namespace dictionary {

void TranslateWindow(QWidget *window);
// One text through the process's dictionary; a text that cannot be a word
// (not a valid element name) comes back unchanged.
QString TranslateText(const QString &text);

}  // namespace dictionary
