#pragma once

#include "addressbook/ContactDisplay.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// The contact form: shows and edits the full name and the mobile number of one contact.
// "Speichern und schließen" stores both and closes, "Löschen" removes the contact and closes,
// "Schließen" (and Esc) closes and leaves the contact as it was. A contact that cannot be saved or
// deleted is reported in the error box and the form stays open with the contact unchanged.
class TFContactForm : public QDialog
{
    Q_OBJECT

public:
    TFContactForm(TContactItem& contact, QWidget* parent = nullptr);

private slots:
    void BSaveClick();
    void BDeleteClick();

private:
    TContactItem& contact_;
    QLineEdit* EFullName = nullptr;
    QLineEdit* EMobileTelephoneNumber = nullptr;
    QPushButton* BSave = nullptr;
    QPushButton* BDelete = nullptr;
    QPushButton* BClose = nullptr;
};

// Shows the contact form modally for the address book, over `parent`.
class TContactFormHost : public ContactDisplay
{
public:
    explicit TContactFormHost(QWidget* parent) : parent_(parent) {}

    void ShowModal(TContactItem& contact) override;

private:
    QWidget* parent_;
};
