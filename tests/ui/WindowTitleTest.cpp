#include "TestProgramFolder.h"

#include "addressbook/Outlook.h"
#include "core/Settings.h"
#include "runtime/Clock.h"
#include "runtime/FileLocations.h"
#include "tests/support/TestLocale.h"
#include "ui/ContactForm.h"
#include "ui/InfoDialog.h"
#include "ui/PasswordDialog.h"
#include "ui/ProgramStart.h"
#include "ui/SetupDialog.h"
#include "ui/UTickerpost.h"

#include <QApplication>
#include <QTest>

#include <xcb/xcb.h>

#include <cstring>
#include <memory>

// The titles as the X server holds them (run under Xvfb with the xcb platform, no window manager
// needed): Qt formats the title it hands to the window system, so the widgets' own titles are not
// enough to check.
class WindowTitleTest : public QObject
{
    Q_OBJECT

private:
    static xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
    {
        const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name);
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> reply(
            xcb_intern_atom_reply(connection, cookie, nullptr), &free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    // The window's _NET_WM_NAME, the title a window manager shows.
    static QString WindowSystemTitle(QWidget& window)
    {
        window.show();
        auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11) return QStringLiteral("(not on X11)");
        xcb_connection_t* connection = x11->connection();
        const xcb_get_property_cookie_t cookie =
            xcb_get_property(connection, 0, xcb_window_t(window.winId()), Atom(connection, "_NET_WM_NAME"),
                             Atom(connection, "UTF8_STRING"), 0, 1024);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> reply(
            xcb_get_property_reply(connection, cookie, nullptr), &free);
        if (!reply) return {};
        return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                 xcb_get_property_value_length(reply.get()));
    }

private slots:
    void EveryWindowSystemTitleIsTheWindowsOwn()
    {
        TestProgramFolder folder;
        FixedClock clock;
        TFSMS window(folder.Path(), clock);
        QCOMPARE(WindowSystemTitle(window), QStringLiteral("Tickerpost"));
        TSettings settings;
        TFSetupDialog setup(settings, folder.Path() + "user.ini", &window);
        QCOMPARE(WindowSystemTitle(setup), QStringLiteral("Einstellungen"));
        TFPasswordDialog password(settings, &window);
        QCOMPARE(WindowSystemTitle(password), QStringLiteral("Kennworteingabe"));
        TFInfoDialog info(FileLocations(folder.Path()), &window);
        QCOMPARE(WindowSystemTitle(info), QStringLiteral("Info"));
        TContactFormHost host(&window);
        TOutlookApplication outlook(folder.Path() + "Kontakte.vcf", host);
        TContactItem contact(outlook);
        contact.ConnectTo(std::make_shared<ContactItem>(std::string{}));
        TFContactForm form(contact, &window);
        QCOMPARE(WindowSystemTitle(form), QStringLiteral("Kontakt"));
    }
};

int main(int argc, char** argv)
{
    UseTestLocaleAndZone();
    QApplication application(argc, argv);
    PrepareApplication(application);
    WindowTitleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WindowTitleTest.moc"
