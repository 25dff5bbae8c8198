#pragma once

// The architecture body: REMARKS, OPTIONS with GRID, (in architecture files) the main window's
// GLOBAL_ARCHITECTURE_DATA, and ARCHITECTURE_ELEMENTS with every element's block, number, links
// and position. It is the whole of a library file, a macro's LOGICAL_DATA and, with the global
// data, the whole of an architecture file. Also the element factory the body reader and the
// palettes use.

#include <iosfwd>

class AElement;
class ArchitectureWindow;

// The element whose TYPE: value begins with one of the type names, longer names tried first
// where one name begins with another; null for none (and for HELP_ELEMENT). See MakeElement.
AElement* CreateElement(const char* typeText, ArchitectureWindow* owner);
// The comment lines and the empty line that open an architecture or library file.
void WriteFileHeader(std::ostream& out, const char* fileKind);

// The window's body at indentation 2 * level; its GLOBAL_ARCHITECTURE_DATA (WriteGlobalData)
// after the options when withGlobalData. 0 or the recorded code. The modified flag is left
// alone: the save flow clears it once the file is safely on disk.
int WriteArchitectureBody(ArchitectureWindow& window, std::ostream& out, int level,
                          int withGlobalData);
// Reads a body into the (normally empty) window; isMain only when the main window reads an
// architecture file (the grid is redrawn, the global data read, the elements owned and drawn).
// 0 or the first error; the elements read before an error stay, and no link is made then.
int ReadArchitectureBody(ArchitectureWindow& window, std::istream& in, int isMain);
