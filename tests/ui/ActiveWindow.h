#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

// Shows `window` and waits until it is the active window, which takes the keys, as a user's
// window does.
inline void Activate(QWidget& window)
{
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
}
