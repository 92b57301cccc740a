#include "addressbook/ContactDisplay.h"
#include "addressbook/ContactFilter.h"
#include "addressbook/Outlook.h"
#include "tests/support/TempFolder.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>

namespace {

constexpr int Contacts = 10000;

class NoForm : public ContactDisplay
{
public:
    void ShowModal(TContactItem&) override {}
};

// Kontakte.vcf in `folder` with `Contacts` vCard 3.0 cards as a desktop address book exports them.
void WriteContactsFile(const std::string& folder)
{
    std::string content;
    for (int i = 0; i < Contacts; ++i) {
        std::string n = std::to_string(i);
        content += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Nachname " + n + ";Vorname;;;\r\nFN:Vorname Nachname " +
                   n + "\r\nORG:Firma " + n + "\r\nTEL;TYPE=WORK,VOICE:+49 221 " + n +
                   "\r\nTEL;TYPE=CELL:+49 170" + n + "\r\nEMAIL;TYPE=INTERNET:kontakt" + n +
                   "@example.org\r\nNOTE:Notiz zu Kontakt " + n + "\\, mit Komma\r\nEND:VCARD\r\n";
    }
    std::ofstream(folder + "Kontakte.vcf", std::ios::binary) << content;
}

// Bytes the heap has handed out and not taken back.
double HeapBytes()
{
    return static_cast<double>(mallinfo2().uordblks);
}

struct OpenAddressBook
{
    TempFolder temp{"tp-bench-addressbook"};
    std::string folder = temp.Path() + "/";
    NoForm form;
    TOutlookApplication outlook{ContactsFilePath(folder), form};
    TMAPIFolder contactsFolder;

    OpenAddressBook()
    {
        WriteContactsFile(folder);
        outlook.Connect();
        TNameSpace nameSpace = outlook.GetNamespace("MAPI");
        nameSpace.Logon();
        contactsFolder = nameSpace.GetDefaultFolder(olFolderContacts);
    }
};

void BM_ConnectAndReadFile(benchmark::State& state)
{
    OpenAddressBook book;
    double before = HeapBytes();
    TOutlookApplication held(ContactsFilePath(book.folder), book.form);
    held.Connect();
    state.counters["heap_kB_per_book"] = (HeapBytes() - before) / 1024;
    state.counters["file_kB"] =
        static_cast<double>(std::filesystem::file_size(book.folder + "Kontakte.vcf")) / 1024;
    for (auto _ : state) {
        TOutlookApplication outlook(ContactsFilePath(book.folder), book.form);
        outlook.Connect();
        benchmark::DoNotOptimize(outlook);
    }
}

// FillContactList: Count, then Items anew and Item(i).FullName for every contact.
void BM_FillNameList(benchmark::State& state)
{
    OpenAddressBook book;
    for (auto _ : state) {
        std::vector<std::string> names;
        int count = book.contactsFolder.Items().Count();
        for (int i = 1; i <= count; ++i) names.push_back(book.contactsFolder.Items().Item(i)->FullName());
        benchmark::DoNotOptimize(names);
    }
}

// ComboBoxReceiverAdressChange: one Find per keystroke while a name is typed; most texts match
// nobody, so each scans all contacts.
void BM_FindPerKeystroke(benchmark::State& state)
{
    OpenAddressBook book;
    const std::string typed = "Vorname Nachname 9999";
    for (auto _ : state) {
        for (size_t length = 1; length <= typed.size(); ++length) {
            ContactItemPtr found = book.contactsFolder.Items().Find(FullNameFilter(typed.substr(0, length)));
            benchmark::DoNotOptimize(found);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(typed.size()));
}

// A save from the contact form: patch one card, write the whole file atomically.
void BM_SaveOneContact(benchmark::State& state)
{
    OpenAddressBook book;
    TContactItem contact(book.outlook);
    contact.ConnectTo(book.contactsFolder.Items().Item(Contacts / 2));
    int round = 0;
    for (auto _ : state) {
        contact.SetFullName("Umbenannt " + std::to_string(++round));
        contact.Save();
    }
}

// The file changed on disk: the next Items re-reads it and keeps the unchanged contacts' objects.
void BM_ReadAgainAfterChangeOnDisk(benchmark::State& state)
{
    OpenAddressBook book;
    std::string path = ContactsFilePath(book.folder);
    std::string content;
    {
        std::ifstream in(path, std::ios::binary);
        content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            << content << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Neu " << ++round << "\r\nEND:VCARD\r\n";
        state.ResumeTiming();
        benchmark::DoNotOptimize(book.contactsFolder.Items().Count());
    }
}

} // namespace

BENCHMARK(BM_ConnectAndReadFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillNameList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindPerKeystroke)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaveOneContact)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAgainAfterChangeOnDisk)->Unit(benchmark::kMillisecond);
