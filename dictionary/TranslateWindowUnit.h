#pragma once
// Translation of a whole window: every dictionary key shown by the window,
// its child widgets, their actions and menus is replaced by its text in the
// current language. Texts that are not keys stay as they are.
class QWidget;
class QString;

namespace dictionary {

void TranslateWindow(QWidget *window);
// One text through the process's dictionary; a text that cannot be a word
// (not a valid element name) comes back unchanged.
QString TranslateText(const QString &text);

}  // namespace dictionary
