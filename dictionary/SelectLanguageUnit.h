#pragma once
// The language chooser: a drop-down of the languages the dictionary knows,
// Hungarian (index 0) preselected.
#include <QDialog>

class QComboBox;
class QPushButton;

namespace dictionary {

class TSelectLanguageForm : public QDialog {
    Q_OBJECT
public:
    explicit TSelectLanguageForm(QWidget *parent = nullptr);
    int LanguageIndex() const;      // read after a confirmed exec()

    QComboBox *ComboBox1 = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
};

}  // namespace dictionary
