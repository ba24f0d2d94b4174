#pragma once
// The exports of the mail-paths companion library (contract::kMailPathsLibrary), shared by the
// monitor's adapter and the stand-in library so that the two cannot disagree.
//
// Every detection function has the same shape, for example
//     BOOL WINAPI GetDesktopPath(const wchar_t* iniPath);
// It writes exactly one key (contract::kAutoPathEntries pairs keys and functions) into section
// AUTOFILEPATHS of the private-profile file iniPath with WritePrivateProfileStringW: the folder's
// full path, or "" when it found none. It returns TRUE when the key was written, FALSE when it
// could not write it (or iniPath is null or empty). The functions keep no state, so the caller may
// load and free the library around every call.
//
// The library exports the names undecorated (through its .def file), so GetProcAddress finds the
// plain names on every architecture.

#include <windows.h>

namespace ovp::win {

using MailPathFunction = BOOL(WINAPI*)(const wchar_t* iniPath);

}  // namespace ovp::win
