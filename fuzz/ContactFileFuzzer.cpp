// Reads arbitrary bytes as Kontakte.vcf; when they parse, changes, adds or deletes one contact
// through the store, then checks that the file reads back with the expected cards: the untouched
// ones byte for byte, the gaps between cards as they were, the contact with the values it was given.

#include "addressbook/AddressBookMessages.h"
#include "addressbook/ContactItem.h"
#include "addressbook/ContactStore.h"
#include "addressbook/VCard.h"
#include "addressbook/VCardFile.h"
#include "addressbook/VCardLayout.h"
#include "addressbook/VCardText.h"
#include "runtime/AsciiText.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

namespace {

enum class Operation { ChangeName, ChangeNumber, ChangeBoth, Delete, DeleteAndSaveAgain, Add };

void Require(bool holds, const char* what)
{
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// What the file must hold afterwards. A changed contact leaves the gaps and the other cards as they
// were; a deleted one leaves the file without its card's bytes; an added card goes behind the old
// bytes (and a line break when the file ended without one).
struct Expectation
{
    std::vector<VCardContact> Contacts;
    std::vector<std::string> Gaps;  // when not empty: the gaps of the file
    std::vector<std::string> Cards; // with Gaps: the cards, the changed one empty
    std::string OtherLines;         // with Gaps: the changed card's other lines
    VCardVersion Version{};         // with Gaps: the changed card's version
    std::string Start;              // otherwise: the bytes the file starts with
    bool Exact = false;             // ... and ends with
};

struct Edit
{
    Operation Kind;
    size_t Index;
    std::string FullName;
    std::string Number;
};

bool ChangesName(Operation kind)
{
    return kind == Operation::ChangeName || kind == Operation::ChangeBoth || kind == Operation::Add;
}

bool ChangesNumber(Operation kind)
{
    return kind == Operation::ChangeNumber || kind == Operation::ChangeBoth || kind == Operation::Add;
}

// The card without its FN, N and mobile TEL lines: what an edit of the name or number keeps.
std::string OtherLines(const std::string& card)
{
    VCardLayout layout = ParseVCardLayout(card);
    std::vector<const VCardProperty*> edited;
    for (const auto* property : {&layout.Fn, &layout.N, &layout.Tel})
        if (*property) edited.push_back(&**property);
    std::sort(edited.begin(), edited.end(), [](auto* a, auto* b) { return a->Begin < b->Begin; });
    std::string rest;
    size_t pos = 0;
    for (const auto* property : edited) {
        rest.append(card, pos, property->Begin - pos);
        pos = property->End;
    }
    return rest.append(card, pos);
}

std::string WithoutCard(VCardFileContent file, size_t index)
{
    RemoveCard(file, index);
    return JoinVCardFile(file);
}

// Runs the edit through the store and says what the file must hold then.
Expectation Apply(ContactStore& store, const VCardFileContent& before, const Edit& edit)
{
    Expectation expected;
    for (const auto& card : before.Cards) expected.Contacts.push_back(ReadVCard(card));
    std::shared_ptr<ContactItem> contact =
        edit.Kind == Operation::Add ? store.CreateContact() : store.At(static_cast<int>(edit.Index));
    VCardContact values =
        edit.Kind == Operation::Add ? ReadVCard(NewVCard("\n")) : expected.Contacts[edit.Index];
    if (ChangesName(edit.Kind)) {
        contact->SetFullName(edit.FullName);
        values.FullName = CleanFullName(edit.FullName);
    }
    if (ChangesNumber(edit.Kind)) {
        contact->SetMobileTelephoneNumber(edit.Number);
        values.MobileTelephoneNumber = CleanTelephoneNumber(edit.Number);
    }
    const auto index = static_cast<std::ptrdiff_t>(edit.Index);
    switch (edit.Kind) {
    case Operation::Delete:
        // The store holds the only reference to the contact while it deletes it.
        contact.reset();
        store.Delete(store.At(static_cast<int>(edit.Index)));
        expected.Contacts.erase(expected.Contacts.begin() + index);
        expected.Start = WithoutCard(before, edit.Index);
        expected.Exact = true;
        return expected;
    case Operation::DeleteAndSaveAgain:
        store.Delete(contact);
        store.Save(contact);
        expected.Contacts.erase(expected.Contacts.begin() + index);
        expected.Contacts.push_back(values);
        expected.Start = WithoutCard(before, edit.Index);
        break;
    case Operation::Add:
        store.Save(contact);
        expected.Contacts.push_back(values);
        expected.Start = JoinVCardFile(before);
        break;
    default:
        store.Save(contact);
        expected.Contacts[edit.Index] = values;
        expected.Gaps = before.Gaps;
        expected.Cards = before.Cards;
        expected.Cards[edit.Index].clear();
        expected.OtherLines = OtherLines(before.Cards[edit.Index]);
        expected.Version = ParseVCardLayout(before.Cards[edit.Index]).Version;
        break;
    }
    Require(contact->FullName() == values.FullName, "the saved contact shows its name");
    Require(contact->MobileTelephoneNumber() == values.MobileTelephoneNumber,
            "the saved contact shows its number");
    return expected;
}

void Check(const TempFolder& folder, const Expectation& expected)
{
    const std::string path = folder.File("Kontakte.vcf");
    const std::string bytes = folder.Read("Kontakte.vcf");
    VCardFileContent after;
    try {
        after = SplitVCardFile(bytes, path);
    } catch (const EContactFileError&) {
        Require(false, "the saved file reads back");
    }
    Require(after.Cards.size() == expected.Contacts.size(), "the file holds the expected cards");
    if (!expected.Gaps.empty()) {
        Require(after.Gaps == expected.Gaps, "the text between cards stays");
        for (size_t i = 0; i < after.Cards.size(); ++i)
            Require(expected.Cards[i].empty()
                        ? OtherLines(after.Cards[i]) == expected.OtherLines &&
                              ParseVCardLayout(after.Cards[i]).Version == expected.Version
                        : after.Cards[i] == expected.Cards[i],
                    "only the changed lines change");
    } else {
        Require(bytes.starts_with(expected.Start), "the old bytes stay");
        Require(!expected.Exact || bytes.size() == expected.Start.size(),
                "a deleted card leaves only its bytes");
    }
    for (size_t i = 0; i < after.Cards.size(); ++i) {
        VCardContact contact = ReadVCard(after.Cards[i]);
        Require(contact.FullName == expected.Contacts[i].FullName, "every name reads back");
        Require(contact.MobileTelephoneNumber == expected.Contacts[i].MobileTelephoneNumber,
                "every number reads back");
    }
    Require(ContactStore::Open(path)->Count() == static_cast<int>(after.Cards.size()),
            "the store reads every card");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static TempFolder folder("tp-fuzz-contacts");
    FuzzedDataProvider input(data, size);
    Edit edit{static_cast<Operation>(input.ConsumeIntegralInRange<int>(0, 5)),
              input.ConsumeIntegral<uint8_t>(), input.ConsumeRandomLengthString(120),
              input.ConsumeRandomLengthString(40)};
    // A number given as a tel: URI reads as that URI's number, not as the text typed.
    if (EqualsIgnoreCase(CleanTelephoneNumber(edit.Number).substr(0, 4), "tel:")) return 0;
    const std::string path = folder.File("Kontakte.vcf");
    folder.Write("Kontakte.vcf", input.ConsumeRemainingBytesAsString());
    std::shared_ptr<ContactStore> store;
    VCardFileContent before;
    try {
        store = ContactStore::Open(path);
        before = SplitVCardFile(folder.Read("Kontakte.vcf"), path);
    } catch (const EContactFileError&) {
        return 0; // not a vCard file: never written
    }
    if (before.Cards.empty()) edit.Kind = Operation::Add;
    if (edit.Kind != Operation::Add) edit.Index %= before.Cards.size();
    Check(folder, Apply(*store, before, edit));
    return 0;
}
