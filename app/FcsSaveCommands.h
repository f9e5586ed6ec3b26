#pragma once
// The File menu's "Save FCS" and "Save FCS as...": the active analysis
// window's file written as FCS 3.0. Neither does anything while no window
// with a loaded file is active.
namespace qv {

// Overwrites the file the data were read from, but only a file this program
// wrote; an instrument's file is protected by a message and left untouched.
void SaveFcsOverOriginal();
// Asks for a name and writes the file there.
void SaveFcsAs();

inline constexpr const char* FileProtectionTitle = "File protection";
inline constexpr const char* FileProtectionText =
    "The current FCS file has been created with some other than with Quorvane. To protect your original data, "
    "please choose 'Save FCS as...' from File menu.";

}  // namespace qv
