#pragma once
// Every key the game answers, where it answers it, in one table: the manual
// page, the README and the about pages are checked against it, so a key added
// to a scene goes into this table and from there into the three documents.

#include <span>
#include <string>

enum class KeyPlace { kBoard, kOptions, kRecords, kAbout, kQuestion, kAnywhere };

// A chord: a key pressed with Alt held.
constexpr int kKeyWithAlt = 0x10000;

struct KeyGuideEntry {
    KeyPlace place;
    int first;  // virtual-key code (or kKeyWithAlt | code)
    int last;   // the same for one key; for a range the last key of it
    bool either;  // two keys that do the same: "first or last"
    const char* what;
};

std::span<const KeyGuideEntry> KeyGuide();

// A key's name as the documents write it: "Enter", "F2", "pad ÷", "U".
std::string KeyName(int code);
// An entry's keys as the documents write them: "A to L", "Y or 1", "arrows".
std::string KeyGuideName(const KeyGuideEntry& entry);
// The heading the documents put a place's keys under: "The options page".
const char* KeyPlaceTitle(KeyPlace place);
