#pragma once

// Puts the process in the locale and the time zone every test expects, whatever the caller's are:
// a German system (code page Windows-1252, mail charset ISO-8859-1) in Central European time. Each
// test executable's main calls it first, before anything reads the locale (read once per process).
void UseTestLocaleAndZone();
