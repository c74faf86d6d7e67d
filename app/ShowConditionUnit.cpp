#include "app/ShowConditionUnit.h"

#include "dictionary/TranslateWindowUnit.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

namespace app {

TShowConditionForm::TShowConditionForm(QWidget *parent) : QDialog(parent)
{
    setObjectName("ShowConditionForm");
    setWindowTitle("_ShowConditionForm");
    resize(426, 286);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    // Long item lines scroll sideways instead of wrapping.
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(Memo1);
    dictionary::TranslateWindow(this);
    // Centred on the screen, not over the main window.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
}

void TShowConditionForm::SetConditionName(const std::string &name)
{
    Name = name;
    setWindowTitle(windowTitle() + " [" + QString::fromStdString(name) + "]");
}

}  // namespace app
