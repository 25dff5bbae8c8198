#pragma once

// The C++ element: its behaviour is a piece of the user's C++ code, the body of a function that
// computes output plane 0 from input plane 0. The code is compiled into a client program that
// runs as a process of its own; each simulation step passes the input plane to it through the
// one shared memory segment of all C++ elements and takes the result back.
//
// D_CElem, the element's data object, owns the code text, the compiled executable (a temporary
// file, removed with the object) and the running client. Every live D_CElem is in one registry,
// so that all running clients can be moved to a new segment when a larger plane needs one.

#include <iosfwd>
#include <memory>
#include <string>

#include "model/data/Matrix.h"
#include "model/data/PtrArray.h"
#include "model/elements/ElementOf.h"
#include "model/elements/ElementType.h"
#include "model/simulation/ClientCompiler.h"
#include "model/simulation/ClientProcess.h"

class ACElem;
struct sm_struct;

class D_CElem : public FileArgument {
public:
    // Empty code, not compiled, no client; the executable gets its temporary name now (on
    // failure std::cerr "Error: Cannot create temporary file!" and the name stays empty). The
    // plane, from which the client takes its dimensions, is not owned.
    explicit D_CElem(Matrix* plane);
    // The same plane and code; a copy of a compiled executable under a new name, and a client of
    // its own when the other's runs.
    D_CElem(const D_CElem& other);
    D_CElem& operator=(const D_CElem&) = delete;
    // Stops the client and removes the executable.
    ~D_CElem() override;

    // Takes the other's code and compiled executable (copied onto this object's own file) and
    // starts a client when the other's runs. The plane and the executable's name stay.
    void Assign(const D_CElem& other);
    // A different text replaces the code and clears the compiled flag; the same text changes
    // nothing.
    void SetCode(const char* text);
    const char* GetCode() const { return code.c_str(); }
    int IsCompiled() const { return compiled; }
    const char* GetExecutablePath() const { return executable; }

    // Compiles the code into the executable (see CompileClient); messages stays valid until the
    // next compile. 1 compiled, 0 not.
    int Compile(const char*& messages);
    // Starts a client for the compiled code (stopping a running one) and tells it the plane's
    // size. The pid, or -1 when the code is not compiled or the start or the first exchange
    // failed.
    int CreateProcess();
    void StopProcess();
    // Every reset of the simulation starts a fresh client.
    void Restart();
    // After the element's plane size changed: binds the new plane, stops the client, grows the
    // shared segment when the plane no longer fits, and starts the client again. 1 when it runs.
    int Rebind(Matrix* newPlane);
    // Binds a replaced plane of the same size; the running client, if any, keeps running.
    void SetPlane(Matrix* newPlane) { plane = newPlane; }
    Matrix* GetPlane() const { return plane; }
    // 0 while no client runs.
    int GetPid() const { return static_cast<int>(process.GetPid()); }
    int GetSemaphoreSet() const { return process.GetSemaphoreSet(); }

    // One step: the element's input plane 0 goes to the client, its answer to output plane 0.
    // Without a running client std::cerr is told "D_CElem::Simulate: process isn't running" and a
    // start is tried; when the exchange fails the output keeps its contents.
    void Simulate(ACElem* element);

    // The LOGICAL_DATA block at the given level: "LISTING:" alone on its line, then the code
    // exactly as stored, a line end and the closing brace. 0 or the recorded code.
    int Write(std::ostream& out, int level) const;
    // Reads the block into text and changes nothing. The code is every character after the
    // "LISTING:" line up to the last line end before the first unbalanced "}". A stream that ends
    // before that brace records 8 "Unexpected EOF". 0 or the recorded code.
    static int ReadListing(std::istream& in, std::string& text);
    // Takes the text read as the code. With compile set it compiles and starts the client; code
    // that does not compile is kept, without a client, and 32 "Compiler error" is recorded with
    // the compiler's messages as the token. 0 or the recorded code.
    int TakeListing(std::istream& in, const std::string& text, int compile);
    // 1 when ReadListing would read the code back as it stands: every "}" closes an earlier "{"
    // and none stays open. Braces count wherever they are, in comments and strings too.
    static int ListingReadsBack(const char* text);
    // ReadListing and TakeListing in one.
    int Read(std::istream& in, int compile);

    // The first segment, for a 20 x 20 plane; made once, at type registration.
    static void InitSharedMemory();
    // Stops every client and removes every executable that is still there and the private
    // folder (program exit).
    static void ReleaseAll();

    static PtrArray<D_CElem> Instances; // every live D_CElem, in creation order
    static sm_struct* SharedMemory;     // the host's attachment of the current segment
    static int SharedMemoryId;          // handed to every client; -1 while there is none
    static const int kExecutablePathSize = 300;

private:
    int Transact(int breakable = 0) { return process.Transact(breakable); }
    // INIT for the plane's size, then growth of the segment when the plane does not fit.
    int SendInit();
    int SendNewShm(int id);
    // A larger segment for this object's plane; every running client is moved to it first.
    int GrowSharedMemory();
    void RemoveExecutable();

    Matrix* plane;
    std::string code;
    char executable[kExecutablePathSize];
    int compiled;
    ClientProcess process;
};

class ACElem : public ElementOf<ACElem, D_CElem> {
public:
    static constexpr ElementType kType = kCElem;

    // Clock 1; no data until CreateData.
    ACElem(Architecture* owner, int x, int y);
    // The copy gets its own executable and, when the original's client runs, its own client.
    ACElem(const ACElem& other);

    // Once at start-up: makes the shared memory segment.
    static void RegisterType();

    void Simulate() override;
    // Stops the client and starts a fresh one.
    void ResetData() override;
    // Discards an open code window and restarts the client for the new plane size.
    void DimensionChanged() override;
    // data := empty code bound to input plane 0.
    void CreateData() override;

protected:
    // Without a target the element's own data is read and its code compiled and started; a
    // target (the code window's working copy) only takes the code. A broken block, and code that
    // does not compile (32 "Compiler error"), change nothing.
    std::unique_ptr<D_CElem> NewData(const PlaneSize&, const PlaneSize&) const override {
        return std::make_unique<D_CElem>(nullptr);
    }
    int ReadData(D_CElem& into, std::istream& in, bool own) override;
    void TakeData(std::unique_ptr<D_CElem> read) override;
    // The header has replaced the planes: the data objects are bound to the new one.
    void TookHeader(D_CElem& into) override;

private:
    PlaneSize boundSize = {0, 0}; // input plane 0 before a header is applied
};
