#pragma once

// The source text of the client program that runs a C++ element's code in a process of its own.
// It is a fixed prologue (the protocol's operation codes and segment header, the semaphore
// operations, a Matrix class with the host's bit layout, and the client's main loop) followed by
// the user's code as the body of the function Simulate(in, out, DIMX, DIMY).
//
// The prologue holds the segment header that the host compiles (client/SegmentHeader.h) word for
// word: both are built by the same compiler for the same machine, so they agree on its layout,
// and the client finds the plane words right after the header's last field.

#include <string>

// Everything before the user's function, ending with a line end; the segment header
// (client/SegmentHeader.h) is in it word for word.
const std::string& ClientPrologue();
// The text of client/SegmentHeader.h.
extern const char kSegmentHeaderText[];
// The line that opens the user's function: "static void Simulate(...){" and a line end.
extern const char kClientFunctionLine[];

// The lines of the prologue and the function line together: the user's first line is the line
// after them, so a compiler's line number L means line L - ClientPrologueLines() of the code.
int ClientPrologueLines();

// The whole program for the code: prologue, function line, code, line end, "}", line end.
std::string MakeClientSource(const char* code);
