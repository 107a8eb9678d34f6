#pragma once

#include <QString>

namespace runtime {
class ListBox;
}

// Fills the improve window's hidden keyword list from the keyword file beside the program.
namespace ModList {

// Appends the text as the last entry; a missing list is ignored.
void AddListItem(runtime::ListBox *list, const QString &text);

// Appends every line of the text file that is not empty, unchanged (a line of spaces is an
// entry), in the system's 8-bit code page. Lines may end in CR LF, LF or CR. A missing or
// unreadable file adds nothing.
void LoadListFromFile(runtime::ListBox *list, const QString &filePath);

}
