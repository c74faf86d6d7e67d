#include "dictionary/SelectLanguageUnit.h"

#include "dictionary/TranslateWindowUnit.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace dictionary {

TSelectLanguageForm::TSelectLanguageForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("_SelectLanguageForm"));
    setWindowTitle(QStringLiteral("_SelectLanguageForm"));

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    // The item order is the language index.
    ComboBox1->addItem(QStringLiteral("_Hungarian"));
    ComboBox1->addItem(QStringLiteral("_English"));
    ComboBox1->setCurrentIndex(0);

    OKButton = new QPushButton(QStringLiteral("_OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("_Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ComboBox1);
    layout->addLayout(buttons);

    TranslateWindow(this);
}

int TSelectLanguageForm::LanguageIndex() const
{
    return ComboBox1->currentIndex();
}

}  // namespace dictionary
