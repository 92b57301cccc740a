#include "ui/ContactForm.h"

#include "addressbook/Outlook.h"
#include "ui/ErrorGuard.h"
#include "ui/QtCodePage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* CreateEdit(QWidget* parent, const char* name, const std::string& value)
{
    auto* edit = new QLineEdit(FromCodePage(value), parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(220);
    return edit;
}

QPushButton* CreateButton(QWidget* parent, const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

// Runs `operation` through the error guard; true when it raised nothing.
template <class F> bool Succeeded(F&& operation)
{
    bool done = false;
    Guarded([&] {
        operation();
        done = true;
    });
    return done;
}

} // namespace

TFContactForm::TFContactForm(TContactItem& contact, QWidget* parent) : QDialog(parent), contact_(contact)
{
    setObjectName(QStringLiteral("FContactForm"));
    setWindowTitle(contact.FullName().empty()
                       ? QStringLiteral("Kontakt")
                       : QStringLiteral("Kontakt - ") + FromCodePage(contact.FullName()));

    EFullName = CreateEdit(this, "EFullName", contact.FullName());
    EMobileTelephoneNumber = CreateEdit(this, "EMobileTelephoneNumber", contact.MobileTelephoneNumber());
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Name:"), EFullName);
    fields->addRow(QStringLiteral("&Handynummer:"), EMobileTelephoneNumber);

    BSave = CreateButton(this, "BSave", "&Speichern und schließen");
    BSave->setDefault(true);
    BDelete = CreateButton(this, "BDelete", "&Löschen");
    BClose = CreateButton(this, "BClose", "S&chließen");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BSave);
    buttons->addWidget(BDelete);
    buttons->addStretch();
    buttons->addWidget(BClose);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BSave, &QPushButton::clicked, this, &TFContactForm::BSaveClick);
    connect(BDelete, &QPushButton::clicked, this, &TFContactForm::BDeleteClick);
    connect(BClose, &QPushButton::clicked, this, &QDialog::reject);
    EFullName->setFocus();
}

void TFContactForm::BSaveClick()
{
    const std::string savedName = contact_.FullName();
    const std::string savedNumber = contact_.MobileTelephoneNumber();
    if (Succeeded([this] {
            contact_.SetFullName(ToCodePage(EFullName->text()));
            contact_.SetMobileTelephoneNumber(ToCodePage(EMobileTelephoneNumber->text()));
            contact_.Save();
        })) {
        accept();
        return;
    }
    // Not saved: the contact keeps the values of the file, the form keeps what the user typed.
    contact_.SetFullName(savedName);
    contact_.SetMobileTelephoneNumber(savedNumber);
}

void TFContactForm::BDeleteClick()
{
    if (Succeeded([this] { contact_.Delete(); })) accept();
}

void TContactFormHost::ShowModal(TContactItem& contact)
{
    TFContactForm form(contact, parent_);
    form.exec();
}
