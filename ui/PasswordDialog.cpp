#include "ui/PasswordDialog.h"

#include "ui/ErrorGuard.h"
#include "ui/QtCodePage.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

TFPasswordDialog::TFPasswordDialog(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings)
{
    setObjectName(QStringLiteral("FPasswordDialog"));
    setWindowTitle(QStringLiteral("Kennworteingabe"));
    setAttribute(Qt::WA_WindowPropagation);

    EPassword = new QLineEdit(this);
    EPassword->setObjectName(QStringLiteral("EPassword"));

    auto* LPassword = new QLabel(QStringLiteral("Kennwort:"), this);
    LPassword->setObjectName(QStringLiteral("LPassword"));
    LPassword->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LPassword->setBuddy(EPassword);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    // No default button: Enter in the password box does not confirm the prompt.
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TFPasswordDialog::Button1Click);

    // As designed, moved right where the font needs a wider label.
    const int labelWidth = std::max(48, LPassword->sizeHint().width());
    const int editLeft = std::max(72, 8 + labelWidth + 8);
    LPassword->setGeometry(8, 16, labelWidth, 21);
    EPassword->setGeometry(editLeft, 16, 121, 21);
    const int width = editLeft + 121 + 9;
    Button1->setGeometry((width - 75) / 2, 48, 75, 25);
    setFixedSize(width, 82);

    EPassword->setFocus();
}

void TFPasswordDialog::Button1Click()
{
    Guarded([this] {
        settings_.LoginPassword = ToCodePage(EPassword->text());
        accept();
    });
}
