#pragma once

// The X resources the program gives the toolkit itself unless "--original_motif" is on the
// command line: fonts, colours, shadows and the menu accelerators.

const int kFallbackResourceCount = 42;

// The 42 resource lines in order, ended by a null entry as the toolkit wants it.
extern const char* const kFallbackResources[kFallbackResourceCount + 1];
