#pragma once
// The listing-conditions dialog: the description of the open list's
// condition in one read-only memo, the condition's name in the caption.
#include <QDialog>

#include <string>

class QPlainTextEdit;

namespace app {

class TShowConditionForm : public QDialog {
    Q_OBJECT
public:
    explicit TShowConditionForm(QWidget *parent = nullptr);

    // Keeps the name and appends " [" + name + "]" to the caption.
    void SetConditionName(const std::string &name);
    const std::string &ConditionName() const { return Name; }

    QPlainTextEdit *Memo1 = nullptr;

private:
    std::string Name;
};

}  // namespace app
