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
    if (IsKey(action->text())) action->setText(TranslateText(action->text()));
    if (IsKey(action->iconText())) action->setIconText(TranslateText(action->iconText()));
    if (IsKey(action->toolTip())) action->setToolTip(TranslateText(action->toolTip()));
    if (IsKey(action->statusTip())) action->setStatusTip(TranslateText(action->statusTip()));
}

void TranslateWidget(QWidget *w)
{
    if (w->isWindow() && IsKey(w->windowTitle())) w->setWindowTitle(TranslateText(w->windowTitle()));
    if (IsKey(w->toolTip())) w->setToolTip(TranslateText(w->toolTip()));

    if (auto *label = qobject_cast<QLabel *>(w)) {
        if (IsKey(label->text())) label->setText(TranslateText(label->text()));
    } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
        if (IsKey(button->text())) button->setText(TranslateText(button->text()));
    } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
        if (IsKey(group->title())) group->setTitle(TranslateText(group->title()));
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
        if (IsKey(edit->text())) edit->setText(TranslateText(edit->text()));
        if (IsKey(edit->placeholderText())) edit->setPlaceholderText(TranslateText(edit->placeholderText()));
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
        if (IsKey(menu->title())) menu->setTitle(TranslateText(menu->title()));
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
    if (IsKey(window->windowTitle())) window->setWindowTitle(TranslateText(window->windowTitle()));
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
