#include "dictionary/TranslateWindowUnit.h"

#include "dictionary/LanguageUnit.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSet>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

namespace dictionary {

namespace {

bool IsKey(const QString &text)
{
    return text.startsWith(QLatin1Char('_'));
}

// Translates one text of an object and remembers its key and translation, so
// that a later call (after the language changed) translates it again; a text
// the program has set since is left alone.
template <typename Setter>
void TranslateOwnText(QObject *owner, const char *slot, const QString &current, Setter set)
{
    const QByteArray keyName = QByteArray("dictionaryKey.") + slot;
    const QByteArray textName = QByteArray("dictionaryText.") + slot;
    QString key;
    if (IsKey(current))
        key = current;
    else if (owner->property(textName).toString() == current && !current.isEmpty())
        key = owner->property(keyName).toString();
    if (key.isEmpty()) return;
    const QString text = TranslateText(key);
    owner->setProperty(keyName, key);
    owner->setProperty(textName, text);
    set(text);
}

void TranslateTreeItem(QTreeWidgetItem *item)
{
    for (int c = 0; c < item->columnCount(); ++c)
        if (IsKey(item->text(c))) item->setText(c, TranslateText(item->text(c)));
    for (int i = 0; i < item->childCount(); ++i) TranslateTreeItem(item->child(i));
}

void TranslateTableItem(QTableWidgetItem *item)
{
    if (item && IsKey(item->text())) item->setText(TranslateText(item->text()));
}

void TranslateAction(QAction *action)
{
    TranslateOwnText(action, "text", action->text(), [&](const QString &t) { action->setText(t); });
    TranslateOwnText(action, "iconText", action->iconText(), [&](const QString &t) { action->setIconText(t); });
    TranslateOwnText(action, "toolTip", action->toolTip(), [&](const QString &t) { action->setToolTip(t); });
    TranslateOwnText(action, "statusTip", action->statusTip(), [&](const QString &t) { action->setStatusTip(t); });
}

void TranslateWidget(QWidget *w)
{
    if (w->isWindow())
        TranslateOwnText(w, "windowTitle", w->windowTitle(), [&](const QString &t) { w->setWindowTitle(t); });
    TranslateOwnText(w, "toolTip", w->toolTip(), [&](const QString &t) { w->setToolTip(t); });

    if (auto *label = qobject_cast<QLabel *>(w)) {
        TranslateOwnText(label, "text", label->text(), [&](const QString &t) { label->setText(t); });
    } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        TranslateOwnText(button, "text", button->text(), [&](const QString &t) { button->setText(t); });
    } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
        TranslateOwnText(group, "title", group->title(), [&](const QString &t) { group->setTitle(t); });
    } else if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
        for (int i = 0; i < tabs->count(); ++i) {
            if (IsKey(tabs->tabText(i))) tabs->setTabText(i, TranslateText(tabs->tabText(i)));
            if (IsKey(tabs->tabToolTip(i))) tabs->setTabToolTip(i, TranslateText(tabs->tabToolTip(i)));
        }
    } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        for (int i = 0; i < combo->count(); ++i)
            if (IsKey(combo->itemText(i))) combo->setItemText(i, TranslateText(combo->itemText(i)));
        // An editable combo's line edit is a child of its own and is walked
        // as such.
    } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        TranslateOwnText(edit, "text", edit->text(), [&](const QString &t) { edit->setText(t); });
        TranslateOwnText(edit, "placeholderText", edit->placeholderText(), [&](const QString &t) { edit->setPlaceholderText(t); });
    } else if (auto *memo = qobject_cast<QPlainTextEdit *>(w)) {
        QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
        bool changed = false;
        for (QString &line : lines)
            if (IsKey(line)) {
                line = TranslateText(line);
                changed = true;
            }
        if (changed) memo->setPlainText(lines.join(QLatin1Char('\n')));
    } else if (auto *tree = qobject_cast<QTreeWidget *>(w)) {
        if (QTreeWidgetItem *header = tree->headerItem()) TranslateTreeItem(header);
        for (int i = 0; i < tree->topLevelItemCount(); ++i) TranslateTreeItem(tree->topLevelItem(i));
    } else if (auto *table = qobject_cast<QTableWidget *>(w)) {
        for (int c = 0; c < table->columnCount(); ++c) TranslateTableItem(table->horizontalHeaderItem(c));
        for (int r = 0; r < table->rowCount(); ++r) {
            TranslateTableItem(table->verticalHeaderItem(r));
            for (int c = 0; c < table->columnCount(); ++c) TranslateTableItem(table->item(r, c));
        }
    } else if (auto *list = qobject_cast<QListWidget *>(w)) {
        for (int i = 0; i < list->count(); ++i)
            if (IsKey(list->item(i)->text())) list->item(i)->setText(TranslateText(list->item(i)->text()));
    } else if (auto *menu = qobject_cast<QMenu *>(w)) {
        TranslateOwnText(menu, "title", menu->title(), [&](const QString &t) { menu->setTitle(t); });
    }
}

}  // namespace

QString TranslateText(const QString &text)
{
    if (!IsKey(text)) return text;
    try {
        return QString::fromStdString(Translate(text.toStdString()));
    } catch (const platform::TXmlError &) {
        // A text that only looks like a key (a blank inside, say) cannot
        // become a word; a window shows it as it stands.
        return text;
    }
}

void TranslateWindow(QWidget *window)
{
    if (!window) return;
    TranslateOwnText(window, "windowTitle", window->windowTitle(), [&](const QString &t) { window->setWindowTitle(t); });
    QList<QWidget *> widgets{window};
    widgets += window->findChildren<QWidget *>();
    // Actions may be shared by a menu and a tool bar; each is done once.
    QSet<QAction *> actions;
    auto translateOnce = [&actions](QAction *action) {
        if (!actions.contains(action)) {
            actions.insert(action);
            TranslateAction(action);
        }
    };
    for (QWidget *w : widgets) {
        TranslateWidget(w);
        for (QAction *action : w->actions()) translateOnce(action);
    }
    for (QAction *action : window->findChildren<QAction *>()) translateOnce(action);
}

}  // namespace dictionary
